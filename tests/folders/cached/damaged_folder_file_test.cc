// A folder file that does not parse is never destroyed: SetItemListXML sets it aside before it
// writes the new list, and a list of none leaves the damaged bytes under their new name too.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cached_folder_fixture.h"
#include "storage/damaged_file.h"

namespace Foldwise {
namespace {

class DamagedFolderFileTest : public CachedFolderFixture {
 protected:
  void Damage() const { testing::WriteText(dir.File(kFile), kDamaged); }
  std::vector<std::string> SetAside() const {
    return testing::TakeSetAsideContents(dir.path(), kFile);
  }

  static constexpr const char* kFile = "VoiceFolder.xml";
  static constexpr const char* kDamaged = "<?xml version='1.0'?>\r\n<root><item_list><item><gu";
};

TEST_F(DamagedFolderFileTest, ANewListSetsTheDamagedFileAside) {
  VOICE_ITEM_XML_DATA item;
  item.guid = "g1";
  item.dictation_file_name = "a.dss";
  // Step 1: every other operation finds nothing and leaves the file alone.
  Damage();
  long count = 0;
  VOICE_ITEM_XML_DATA* list = nullptr;
  voice.GetItemListXML(&count, &list);
  EXPECT_EQ(0, count);
  CVoiceFolderXML::ReleaseItemList(list);
  EXPECT_EQ(0, voice.AddItemXML(item, 0));
  EXPECT_EQ(0, voice.DelItemXML(item));
  EXPECT_EQ(kDamaged, Text(kFile));
  EXPECT_TRUE(SetAside().empty());
  // Step 2: a new list is written, the old bytes kept under the damaged name.
  ASSERT_EQ(1, voice.SetItemListXML(1, &item));
  EXPECT_EQ(std::vector<std::string>{kDamaged}, SetAside());
  VOICE_ITEM_XML_DATA out;
  ASSERT_EQ(1, voice.GetItemXML(item, &out));
  EXPECT_EQ("a.dss", out.dictation_file_name);
  // Step 3: an empty list deletes the file, but a damaged one only after setting it aside.
  Damage();
  ASSERT_EQ(1, voice.SetItemListXML(0, &item));
  EXPECT_FALSE(Has(kFile));
  EXPECT_EQ(std::vector<std::string>{kDamaged}, SetAside());
}

TEST_F(DamagedFolderFileTest, AFileThatCannotBeSetAsideIsNotReplaced) {
  VOICE_ITEM_XML_DATA item;
  item.guid = "g1";
  Damage();
  env.fail_rename = true;
  EXPECT_EQ(0, voice.SetItemListXML(1, &item));
  EXPECT_EQ(0, voice.SetItemListXML(0, &item));
  EXPECT_EQ(kDamaged, Text(kFile));
  env.fail_rename = false;
  env.fail_read = true;
  EXPECT_EQ(0, voice.SetItemListXML(0, &item));
  EXPECT_EQ(kDamaged, Text(kFile));
  EXPECT_TRUE(SetAside().empty());
}

TEST(DamagedFileNameTest, NamesTheFileWithTheUtcTime) {
  EXPECT_EQ("/d/VoiceFolder.xml.damaged-20251206-054640",
            DamagedFileName("/d/VoiceFolder.xml", 1765000000));
}

}  // namespace
}  // namespace Foldwise
