// The voice folder's file as text, and what the folder-level path and missed keys leave in it.
#include <string>

#include "cached_folder_fixture.h"

namespace Foldwise {
namespace {

class FolderFileTest : public CachedFolderFixture {
 protected:
  int Append(VOICE_ITEM_XML_DATA record) { return voice.AddItemXML(record, 0); }
  int Change(VOICE_ITEM_XML_DATA key, VOICE_ITEM_XML_DATA values) {
    return voice.ChangeItemXML(key, values, 0);
  }
  static VOICE_ITEM_XML_DATA Entry(const std::string& guid, const std::string& status = "new") {
    VOICE_ITEM_XML_DATA record;
    record.guid = guid;
    record.dictation_file_name = guid + ".wav";
    record.status = status;
    return record;
  }
};

TEST_F(FolderFileTest, FirstAppendAndFieldAddingChangeWriteExactText) {
  // Step 1: the first item creates the file from the template, indented as it goes in.
  ASSERT_EQ(1, Append(Entry("G")));
  const std::string head = "<?xml version=\"1.0\"?>\r\n<!--Quillnote VoiceFolderXML-->\r\n<root>";
  const std::string path = "<dictation_file_path>" + dir.path() + "</dictation_file_path>";
  EXPECT_EQ(head + "\r\n\t<item_list>\r\n\t\t" + path +
                "\r\n\t\t<item>\r\n\t\t\t<guid>G</guid>\r\n\t\t\t<dictation_file_name>G.wav"
                "</dictation_file_name>\r\n\t\t\t<status>new</status>\r\n\t\t</item>"
                "\r\n\t</item_list>\r\n</root>\r\n",
            Text("VoiceFolder.xml"));

  // Step 2: loading drops the indentation; only the added field brings its own.
  VOICE_ITEM_XML_DATA values;
  values.status = "typed";
  values.document_file_name = "G.doc";
  ASSERT_EQ(1, Change(Entry("G", ""), values));
  EXPECT_EQ(head + "<item_list>" + path +
                "<item><guid>G</guid><dictation_file_name>G.wav</dictation_file_name>"
                "<status>typed</status>\r\n\t\t\t<document_file_name>G.doc"
                "</document_file_name>\r\n\t\t</item></item_list></root>\r\n",
            Text("VoiceFolder.xml"));
}

// The rule itself is tested against a reference in tests/engine/key_match_test.cc; here, what
// the voice file adds to it and that a key that selects nothing saves nothing.
TEST_F(FolderFileTest, FolderLevelPathIsNoKeyAndMissesSaveNothing) {
  for (const char* guid : {"a", "b", "c"}) ASSERT_EQ(1, Append(Entry(guid)));
  VOICE_ITEM_XML_DATA key;
  key.dictation_file_path = "/elsewhere";  // not stored per item, so not compared
  EXPECT_EQ(3, voice.GetItemCountXML(&key));

  const int writes = env.files_written;
  VOICE_ITEM_XML_DATA miss = Entry("zz", "");
  EXPECT_EQ(1, voice.DelItemXML(miss));
  EXPECT_EQ(1, Change(Entry("zz", ""), Entry("q")));
  EXPECT_EQ(writes, env.files_written);
}

}  // namespace
}  // namespace Foldwise
