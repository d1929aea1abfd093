// What the outbox does with files it cannot use and with DOM failures. Failed and refused saves
// of every operation are the fault table's (tests/harness).
#include <functional>
#include <string>
#include <vector>

#include "base/path_text.h"
#include "foldwise/errors.h"
#include "outbox_fixture.h"

namespace Foldwise {
namespace {

class OutboxFailureTest : public OutboxFixture {
 protected:
  // Every operation of both classes except MakeXML, whose job is to replace the file.
  std::vector<std::function<void()>> EveryOperation() {
    const OUTBOX_ITEM_XML_DATA key = Key("{a}");
    OUTBOX_ITEMLIST_XML_DATA details;
    static_cast<OUTBOX_ITEM_XML_DATA&>(details) = key;
    OUTBOX_TYPIST_ITEM_XML_DATA tkey;
    tkey.guid = "{a}";
    OUTBOX_TYPIST_ITEMLIST_XML_DATA tdetails;
    tdetails.guid = "{a}";
    const OUTBOX_SRVINFO_XML_DATA server{"mail", "s"};
    return {
        [=] { author.AddItemSmtpXML(key, Mail("x")); },
        [=] { author.AddItemFtpXML(key, Ftp("s", "f")); },
        [=] { author.AddItemErrInfoXML(key, Error("e")); },
        [=] { author.ClearItemErrInfoXML(key); },
        [=] { EXPECT_FALSE(author.DelItemXML(key)); },
        [=] { EXPECT_FALSE(author.ChangeItemXML(key, key, Mail("x"), {})); },
        [=] { EXPECT_EQ(0, author.ChangeItemXML(OUTBOX_ITEM_XML_DATA{}, key)); },
        [=] { author.GetItemXML(key, nullptr); },
        [=] {
          std::int32_t count = 5;
          OUTBOX_ITEMLIST_XML_DATA* list = nullptr;
          author.GetItemListXML(&count, &list);
          EXPECT_EQ(0, count);
        },
        [=] { author.GetItemXMLDetails(details, nullptr); },
        [=] { author.DelItemXMLDetails(details); },
        [=] { author.AddItemErrInfoXMLDetails(details, Error("e")); },
        [=] { author.AddServerInfoXML(server); },
        [=] { author.AddServerInfoErrInfoXML(server, Error("e")); },
        [=] { author.ClearServerInfoErrInfoXML(server); },
        [=] { author.DelServerInfoXML(server); },
        [=] {
          author.ChangeServerInfoXML(server, {"ftp", ""});
        },
        [=] {
          std::int32_t count = 5;
          OUTBOX_SRVINFOLIST_XML_DATA* list = nullptr;
          author.GetServerInfoListXML(&count, &list);
          EXPECT_EQ(5, count);
        },
        [=] { typist.AddItemSmtpXML(tkey, {}); },
        [=] { typist.AddItemFtpXML(tkey, {}); },
        [=] { typist.AddItemErrInfoXML(tkey, {}); },
        [=] { EXPECT_FALSE(typist.DelItemXML(tkey)); },
        [=] { EXPECT_FALSE(typist.ChangeItemXML(tkey, tkey, {}, {})); },
        [=] { EXPECT_EQ(0, typist.ChangeItemXML(tkey, tkey)); },
        [=] { EXPECT_EQ(0, typist.DelLinkXML(tkey, tkey)); },
        [=] { typist.DelItemXMLDetails(tdetails); },
        [=] {
          typist.AddServerInfoXML({"mail", "s"});
        },
    };
  }
};

TEST_F(OutboxFailureTest, MalformedOrTruncatedFileIsNeverChanged) {
  author.AddItemSmtpXML(Item("{a}", "a.dss", "/srv", "mail"), Mail("x"));
  typist.MakeXML();
  const std::string whole = AuthorText();
  for (const std::string& broken :
       {whole.substr(0, whole.size() / 2), whole.substr(0, whole.size() - 9),
        std::string("<root><item_list></root>"), std::string("not xml at all")}) {
    testing::WriteText(AuthorFile(), broken);
    testing::WriteText(TypistFile(), broken);
    for (auto& operation : EveryOperation()) operation();
    EXPECT_EQ(broken, AuthorText());
    EXPECT_EQ(broken, TypistText());
  }
}

TEST_F(OutboxFailureTest, DomFailureReachesTheCallerAndNothingIsWritten) {
  // An error list that lost its counter cannot take another error.
  const std::string damaged =
      "<root><server_info_list><server_info><protocol>mail</protocol><error_info_list/>"
      "</server_info></server_info_list><item_list><item><guid>{a}</guid><error_info_list>"
      "<error_info><no>1</no></error_info></error_info_list></item></item_list></root>";
  testing::WriteText(AuthorFile(), damaged);
  EXPECT_THROW(author.AddItemErrInfoXML(Key("{a}"), Error("e")), ComError);
  try {
    author.AddServerInfoErrInfoXML({"mail", ""}, Error("e"));
    ADD_FAILURE() << "no ComError";
  } catch (const ComError& error) {
    EXPECT_EQ(kErrorPointer, error.code());
  }
  EXPECT_EQ(damaged, AuthorText());
}

TEST_F(OutboxFailureTest, MakeXmlSetsADamagedFileAsideAndStartsAfresh) {
  const std::string damaged = "<?xml version='1.0'?>\r\n<root><item_list><item>";
  testing::WriteText(AuthorFile(), damaged);
  testing::WriteText(TypistFile(), damaged);
  author.MakeXML();
  typist.MakeXML();
  for (const char* name : {"OutBoxFolder.xml", "OutBoxTypistFolder.xml"}) {
    EXPECT_EQ(std::vector<std::string>{damaged}, testing::TakeSetAsideContents(dir.path(), name));
  }
  author.AddItemSmtpXML(Item("{a}", "one.dss", "", "mail"), Mail("x"));
  EXPECT_NE(std::string::npos, AuthorText().find("<guid>{a}</guid>"));
}

TEST_F(OutboxFailureTest, EmptyFileIsTreatedAsMissingAndDirectoryGetsItsSeparator) {
  testing::WriteText(AuthorFile(), "");
  author.AddItemFtpXML(Item("{b}", "b.dss", "", "ftp"), Ftp("s", "f"));
  EXPECT_NE(std::string::npos, AuthorText().find("<server_info_list/><item_list>"));
  EXPECT_EQ(dir.path() + kNativeSeparator, author.GetDirectoryText());
  // Removed from the tree, so reported, though a busy file is not written.
  env.file_busy = true;
  EXPECT_TRUE(author.DelItemXML(Key("{b}")));
  env.file_busy = false;
  EXPECT_NE(std::string::npos, AuthorText().find("<guid>{b}</guid>"));
  // A directory that does not exist: nothing is created and nothing is found.
  COutBoxFolderXML nowhere;
  nowhere.SetDirectory(dir.File("missing"));
  nowhere.AddItemFtpXML(Item("{b}", "b.dss", "", "ftp"), Ftp("s", "f"));
  OUTBOX_ITEMLIST_XML_DATA out;
  nowhere.GetItemXML(Key("{b}"), &out);
  EXPECT_EQ("", out.guid);
  EXPECT_FALSE(testing::FileExists(dir.File("missing")));
}

}  // namespace
}  // namespace Foldwise
