// The cached folders (voice, sent items, typist inbox): one set of operations for the three,
// each run on the folder's main file. Keys name entries late in the file, so a lookup searches
// most of it.
#include <cstring>

#include "bench_support.h"
#include "foldwise/cached_folders.h"
#include "foldwise/env.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace bench {
namespace {

// Fills the fields every cached record shares; the rest stay empty.
template <typename Item>
void Fill(Item& item, const std::string& index) {
  item.guid = SampleGuid(index);
  item.dictation_file_name = "dictation" + index + ".dss";
  item.dictation_file_path = "/home/author/dictations";
  item.status = "recorded";
  item.document_file_name = "letter" + index + ".doc";
  item.document_file_path = "/home/author/documents/letters";
  item.protocol = "mail";
}

template <typename ItemList>
ItemList Entry(const std::string& index) {
  ItemList entry;
  Fill(entry.item, index);
  entry.delivery_kind = kDeliveryMail;
  entry.smtp.subject = "Letter " + index;
  entry.smtp.body = "Please type.";
  return entry;
}

template <typename FolderXml>
FolderXml& Open(const Folder& folder) {
  static FolderXml xml;
  xml.SetXmlFalePath(folder.dir().c_str());
  return xml;
}

template <typename FolderXml>
void Register(const std::string& family, const std::string& fileName) {
  using Item = typename FolderXml::Item;
  using ItemList = typename FolderXml::ItemList;
  AddFamily(family, fileName, [](const std::string& dir) {
    FolderXml xml;
    xml.SetXmlFalePath(dir.c_str());
    ItemList entry = Entry<ItemList>(kIndexMark);
    if (xml.SetItemListXML(1, &entry) != 1) Fail("sample entry");
  });
  auto op = [&family](const std::string& name, const std::string& baseline, bool restores,
                      std::function<void(Folder&)> run) {
    AddOperation({family, name, baseline, restores, std::move(run)});
  };
  op("count", "parse", false, [](Folder& folder) {
    if (Open<FolderXml>(folder).GetItemCountXML(nullptr) != folder.size()) Fail("count");
  });
  op("list", "extract", false, [](Folder& folder) {
    long count = 0;
    ItemList* list = nullptr;
    if (Open<FolderXml>(folder).GetItemListXML(&count, &list) != 1 || count != folder.size()) {
      Fail("list");
    }
    FolderXml::ReleaseItemList(list);
  });
  op("list_plain", "extract", false, [](Folder& folder) {
    long count = 0;
    Item* list = nullptr;
    if (Open<FolderXml>(folder).GetItemListXML(&count, &list) != 1 || count != folder.size()) {
      Fail("plain list");
    }
    FolderXml::ReleaseItemList(list);
  });
  op("get", "parse", false, [](Folder& folder) {
    Item key;
    key.guid = Guid(folder.size() - 1);
    Item out;
    if (Open<FolderXml>(folder).GetItemXML(key, &out) != 1 || out.guid != key.guid) Fail("get");
  });
  op("add", "save", true, [](Folder& folder) {
    ItemList entry = Entry<ItemList>(std::to_string(folder.size()));
    if (Open<FolderXml>(folder).AddItemXML(entry, 0) != 1) Fail("add");
  });
  op("change", "save", false, [](Folder& folder) {
    Item key;
    key.guid = Guid(folder.size() / 2);
    Item values;
    values.status = folder.Flip() ? "typed000" : "recorded";  // same size either way
    if (Open<FolderXml>(folder).ChangeItemXML(key, values, 0) != 1) Fail("change");
  });
  op("delete", "save", true, [](Folder& folder) {
    Item key;
    key.guid = Guid(folder.size() / 2);
    if (Open<FolderXml>(folder).DelItemXML(key) != 1) Fail("delete");
  });
  // A host's bracket of 100 changes to different entries: one load and one save are the floor.
  op("bracket100", "save_scan100", false, [](Folder& folder) {
    FolderXml& xml = Open<FolderXml>(folder);
    const int step = folder.size() >= 100 ? folder.size() / 100 : 1;
    const char* status = folder.Flip() ? "typed000" : "recorded";
    CXmlDocument::ActiveCacheDOMDocument();
    for (int k = 0; k < 100; ++k) {
      Item key;
      key.guid = Guid((k * step) % folder.size());
      Item values;
      values.status = status;
      if (xml.ChangeItemXML(key, values, 0) != 1) Fail("bracket change");
    }
    CXmlDocument::DeactiveCacheDOMDocument(0);
  });
}

// A voice file without the folder-level path, which every item otherwise shares: a listing
// must still cost one walk of the items, not one search of the whole list per item.
void RegisterWithoutFolderPath() {
  AddFamily("voice_no_folder_path", "VoiceFolder.xml", [](const std::string& dir) {
    CVoiceFolderXML xml;
    xml.SetXmlFalePath(dir.c_str());
    CVoiceFolderXML::ItemList entry = Entry<CVoiceFolderXML::ItemList>(kIndexMark);
    if (xml.SetItemListXML(1, &entry) != 1) Fail("sample entry");
    const std::string path = dir + "/VoiceFolder.xml";
    std::string text;
    if (Env::Current()->ReadFile(path, &text, kNoLock) != 0) Fail("read " + path);
    const std::size_t begin = text.find("<dictation_file_path>");
    const std::size_t end = text.find("</dictation_file_path>", begin);
    if (begin == std::string::npos || end == std::string::npos) Fail("no folder-level path");
    text.erase(begin, end + std::strlen("</dictation_file_path>") - begin);
    if (WriteFileAtomically(Env::Current(), path, text) != 0) Fail("write " + path);
  });
  AddOperation({"voice_no_folder_path", "list", "extract", false, [](Folder& folder) {
                  long count = 0;
                  CVoiceFolderXML::ItemList* list = nullptr;
                  CVoiceFolderXML& xml = Open<CVoiceFolderXML>(folder);
                  if (xml.GetItemListXML(&count, &list) != 1 || count != folder.size()) {
                    Fail("list");
                  }
                  CVoiceFolderXML::ReleaseItemList(list);
                }});
}

const bool registered = [] {
  Register<CVoiceFolderXML>("voice", "VoiceFolder.xml");
  RegisterWithoutFolderPath();
  Register<CSentItemsFolderXML>("sent_items", "SentItemsFolder.xml");
  Register<CInBoxTypistFolderXML>("inbox", "InBoxTypistFolder.xml");
  return true;
}();

}  // namespace
}  // namespace bench
}  // namespace Foldwise
