// MakeXML writes the template whatever the file held, but a file that does not parse is set
// aside first, never written over; the other operations leave it alone.
#include <string>
#include <vector>

#include "outbox_fixture.h"

namespace Foldwise {
namespace {

class OutboxDamagedFileTest : public OutboxFixture {};

TEST_F(OutboxDamagedFileTest, MakeXmlSetsADamagedFileAside) {
  const std::string damaged = "<?xml version='1.0'?>\r\n<root><item_list><item>";
  for (const char* name : {"OutBoxFolder.xml", "OutBoxTypistFolder.xml"}) {
    testing::WriteText(dir.File(name), damaged);
  }
  author.AddItemSmtpXML(Item("{a}", "one.dss", "", "mail"), Mail("x"));
  EXPECT_EQ(damaged, AuthorText());
  author.MakeXML();
  typist.MakeXML();
  EXPECT_EQ(std::vector<std::string>{damaged},
            testing::TakeSetAsideContents(dir.path(), "OutBoxFolder.xml"));
  EXPECT_EQ(std::vector<std::string>{damaged},
            testing::TakeSetAsideContents(dir.path(), "OutBoxTypistFolder.xml"));
  // The fresh file works.
  author.AddItemSmtpXML(Item("{a}", "one.dss", "", "mail"), Mail("x"));
  OUTBOX_ITEMLIST_XML_DATA out;
  author.GetItemXML(Key("{a}"), &out);
  author.DelDataErrInfoXML(out.error_list);
  EXPECT_EQ("one.dss", out.dictation_file_name);
}

}  // namespace
}  // namespace Foldwise
