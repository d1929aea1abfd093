// Error lists of items and servers: numbering, clearing, the arrays handed out and their
// release.
#include <string>

#include "engine/counted_array.h"
#include "outbox_fixture.h"

namespace Foldwise {
namespace {

using OutboxErrorsTest = OutboxFixture;

TEST_F(OutboxErrorsTest, CounterThatIsNoNumberCountsAsOne) {
  // The counter is read as a number would be: leading digits, else 1.
  for (const auto& [counter, next] :
       {std::pair{"many", "2"}, {"", "2"}, {"-", "2"}, {" 41x", "42"}}) {
    testing::WriteText(AuthorFile(),
                       std::string("<root><server_info_list/><item_list><item><guid>{a}</guid>"
                                   "<error_info_list><error_num>") +
                           counter + "</error_num></error_info_list></item></item_list></root>");
    author.AddItemErrInfoXML(Key("{a}"), Error("x"));
    EXPECT_NE(std::string::npos, AuthorText().find(std::string("<no>") + next + "</no>"))
        << counter;
  }
}

TEST_F(OutboxErrorsTest, ErrorArrayHasOneElementPerChildOfTheList) {
  std::int32_t count = 7;
  OUTBOX_ITEMLIST_XML_DATA* list = nullptr;
  author.GetItemListXML(&count, &list);  // no file yet: an empty list
  EXPECT_EQ(0, count);
  EXPECT_EQ(nullptr, list);
  author.AddItemSmtpXML(Item("{a}", "a.dss", "", "mail"), Mail("x"));
  for (const char* message : {"one", "two", "three"}) {
    author.AddItemErrInfoXML(Key("{a}"), Error(message));
  }
  OUTBOX_ITEMLIST_XML_DATA out;
  author.GetItemXML(Key("{a}"), &out);
  ASSERT_EQ(3, out.error_count);
  ASSERT_NE(nullptr, out.error_list);
  EXPECT_EQ(4u, CountedArraySize(out.error_list));  // error_num is a child too
  EXPECT_EQ("one", out.error_list[0].error_message);
  EXPECT_EQ("three", out.error_list[2].error_message);
  EXPECT_EQ("12:00", out.error_list[2].time);
  EXPECT_EQ("", out.error_list[3].error_message);
  author.DelDataErrInfoXML(out.error_list);

  // Release operations accept null, and never release more elements than an array holds.
  author.DelDataErrInfoXML(nullptr);
  author.DelItemListXML(5, nullptr);
  author.DelServerInfoListXML(5, nullptr);
  typist.DelDataErrInfoXML(nullptr);
  typist.DelItemListXML(0, nullptr);
  author.GetItemListXML(&count, &list);
  ASSERT_EQ(1, count);
  EXPECT_EQ(3, list[0].error_count);
  author.DelItemListXML(1000, list);
}

TEST_F(OutboxErrorsTest, ServerErrorsAndChanges) {
  author.AddServerInfoXML({"mail", "smtp.example.com"});
  author.AddServerInfoXML({"ftp", ""});
  author.AddServerInfoErrInfoXML({"FTP", ""}, Error("refused"));
  author.AddServerInfoErrInfoXML({"", ""}, Error("matches nothing"));
  author.AddServerInfoErrInfoXML({"MAIL", ""}, Error("first mail server"));

  OUTBOX_SRVINFOLIST_XML_DATA server;
  author.GetServerInfoXML({"ftp", ""}, &server);
  EXPECT_EQ("", server.server);  // added without a name
  ASSERT_EQ(1, server.error_count);
  EXPECT_EQ("refused", server.error_list[0].error_message);
  author.DelDataErrInfoXML(server.error_list);
  EXPECT_EQ(std::string::npos, AuthorText().find("matches nothing"));

  // Equal values keep the history; another server name drops it; a nameless server gets none.
  author.ChangeServerInfoXML({"mail", ""}, {"mail", "smtp.example.com"});
  EXPECT_NE(std::string::npos, AuthorText().find("first mail server"));
  author.ChangeServerInfoXML({"ftp", ""}, {"", "ftp.example.com"});
  EXPECT_NE(std::string::npos, AuthorText().find("refused"));
  author.ChangeServerInfoXML({"mail", ""}, {"", "relay.example.com"});
  EXPECT_EQ(std::string::npos, AuthorText().find("first mail server"));

  author.AddServerInfoErrInfoXML({"mail", ""}, Error("again"));
  EXPECT_NE(std::string::npos, AuthorText().find("<error_num>1</error_num>"));
  EXPECT_NE(std::string::npos, AuthorText().find("<no>1</no>\n\t\t\t\t\t<date>"));
  author.ClearServerInfoErrInfoXML({"ftp", ""});
  author.DelServerInfoXML({"", "RELAY.example.com"});
  std::int32_t count = 0;
  OUTBOX_SRVINFOLIST_XML_DATA* list = nullptr;
  author.GetServerInfoListXML(&count, &list);
  ASSERT_EQ(1, count);
  EXPECT_EQ("ftp", list[0].protocol);
  EXPECT_EQ(0, list[0].error_count);
  author.DelServerInfoListXML(count, list);

  author.DelServerInfoXML({"ftp", ""});
  count = 9;
  author.GetServerInfoListXML(&count, &list);
  EXPECT_EQ(0, count);
  EXPECT_EQ(nullptr, list);
  // Without a server list at all the caller's outputs stay as they were.
  testing::WriteText(AuthorFile(), "<root><item_list/></root>");
  count = 9;
  OUTBOX_SRVINFOLIST_XML_DATA sentinel;
  list = &sentinel;
  author.GetServerInfoListXML(&count, &list);
  EXPECT_EQ(9, count);
  EXPECT_EQ(&sentinel, list);
}

TEST_F(OutboxErrorsTest, TypistDetailsIgnoreAddresses) {
  OUTBOX_TYPIST_ITEM_XML_DATA item{"{t}", "a.doc", "/docs", "d.dss", "/dict", "mail", "d", "t"};
  OUTBOX_TYPIST_SMTP_XML_DATA mail;
  mail.to = "author";
  mail.subject = "s";
  mail.body = "b";
  mail.cc_address = "cc@example.com";
  typist.AddItemSmtpXML(item, mail);
  OUTBOX_TYPIST_ITEMLIST_XML_DATA key;
  static_cast<OUTBOX_TYPIST_ITEM_XML_DATA&>(key) = item;
  key.delivery_kind = kDeliveryMail;
  key.smtp = mail;
  key.smtp.cc_address = "not compared";
  typist.AddItemErrInfoXMLDetails(key, {"d", "t", "typed too late"});
  OUTBOX_TYPIST_ITEMLIST_XML_DATA out;
  typist.GetItemXMLDetails(key, &out);
  EXPECT_EQ("cc@example.com", out.smtp.cc_address);
  ASSERT_EQ(1, out.error_count);
  typist.DelDataErrInfoXML(out.error_list);
  typist.DelItemXMLDetails(key);
  EXPECT_EQ(std::string::npos, TypistText().find("<item>"));
}

}  // namespace
}  // namespace Foldwise
