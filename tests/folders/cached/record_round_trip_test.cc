// What each record becomes in its file and how it reads back: every field of every record type
// in both forms, delivery details and their tie to `protocol`, path forms and value macros.
#include <string>

#include "base/path_text.h"
#include "cached_folder_fixture.h"
#include "folder_kit.h"

namespace Foldwise {
namespace {

using testing::Show;

class RecordRoundTripTest : public CachedFolderFixture {
 protected:
  // The entry of |folder| with |guid|, in the form |Out|.
  template <typename Out, typename Folder>
  static Out Read(Folder& folder, const std::string& guid) {
    typename Folder::Item key;
    key.guid = guid;
    Out out;
    EXPECT_EQ(1, folder.GetItemXML(key, &out)) << guid;
    return out;
  }
  // Positions of |parts| in |text| rise strictly: they stand in this order.
  static bool InOrder(const std::string& text, std::initializer_list<std::string> parts) {
    std::string::size_type at = 0;
    for (const std::string& part : parts) {
      at = text.find(part, at);
      if (at == std::string::npos) return false;
    }
    return true;
  }
};

TEST_F(RecordRoundTripTest, PlainRecordsKeepEveryField) {
  VOICE_ITEM_XML_DATA v{"g1", "a.wav", "/ignored", "st", "a.doc", "/docs/", "ar", "se", "pr"};
  ASSERT_EQ(1, voice.AddItemXML(v, 0));
  v.dictation_file_path = dir.path();  // the file's folder-level path, never the record's
  v.document_file_path = "/docs";
  EXPECT_EQ(Show(v), Show(Read<VOICE_ITEM_XML_DATA>(voice, "g1")));

  SENTITEMS_ITEM_XML_DATA s{"g2", "st", "b.wav", "/dict/", "b.doc", "/docs", "pr", "d", "t"};
  ASSERT_EQ(1, sent.AddItemXML(s, 0));
  s.dictation_file_path = "/dict";  // stored per item, in directory form
  EXPECT_EQ(Show(s), Show(Read<SENTITEMS_ITEM_XML_DATA>(sent, "g2")));
  // No folder-level path in a sent-items file: item_list holds items only.
  EXPECT_NE(std::string::npos, Text("SentItemsFolder.xml").find("<item_list>\r\n\t\t<item>"));
  EXPECT_TRUE(
      InOrder(Text("SentItemsFolder.xml"),
              {"<item>", "<guid>", "<dictation_file_name>", "<dictation_file_path>", "<status>",
               "<document_file_name>", "<document_file_path>", "<date>", "<time>", "<protocol>"}));

  INBOX_TYPIST_ITEM_XML_DATA i{"g3", "c.wav", "/ignored", "st", "pr", "d", "t", "c.doc", "/x"};
  ASSERT_EQ(1, inbox.AddItemXML(i, 0));
  i.dictation_file_path = dir.path();
  EXPECT_EQ(Show(i), Show(Read<INBOX_TYPIST_ITEM_XML_DATA>(inbox, "g3")));
}

TEST_F(RecordRoundTripTest, DeliveryDetailsSetProtocol) {
  // Voice, mail: the host's protocol gives way to "mail".
  VOICE_ITEMLIST_XML_DATA v;
  v.item = {"g1", "a.wav", "", "S", "", "", "", "", "ftp"};
  v.delivery_kind = kDeliveryMail;
  v.smtp = {"F", "Sub", "Body"};
  v.ftp = {"unused", "unused"};
  ASSERT_EQ(1, voice.AddItemXML(v, 0));
  v.item.protocol = "mail";
  v.item.dictation_file_path = dir.path();
  v.ftp = {};
  EXPECT_EQ(Show(v), Show(Read<VOICE_ITEMLIST_XML_DATA>(voice, "g1")));

  // Sent items, mail: the recipients stand between sender and subject.
  SENTITEMS_ITEMLIST_XML_DATA s;
  s.item.guid = "g2";
  s.item.dictation_file_name = "b.wav";
  s.delivery_kind = kDeliveryMail;
  s.smtp = {"F", "T", "C", "B", "Sub", "Body"};
  ASSERT_EQ(1, sent.AddItemXML(s, 0));
  EXPECT_TRUE(
      InOrder(Text("SentItemsFolder.xml"),
              {"<protocol>mail</protocol>", "<mail>", "<from>F</from>", "<to>T</to>", "<cc>C</cc>",
               "<bcc>B</bcc>", "<subject>Sub</subject>", "<body>Body</body>", "</mail>"}));
  s.item.protocol = "mail";
  EXPECT_EQ(Show(s), Show(Read<SENTITEMS_ITEMLIST_XML_DATA>(sent, "g2")));

  // Inbox, FTP, listed back.
  INBOX_TYPIST_ITEMLIST_XML_DATA i;
  i.item.guid = "g3";
  i.delivery_kind = kDeliveryFtp;
  i.ftp = {"host", "in"};
  ASSERT_EQ(1, inbox.AddItemXML(i, 0));
  long count = 0;
  INBOX_TYPIST_ITEMLIST_XML_DATA* list = nullptr;
  ASSERT_EQ(1, inbox.GetItemListXML(&count, &list));
  ASSERT_EQ(1, count);
  i.item.protocol = "ftp";
  i.item.dictation_file_path = dir.path();
  EXPECT_EQ(Show(i), Show(list[0]));
  CInBoxTypistFolderXML::ReleaseItemList(list);
}

TEST_F(RecordRoundTripTest, AReusedRecordReadsAsAFreshOne) {
  // Step 1: a full entry with mail details and a sparse one with FTP details.
  SENTITEMS_ITEMLIST_XML_DATA full;
  full.item = {"full", "st", "a.wav", "/d", "a.doc", "/e", "pr", "d", "t"};
  full.delivery_kind = kDeliveryMail;
  full.smtp = {"F", "T", "C", "B", "Sub", "Body"};
  ASSERT_EQ(1, sent.AddItemXML(full, 0));
  SENTITEMS_ITEMLIST_XML_DATA sparse;
  sparse.item.guid = "sparse";
  sparse.delivery_kind = kDeliveryFtp;
  sparse.ftp = {"host", ""};
  ASSERT_EQ(1, sent.AddItemXML(sparse, 0));

  // Step 2: each form of the sparse entry, read into a record that holds the full one, reads as
  // it does into a new record.
  SENTITEMS_ITEM_XML_DATA key;
  key.guid = "full";
  SENTITEMS_ITEMLIST_XML_DATA listForm;
  SENTITEMS_ITEM_XML_DATA plainForm;
  ASSERT_EQ(1, sent.GetItemXML(key, &listForm));
  ASSERT_EQ(1, sent.GetItemXML(key, &plainForm));
  key.guid = "sparse";
  ASSERT_EQ(1, sent.GetItemXML(key, &listForm));
  ASSERT_EQ(1, sent.GetItemXML(key, &plainForm));
  EXPECT_EQ(Show(Read<SENTITEMS_ITEMLIST_XML_DATA>(sent, "sparse")), Show(listForm));
  EXPECT_EQ(Show(Read<SENTITEMS_ITEM_XML_DATA>(sent, "sparse")), Show(plainForm));
  key.guid = "full";  // and back: the FTP details give way to mail details
  ASSERT_EQ(1, sent.GetItemXML(key, &listForm));
  EXPECT_EQ(Show(Read<SENTITEMS_ITEMLIST_XML_DATA>(sent, "full")), Show(listForm));
}

TEST_F(RecordRoundTripTest, ProtocolAloneDecidesDeliveryKindOnRead) {
  SENTITEMS_ITEMLIST_XML_DATA empty;
  empty.item.guid = "mail-without-fields";
  empty.delivery_kind = kDeliveryMail;
  ASSERT_EQ(1, sent.AddItemXML(empty, 0));
  EXPECT_NE(std::string::npos, Text("SentItemsFolder.xml").find("<mail"));

  SENTITEMS_ITEMLIST_XML_DATA odd;
  odd.item.guid = "odd";
  odd.item.protocol = "Mail";  // not "mail": letter case counts
  odd.delivery_kind = 7;       // unknown kinds write no details
  odd.smtp.from = "lost";
  ASSERT_EQ(1, sent.AddItemXML(odd, 0));

  long count = 0;
  SENTITEMS_ITEMLIST_XML_DATA* list = nullptr;
  ASSERT_EQ(1, sent.GetItemListXML(&count, &list));
  ASSERT_EQ(2, count);
  EXPECT_EQ(kDeliveryMail, list[0].delivery_kind);
  EXPECT_EQ("mail", list[0].item.protocol);
  EXPECT_EQ(kDeliveryNone, list[1].delivery_kind);
  EXPECT_EQ("Mail", list[1].item.protocol);
  EXPECT_EQ("", list[1].smtp.from);
  CSentItemsFolderXML::ReleaseItemList(list);
}

TEST_F(RecordRoundTripTest, PathsAreStoredInStorageFormAndReadInLocalForm) {
  SENTITEMS_ITEM_XML_DATA s;
  s.guid = "g";
  s.dictation_file_path = "\\\\thishost\\docs\\dictations";  // a share of this machine
  s.document_file_path = "C:\\Typed\\";                      // a drive path stays
  ASSERT_EQ(1, sent.AddItemXML(s, 0));
  const std::string text = Text("SentItemsFolder.xml");
  EXPECT_NE(std::string::npos, text.find("<dictation_file_path>" + dir.File("shared") +
                                         kNativeSeparator + "dictations<"));
  EXPECT_NE(std::string::npos, text.find("<document_file_path>C:\\Typed<"));

  const SENTITEMS_ITEM_XML_DATA out = Read<SENTITEMS_ITEM_XML_DATA>(sent, "g");
  EXPECT_EQ(dir.File("shared") + kNativeSeparator + "dictations", out.dictation_file_path);
  EXPECT_EQ("C:\\Typed", out.document_file_path);
  // A key names the path as the host knows it and is converted the same way.
  EXPECT_EQ(1, sent.GetItemCountXML(&s));
}

// "%DELETE%" in a change, and empty values leaving fields alone, are the model test's.
TEST_F(RecordRoundTripTest, MacrosExpandWholeValuesOfValuesOnly) {
  std::string today, now;
  ASSERT_TRUE(env.FormatShortDate(env.fixed_now, &today));
  ASSERT_TRUE(env.FormatTime(env.fixed_now, &now));

  // Step 1: with macros on, whole macro values expand; a leading blank keeps the text.
  SENTITEMS_ITEM_XML_DATA s{"g1", "%DELETE%", "a.wav", "", "", "", " %DATE%", "%DATE%", "%TIME%"};
  ASSERT_EQ(1, sent.AddItemXML(s, 1));
  SENTITEMS_ITEM_XML_DATA out = Read<SENTITEMS_ITEM_XML_DATA>(sent, "g1");
  EXPECT_EQ(today, out.date);
  EXPECT_EQ(now, out.time);
  EXPECT_EQ(" %DATE%", out.protocol);
  EXPECT_EQ("", out.status);
  EXPECT_NE(std::string::npos, Text("SentItemsFolder.xml").find("<status"));  // empty element

  // Step 2: with macros off the macro texts are stored as they are.
  SENTITEMS_ITEM_XML_DATA literal{"g2", "%DELETE%", "b.wav", "", "", "", "", "%DATE%", ""};
  ASSERT_EQ(1, sent.AddItemXML(literal, 0));
  EXPECT_EQ("%DELETE%", Read<SENTITEMS_ITEM_XML_DATA>(sent, "g2").status);

  // Step 3: keys are never expanded: "%DATE%" finds the literal, not today's date.
  SENTITEMS_ITEM_XML_DATA byDate;
  byDate.date = "%DATE%";
  EXPECT_EQ(1, sent.GetItemCountXML(&byDate));
  ASSERT_EQ(1, sent.GetItemXML(byDate, &out));
  EXPECT_EQ("g2", out.guid);
}

}  // namespace
}  // namespace Foldwise
