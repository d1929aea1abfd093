// The exact text of the outbox files: element order, indentation, and the whitespace a load
// drops.
#include <string>

#include "outbox_fixture.h"

namespace Foldwise {
namespace {

constexpr char kHead[] = "<?xml version=\"1.0\"?>\r\n<!--Quillnote OutBoxFolderXML-->\r\n";

using OutboxFileTest = OutboxFixture;

TEST_F(OutboxFileTest, TemplateHoldsBothListsOnLinesOfTheirOwn) {
  author.MakeXML();
  EXPECT_EQ(std::string(kHead) + "<root>\n\t<server_info_list/>\n\t<item_list/>\n</root>\r\n",
            AuthorText());
}

TEST_F(OutboxFileTest, MailItemFtpItemTwoErrorsAndAServer) {
  // Step 1: a mail item on a missing file; only the whitespace this operation wrote is there.
  OUTBOX_SMTP_XML_DATA mail = Mail("typist@example.com");
  mail.to_id = "T1";
  author.AddItemSmtpXML(Item("{A}", "d1.dss", "\\\\server\\share\\dict\\", "mail"), mail);
  EXPECT_EQ(std::string(kHead) +
                "<root><server_info_list/><item_list>\n\t\t<item>"
                "\n\t\t\t<guid>{A}</guid>"
                "\n\t\t\t<dictation_file_name>d1.dss</dictation_file_name>"
                "\n\t\t\t<dictation_file_path>Z:\\dict</dictation_file_path>"
                "\n\t\t\t<date>06.12.2026</date>\n\t\t\t<time>11:58</time>"
                "\n\t\t\t<protocol>mail</protocol>"
                "\n\t\t\t<mail>\n\t\t\t\t<to>typist@example.com</to>\n\t\t\t\t<to_id>T1</to_id>"
                "\n\t\t\t\t<subject>Letter</subject>\n\t\t\t\t<body>Please type.</body>"
                "\n\t\t\t</mail>\n\t\t</item>\n\t</item_list></root>\r\n",
            AuthorText());

  // Steps 2-5: an FTP item, two errors on the mail item, a server.
  author.AddItemFtpXML(Item("{B}", "d2.dss", "/srv/dict", "ftp"), Ftp("ftp.example.com", "in"));
  author.AddItemErrInfoXML(Key("{A}"), Error("no route"));
  author.AddItemErrInfoXML(Key("{A}"), Error("timeout"));
  author.AddServerInfoXML({"mail", "smtp.example.com"});
  EXPECT_EQ(std::string(kHead) +
                "<root><server_info_list>\n\t\t<server_info>\n\t\t\t<protocol>mail</protocol>"
                "\n\t\t\t<server>smtp.example.com</server>\n\t\t</server_info>\n\t"
                "</server_info_list><item_list><item><guid>{A}</guid>"
                "<dictation_file_name>d1.dss</dictation_file_name>"
                "<dictation_file_path>Z:\\dict</dictation_file_path>"
                "<date>06.12.2026</date><time>11:58</time><protocol>mail</protocol>"
                "<mail><to>typist@example.com</to><to_id>T1</to_id><subject>Letter</subject>"
                "<body>Please type.</body></mail>"
                "<error_info_list><error_num>2</error_num>"
                "<error_info><no>1</no><date>06.12.2026</date><time>12:00</time>"
                "<error_message>no route</error_message></error_info>"
                "<error_info><no>2</no><date>06.12.2026</date><time>12:00</time>"
                "<error_message>timeout</error_message></error_info></error_info_list></item>"
                "<item><guid>{B}</guid><dictation_file_name>d2.dss</dictation_file_name>"
                "<dictation_file_path>/srv/dict</dictation_file_path><date>06.12.2026</date>"
                "<time>11:58</time><protocol>ftp</protocol>"
                "<ftp><server>ftp.example.com</server><folder>in</folder></ftp></item>"
                "</item_list></root>\r\n",
            AuthorText());
}

TEST_F(OutboxFileTest, FirstErrorListFollowsTheLastFieldDirectly) {
  author.AddItemFtpXML(Item("{A}", "d1.dss", "", "ftp"), Ftp("s", "f"));
  // Clearing removes the list, so numbering starts again from 1; an error for no item is lost.
  author.AddItemErrInfoXML(Key("{A}"), Error("cleared"));
  author.ClearItemErrInfoXML(Key("{A}"));
  EXPECT_EQ(std::string::npos, AuthorText().find("error_info_list"));
  author.AddItemErrInfoXML(Key("{A}"), Error("refused"));
  author.AddItemErrInfoXML(Key("{zz}"), Error("lost"));
  const std::string text = AuthorText();
  EXPECT_EQ(std::string::npos, text.find("lost"));
  EXPECT_NE(std::string::npos,
            text.find("</ftp><error_info_list>\n\t\t\t\t<error_num>1</error_num>"
                      "\n\t\t\t\t<error_info>\n\t\t\t\t\t<no>1</no>"
                      "\n\t\t\t\t\t<date>06.12.2026</date>\n\t\t\t\t\t<time>12:00</time>"
                      "\n\t\t\t\t\t<error_message>refused</error_message>\n\t\t\t\t</error_info>"
                      "\n\t\t\t</error_info_list>\n\t\t</item></item_list>"))
      << text;
}

TEST_F(OutboxFileTest, TypistItemOrderAndElevenFieldMail) {
  OUTBOX_TYPIST_ITEM_XML_DATA item{"{T}",      "letter.doc", "Z:\\docs\\", "d1.dss",
                                   "Z:\\dict", "mail",       "06.12.2026", "12:01"};
  OUTBOX_TYPIST_SMTP_XML_DATA mail;
  mail.to = "author@example.com";
  mail.to_address = "Author <author@example.com>";
  mail.subject = "Typed";
  mail.body = "Done.";
  typist.AddItemSmtpXML(item, mail);
  EXPECT_EQ(
      "<?xml version=\"1.0\"?>\r\n<!--Quillnote OutBoxTypistFolderXML-->\r\n"
      "<root><server_info_list/><item_list>\n\t\t<item>\n\t\t\t<guid>{T}</guid>"
      "\n\t\t\t<document_file_name>letter.doc</document_file_name>"
      "\n\t\t\t<document_file_path>Z:\\docs</document_file_path>"
      "\n\t\t\t<dictation_file_name>d1.dss</dictation_file_name>"
      "\n\t\t\t<dictation_file_path>Z:\\dict</dictation_file_path>"
      "\n\t\t\t<protocol>mail</protocol>\n\t\t\t<date>06.12.2026</date>\n\t\t\t<time>12:01</time>"
      "\n\t\t\t<mail>\n\t\t\t\t<to>author@example.com</to>"
      "\n\t\t\t\t<to_address>Author &lt;author@example.com&gt;</to_address>"
      "\n\t\t\t\t<subject>Typed</subject>\n\t\t\t\t<body>Done.</body>\n\t\t\t</mail>"
      "\n\t\t</item>\n\t</item_list></root>\r\n",
      TypistText());
}

}  // namespace
}  // namespace Foldwise
