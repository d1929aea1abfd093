// What the outbox does with files it cannot use and with DOM failures. Failed and refused saves
// of every operation are the fault table's, files that do not parse under every operation the
// damaged-files test's (both in tests/harness).
#include <string>
#include <vector>

#include "base/path_text.h"
#include "foldwise/errors.h"
#include "outbox_fixture.h"

namespace Foldwise {
namespace {

using OutboxFailureTest = OutboxFixture;

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
