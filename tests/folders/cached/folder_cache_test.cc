// The folders inside cache brackets: the voice folder's list-form listing brackets itself, and
// so ends a host's; the other listings share the host's bracket and its unsaved changes.
#include <string>

#include "cached_folder_fixture.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace {

class FolderCacheTest : public CachedFolderFixture {
 protected:
  void AddVoice(const std::string& guid, const std::string& name) {
    VOICE_ITEM_XML_DATA item;
    item.guid = guid;
    item.dictation_file_name = name;
    ASSERT_EQ(1, voice.AddItemXML(item, 0));
  }
};

TEST_F(FolderCacheTest, VoiceListFormListingEndsHostBracketAndDropsItsChanges) {
  AddVoice("saved", "a.wav");
  CXmlDocument::ActiveCacheDOMDocument();
  AddVoice("unsaved", "b.wav");
  long count = 0;
  VOICE_ITEMLIST_XML_DATA* list = nullptr;
  ASSERT_EQ(1, voice.GetItemListXML(&count, &list));
  EXPECT_EQ(2, count);  // it saw the cached document...
  CVoiceFolderXML::ReleaseItemList(list);
  EXPECT_FALSE(CXmlDocument::IsCacheActive());  // ...and ended the host's caching with it
  EXPECT_EQ(0u, CXmlDocument::CachedDocumentCount());
  EXPECT_EQ(std::string::npos, Text("VoiceFolder.xml").find("unsaved"));
  CXmlDocument::DeactiveCacheDOMDocument(0);  // the host's own end of its bracket
  EXPECT_EQ(1, voice.GetItemCountXML(nullptr));
}

TEST_F(FolderCacheTest, SentItemsListingSeesUnsavedChangesAndKeepsBracketOpen) {
  CXmlDocument::ActiveCacheDOMDocument();
  SENTITEMS_ITEMLIST_XML_DATA item;
  item.item.guid = "pending";
  item.delivery_kind = kDeliveryFtp;
  item.ftp.server = "srv";
  ASSERT_EQ(1, sent.AddItemXML(item, 0));
  // Nothing written yet: at most the empty file that the bracket keeps locked till its flush.
  EXPECT_EQ("", Text("SentItemsFolder.xml"));

  long count = 0;
  SENTITEMS_ITEMLIST_XML_DATA* list = nullptr;
  ASSERT_EQ(1, sent.GetItemListXML(&count, &list));
  ASSERT_EQ(1, count);
  EXPECT_EQ("srv", list[0].ftp.server);
  CSentItemsFolderXML::ReleaseItemList(list);
  EXPECT_TRUE(CXmlDocument::IsCacheActive());

  CXmlDocument::DeactiveCacheDOMDocument(0);
  EXPECT_EQ(1, sent.GetItemCountXML(nullptr));
}

}  // namespace
}  // namespace Foldwise
