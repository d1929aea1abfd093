// DocumentsTypistFolder.xml and SentItemsTypistFolder.xml: the files as written, the fields
// each change may and may not create, and the list counts.
#include <string>

#include "documents_fixture.h"

namespace Foldwise {
namespace {

using TypistFolderTest = DocumentsFixture;

TEST_F(TypistFolderTest, FirstAddAndAnAppendedFieldByteForByte) {
  // Step 1: status is always written, To and Received only when set.
  DOCUMENTS_TYPIST_ITEM_XML_DATA item = TypistItem("t1", "a.doc", "a.wav");
  item.Received = "today";
  typist.AddItemXML(item);
  const std::string head =
      "<?xml version=\"1.0\"?>\r\n<!--Quillnote DocumentsTypistFolderXML-->"
      "\r\n<root><item_list><document_file_path>" +
      dir.path() + "</document_file_path>";
  EXPECT_EQ(head +
                "\n\t\t<item>\n\t\t\t<guid>t1</guid>\n\t\t\t<document_file_name>a.doc"
                "</document_file_name>\n\t\t\t<dictation_file_name>a.wav</dictation_file_name>"
                "\n\t\t\t<dictation_file_path/>\n\t\t\t<status/>\n\t\t\t<Received>today"
                "</Received>\n\t\t</item>\n\t</item_list></root>\r\n",
            Text(kTypistFile));

  // Step 2: a change setting To on an item without one appends it at the end.
  DOCUMENTS_TYPIST_ITEM_XML_DATA values;
  values.To = "author";
  typist.ChangeItemXML(TypistItem("T1", ""), values);
  EXPECT_EQ(head +
                "<item><guid>t1</guid><document_file_name>a.doc</document_file_name>"
                "<dictation_file_name>a.wav</dictation_file_name><dictation_file_path/><status/>"
                "<Received>today</Received><To>author</To>\n\t\t\t</item></item_list></root>\r\n",
            Text(kTypistFile));
  const DOCUMENTS_TYPIST_ITEM_XML_DATA read = Get(TypistItem("t1", ""));
  EXPECT_EQ("author|today|" + dir.path(),
            read.To + "|" + read.Received + "|" + read.document_file_path);
}

TEST_F(TypistFolderTest, ChangesThatMustFindTheirElement) {
  // A status the item lacks abandons the change.
  Write(kTypistFile,
        "<?xml version='1.0'?><root><item_list><document_file_path/><item>"
        "<guid>t1</guid><document_file_name>a.doc</document_file_name></item>"
        "</item_list></root>");
  const std::string stored = Text(kTypistFile);
  DOCUMENTS_TYPIST_ITEM_XML_DATA values;
  values.status = "typed";
  typist.ChangeItemXML(TypistItem("t1", ""), values);
  EXPECT_EQ(stored, Text(kTypistFile));
  typist.DelItemDictationXML(TypistItem("t1", ""), values);
  EXPECT_EQ(stored, Text(kTypistFile));

  // A guid the item lacks is skipped, the rest of the change is made.
  Write(kTypistFile,
        "<?xml version='1.0'?><root><item_list><document_file_path/><item>"
        "<document_file_name>a.doc</document_file_name><status/></item>"
        "</item_list></root>");
  values.guid = "new";
  typist.ChangeItemXML(TypistItem("", "a.doc"), values);
  EXPECT_EQ("untouched", Get(TypistItem("new", "")).guid);
  EXPECT_EQ("typed", Get(TypistItem("", "a.doc")).status);
}

class SentItemsTest : public DocumentsFixture {
 protected:
  static constexpr char kHead[] =
      "<?xml version=\"1.0\"?>\r\n<!--Quillnote SentItemsTypistFolderXML-->\r\n<root>";
};

TEST_F(SentItemsTest, FreshFolderAndFirstAddsByteForByte) {
  // Step 1: listing a folder that has no file writes the template and lists nothing.
  long count = -1;
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA sentinel;
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA* list = &sentinel;
  sent.GetItemListXML(&count, &list);
  EXPECT_EQ(0, count);
  EXPECT_EQ(nullptr, list);
  EXPECT_EQ(std::string(kHead) + "\n\t<item_list/>\n</root>\r\n", Text(kSentFile));

  // Step 2: an e-mail entry; cc and bcc only when set.
  SENTITEMS_TYPIST_ITEM_XML_DATA item = SentItem("s1", "a.doc");
  item.protocol = "mail";
  item.document_file_path = "/docs/";
  sent.AddItemSmtpXML(item, {"me", "you", "", "boss", "subj", "text"});
  const std::string first =
      "<item>\n\t\t\t<guid>s1</guid>\n\t\t\t<status/>\n\t\t\t<document_file_name>a.doc"
      "</document_file_name>\n\t\t\t<document_file_path>/docs</document_file_path>\n\t\t\t"
      "<dictation_file_name/>\n\t\t\t<dictation_file_path/>\n\t\t\t<protocol>mail</protocol>"
      "\n\t\t\t<mail>\n\t\t\t\t<from>me</from>\n\t\t\t\t<to>you</to>\n\t\t\t\t<bcc>boss</bcc>"
      "\n\t\t\t\t<subject>subj</subject>\n\t\t\t\t<body>text</body>\n\t\t\t</mail>\n\t\t\t"
      "<date/>\n\t\t\t<time/>\n\t\t</item>";
  EXPECT_EQ(std::string(kHead) + "<item_list>\n\t\t" + first + "\n\t</item_list></root>\r\n",
            Text(kSentFile));

  // Step 3: AddItemXML puts no indent text before its item.
  sent.AddItemXML(SentItem("s2", "b.doc"));
  const std::string text = Text(kSentFile);
  EXPECT_NE(std::string::npos, text.find("</item><item>\n\t\t\t<guid>s2</guid>"));
  EXPECT_NE(std::string::npos, text.find("<time/>\n\t\t</item>\n\t</item_list></root>"));
  const SENTITEMS_TYPIST_ITEMLIST_XML_DATA read = Get(SentItem("S1", ""));
  EXPECT_EQ(kDeliveryMail, read.delivery_kind);
  EXPECT_EQ("you||boss|/docs", read.smtp.to + "|" + read.smtp.cc + "|" + read.smtp.bcc + "|" +
                                   read.document_file_path);
}

TEST_F(SentItemsTest, ChangesByRecordKind) {
  ASSERT_TRUE(sent.AddItemXML(SentItem("s1", "a.doc")));

  // The list record with protocol "mail" on an item without mail adds a full subtree...
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA values;
  values.protocol = "mail";
  values.smtp = {"me", "you", "", "", "subj", "body"};
  ASSERT_TRUE(sent.ChangeItemXML(SentItem("s1", ""), values));
  EXPECT_NE(std::string::npos, Text(kSentFile).find("<mail>\n\t\t\t\t<from>me</from>"));
  // ...and on one that has it changes only the non-empty fields.
  values.smtp = {"", "", "", "", "new subject", ""};
  ASSERT_TRUE(sent.ChangeItemXML(SentItem("s1", ""), values));
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA read = Get(SentItem("s1", ""));
  EXPECT_EQ("me|new subject", read.smtp.from + "|" + read.smtp.subject);
  // A mail field the stored subtree lacks fails the change and saves nothing.
  values.smtp.cc = "copy";
  const std::string before = Text(kSentFile);
  EXPECT_FALSE(sent.ChangeItemXML(SentItem("s1", ""), values));
  EXPECT_EQ(before, Text(kSentFile));

  // The item record: a path the item lacks fails; guid and status are created when missing.
  Write(kSentFile,
        "<?xml version='1.0'?><root><item_list><item><guid>s1</guid>"
        "<document_file_name>a.doc</document_file_name></item></item_list></root>");
  SENTITEMS_TYPIST_ITEM_XML_DATA itemValues;
  itemValues.dictation_file_path = "/dict";
  EXPECT_FALSE(sent.ChangeItemXML(SentItem("s1", ""), itemValues));
  itemValues.dictation_file_path.clear();
  itemValues.status = "sent";
  itemValues.protocol = "ignored";
  EXPECT_TRUE(sent.ChangeItemXML(SentItem("s1", ""), itemValues));
  EXPECT_EQ(
      "<?xml version=\"1.0\"?>\r\n<root><item_list><item><guid>s1</guid>"
      "<document_file_name>a.doc</document_file_name><status>sent</status>\n\t\t\t</item>"
      "</item_list></root>\r\n",
      Text(kSentFile));

  // No match, or an all-empty key: false.
  EXPECT_FALSE(sent.DelItemXML(SentItem("s9", "")));
  EXPECT_FALSE(sent.DelItemXML(SentItem("", "")));
  EXPECT_TRUE(sent.DelItemXML(SentItem("", "A.DOC")));
}

TEST_F(SentItemsTest, ListAndDictationRemoval) {
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA entries[3];
  entries[0].guid = "f";
  entries[0].delivery_kind = kDeliveryFtp;
  entries[0].ftp = {"srv", "dir"};
  entries[1].guid = "n";
  entries[1].dictation_file_name = "n.wav";
  entries[2].guid = "x";
  entries[2].delivery_kind = 7;
  ASSERT_TRUE(sent.SetItemListXML(3, entries));
  const std::string text = Text(kSentFile);
  EXPECT_NE(std::string::npos, text.find("<ftp>\n\t\t\t\t<server>srv</server>"));
  EXPECT_NE(std::string::npos, text.find("</item>\n\t</item_list>"));

  SENTITEMS_TYPIST_ITEM_XML_DATA values;
  values.status = "moved";
  sent.DelItemDictationXML(SentItem("n", ""), values);
  const SENTITEMS_TYPIST_ITEMLIST_XML_DATA read = Get(SentItem("n", ""));
  EXPECT_EQ("moved|", read.status + "|" + read.dictation_file_name);
  EXPECT_NE(std::string::npos, Text(kSentFile).find("<dictation_file_name/>"));
  long count = 0;
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA* list = nullptr;
  sent.GetItemListXML(&count, &list);
  EXPECT_EQ(3, count);
  sent.DelItemListXML(list);
}

}  // namespace
}  // namespace Foldwise
