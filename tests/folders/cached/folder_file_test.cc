// The item-file engine on its own: file text, the matching rule, the edge cases of each list
// operation, and the index a cache bracket keeps.
#include <string>
#include <vector>

#include "cached_folder_fixture.h"
#include "engine/item_codec.h"
#include "engine/item_file.h"
#include "folders/cached/voice_schema.h"

namespace Foldwise {
namespace {

using PlainCursor = TypedCursor<VOICE_ITEM_XML_DATA, ResolverPaths>;
using ListCursor = TypedCursor<VOICE_ITEMLIST_XML_DATA, ResolverPaths>;

class FolderFileTest : public CachedFolderFixture {
 protected:
  void SetUp() override {
    CachedFolderFixture::SetUp();
    file.SetXmlFalePath(dir.path());
  }

  int Append(VOICE_ITEM_XML_DATA record) {
    PlainCursor cursor(&record, 1);
    return file.AppendItem(cursor);
  }
  static KeyMatch Key(VOICE_ITEM_XML_DATA key) {
    PlainCursor cursor(&key, 1);
    return KeyMatch(cursor);
  }
  int Count(VOICE_ITEM_XML_DATA key) {
    const KeyMatch match = Key(key);
    return file.CountItems(&match);
  }
  int Delete(VOICE_ITEM_XML_DATA key) { return file.DeleteItems(Key(key)); }
  int Change(VOICE_ITEM_XML_DATA key, VOICE_ITEM_XML_DATA values) {
    PlainCursor changes(&values, 1);
    return file.ChangeItems(Key(key), changes);
  }
  static VOICE_ITEM_XML_DATA Entry(const std::string& guid, const std::string& status = "new") {
    VOICE_ITEM_XML_DATA record;
    record.guid = guid;
    record.dictation_file_name = guid + ".wav";
    record.status = status;
    return record;
  }

  FolderFile file{CachedFolderSchema<VoiceFolderRecords>::kPlainFile};
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

TEST_F(FolderFileTest, KeyMatchesEveryNonEmptyFieldExactly) {
  ASSERT_EQ(1, Append(Entry("a", "new")));
  ASSERT_EQ(1, Append(Entry("b", "new")));
  ASSERT_EQ(1, Append(Entry("c", "done")));
  VOICE_ITEM_XML_DATA key;
  EXPECT_EQ(3, Count(key));  // an empty key selects every item
  key.status = "new";
  EXPECT_EQ(2, Count(key));
  key.guid = "b";
  EXPECT_EQ(1, Count(key));
  key.guid = "B";  // case counts
  EXPECT_EQ(0, Count(key));
  key = VOICE_ITEM_XML_DATA();
  key.dictation_file_path = "/elsewhere";  // not stored per item, so not compared
  EXPECT_EQ(3, Count(key));
}

TEST_F(FolderFileTest, ChangeReachesEveryMatchAndDeleteWithoutMatchSavesNothing) {
  for (const char* guid : {"a", "b", "c"}) ASSERT_EQ(1, Append(Entry(guid)));
  VOICE_ITEM_XML_DATA values;
  values.archive = "yes";  // a field none of them had
  ASSERT_EQ(1, Change(VOICE_ITEM_XML_DATA(), values));
  values = VOICE_ITEM_XML_DATA();
  values.archive = "yes";
  EXPECT_EQ(3, Count(values));

  const int writes = env.files_written;
  EXPECT_EQ(1, Delete(Entry("zz", "")));
  EXPECT_EQ(1, Change(Entry("zz", ""), Entry("q")));
  EXPECT_EQ(writes, env.files_written);
}

TEST_F(FolderFileTest, ReadAllStopsAtFirstSurplusItem) {
  for (const char* guid : {"a", "b", "c", "d"}) ASSERT_EQ(1, Append(Entry(guid)));
  std::vector<VOICE_ITEM_XML_DATA> records(3);
  PlainCursor cursor(records.data(), 3);
  EXPECT_EQ(0, file.ReadAll(cursor));
  EXPECT_EQ("a", records[0].guid);
  EXPECT_EQ("c", records[2].guid);
  EXPECT_EQ(dir.path(), records[2].dictation_file_path);
}

TEST_F(FolderFileTest, FileLivesOnlyWhileItHoldsItems) {
  EXPECT_EQ(0, file.CountItems(nullptr));
  EXPECT_EQ(1, Delete(VOICE_ITEM_XML_DATA()));
  EXPECT_FALSE(Has("VoiceFolder.xml"));  // opening a missing file writes nothing

  ASSERT_EQ(1, Append(Entry("a")));
  ASSERT_EQ(1, Append(Entry("b")));
  EXPECT_EQ(1, Delete(VOICE_ITEM_XML_DATA()));  // all of them
  EXPECT_FALSE(Has("VoiceFolder.xml"));

  ASSERT_EQ(1, Append(Entry("a")));
  PlainCursor none(nullptr, 0);
  EXPECT_EQ(1, file.WriteAll(none));
  EXPECT_FALSE(Has("VoiceFolder.xml"));
}

TEST_F(FolderFileTest, UnparsableFileFailsEverythingButWriteAll) {
  testing::WriteText(dir.File("VoiceFolder.xml"), "<root><item_list>");
  EXPECT_EQ(0, file.CountItems(nullptr));
  EXPECT_EQ(0, Append(Entry("a")));
  EXPECT_EQ(0, Delete(VOICE_ITEM_XML_DATA()));
  EXPECT_EQ("<root><item_list>", Text("VoiceFolder.xml"));

  VOICE_ITEM_XML_DATA record = Entry("a");
  PlainCursor cursor(&record, 1);
  EXPECT_EQ(1, file.WriteAll(cursor));
  EXPECT_EQ(1, file.CountItems(nullptr));
}

TEST_F(FolderFileTest, ExhaustedCursorFails) {
  ASSERT_EQ(1, Append(Entry("a")));
  VOICE_ITEM_XML_DATA record = Entry("b");
  PlainCursor cursor(&record, 1);
  cursor.Advance();
  EXPECT_EQ(1, cursor.IsExhausted());
  EXPECT_EQ(0, file.AppendItem(cursor));
  EXPECT_EQ(1, file.CountItems(nullptr));
}

TEST_F(FolderFileTest, KeyComparesNestedDeliveryFields) {
  VOICE_ITEMLIST_XML_DATA stored[2];
  for (int i = 0; i < 2; ++i) {
    stored[i].item = Entry("G");
    stored[i].delivery_kind = kDeliveryMail;
    stored[i].smtp.from = i == 0 ? "F" : "other";
  }
  ListCursor writer(stored, 2);
  ASSERT_EQ(1, file.WriteAll(writer));

  VOICE_ITEMLIST_XML_DATA key;
  key.item.guid = "G";
  key.delivery_kind = kDeliveryMail;
  key.smtp.from = "F";
  const auto count = [&] {
    ListCursor query(&key, 1);
    const KeyMatch match(query);
    return file.CountItems(&match);
  };
  EXPECT_EQ(1, count());
  key.smtp.from = "nobody";
  EXPECT_EQ(0, count());
  key.smtp.from.clear();  // the protocol alone matches both
  EXPECT_EQ(2, count());
}

// Inside a cache bracket keyed lookups go through an index of the document by guid, kept
// current by the bracket's own adds, changes and deletes: the same script of operations gives
// the same answers and the same entries inside a bracket as outside one.
TEST_F(FolderFileTest, BracketAnswersAsOperationsOutsideIt) {
  const auto guid = [](const std::string& g) {
    VOICE_ITEM_XML_DATA key;
    key.guid = g;
    return key;
  };
  const auto run = [&](const std::string& where, bool bracket) {
    FolderFile first{CachedFolderSchema<VoiceFolderRecords>::kPlainFile};
    FolderFile second{CachedFolderSchema<VoiceFolderRecords>::kPlainFile};
    first.SetXmlFalePath(where);
    second.SetXmlFalePath(where);  // another object on the same file shares the cached document
    const auto count = [&](FolderFile& f, VOICE_ITEM_XML_DATA key) {
      const KeyMatch match = Key(key);
      return f.CountItems(&match);
    };
    const auto change = [&](FolderFile& f, VOICE_ITEM_XML_DATA key, VOICE_ITEM_XML_DATA values) {
      PlainCursor changes(&values, 1);
      return f.ChangeItems(Key(key), changes);
    };
    const auto remove = [&](FolderFile& f, VOICE_ITEM_XML_DATA key) {
      return f.DeleteItems(Key(key));
    };
    const auto append = [&](FolderFile& f, VOICE_ITEM_XML_DATA record) {
      PlainCursor cursor(&record, 1);
      return f.AppendItem(cursor);
    };
    const auto status = [&](FolderFile& f, const std::string& g) {
      VOICE_ITEM_XML_DATA out;
      PlainCursor output(&out, 1);
      return f.ReadFirstMatch(Key(guid(g)), output) ? out.status : "none";
    };
    VOICE_ITEM_XML_DATA toA = VOICE_ITEM_XML_DATA();
    toA.guid = "a";
    VOICE_ITEM_XML_DATA toE = VOICE_ITEM_XML_DATA();
    toE.guid = "e";
    VOICE_ITEM_XML_DATA typed = VOICE_ITEM_XML_DATA();
    typed.status = "typed";
    VOICE_ITEM_XML_DATA wrongStatus = guid("b");
    wrongStatus.status = "new";
    if (bracket) CXmlDocument::ActiveCacheDOMDocument();
    std::vector<std::string> answers;
    const auto note = [&](auto value) { answers.push_back(std::to_string(value)); };
    // Step 1: a guid two items share, then a guid the index learns by an add.
    for (const char* g : {"a", "b", "c", "a"}) note(append(first, Entry(g)));
    note(count(second, guid("a")));
    note(count(second, guid("b")));
    note(append(second, Entry("d")));
    note(count(first, guid("d")));
    // Step 2: a change that keeps the guid, then changes that give items new guids.
    note(change(first, guid("b"), typed));
    answers.push_back(status(second, "b"));
    note(count(first, wrongStatus));
    note(change(second, guid("c"), toA));
    note(count(first, guid("a")));
    note(count(first, guid("c")));
    note(change(first, guid("d"), toE));
    note(count(second, guid("d")));
    answers.push_back(status(second, "e"));
    // Step 3: deletes of a shared and of a unique guid, and a guid added again after its delete.
    note(remove(first, guid("a")));
    note(count(second, guid("a")));
    note(remove(second, guid("b")));
    note(count(first, guid("b")));
    answers.push_back(status(first, "b"));
    note(append(first, Entry("b", "again")));
    answers.push_back(status(second, "b"));
    note(count(second, VOICE_ITEM_XML_DATA()));
    if (bracket) CXmlDocument::DeactiveCacheDOMDocument(0);
    std::vector<VOICE_ITEM_XML_DATA> records(3);
    PlainCursor all(records.data(), 3);
    note(first.ReadAll(all));
    for (const VOICE_ITEM_XML_DATA& r : records) answers.push_back(r.guid + "/" + r.status);
    return answers;
  };
  testing::TempDir other;
  const std::vector<std::string> outside = run(other.path(), false);
  EXPECT_EQ(outside, run(dir.path(), true));
  EXPECT_EQ((std::vector<std::string>{"2", "1", "e/new", "b/again", "/"}),
            std::vector<std::string>(outside.end() - 5, outside.end()));
}

}  // namespace
}  // namespace Foldwise
