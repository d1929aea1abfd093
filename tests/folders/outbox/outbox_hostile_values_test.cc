// Hostile values against the key-based operations of the outbox: keys compare ignoring case but
// never match more than their own text, and a value round-trips exactly or is refused (ComError
// for the operations without a result, false or 0 for the others) with the file unchanged.
#include <string>

#include "foldwise/errors.h"
#include "outbox_fixture.h"
#include "support/hostile_values.h"

namespace Foldwise {
namespace {

using testing::HostileValue;

class OutboxHostileValuesTest : public OutboxFixture {
 protected:
  std::string FoundServer(const std::string& server) {
    OUTBOX_SRVINFOLIST_XML_DATA out;
    out.server = "<none>";
    author.GetServerInfoXML({"ftp", server}, &out);
    author.DelDataErrInfoXML(out.error_list);
    return out.server;
  }

  void Baseline() {
    author.MakeXML();
    author.AddItemSmtpXML(Item("{a}", "one.dss", "", "mail"), Mail("x"));
    author.AddServerInfoXML({"ftp", "host"});
  }

  void CheckStorable(const HostileValue& value) {
    Baseline();
    author.AddItemSmtpXML(Item(value.text, value.text, "", "mail"), Mail("x", value.text));
    author.AddServerInfoXML({"ftp", value.text});
    const OUTBOX_ITEMLIST_XML_DATA found = Found(Key(value.text));
    EXPECT_EQ(value.text, found.guid);
    EXPECT_EQ(value.text, found.dictation_file_name);
    EXPECT_EQ(value.text, found.smtp.subject);
    EXPECT_EQ(value.text, FoundServer(value.text));
    // Only the exact text (letter case aside) is found.
    EXPECT_EQ("<none>", Found(Key(value.text + "x")).guid);
    EXPECT_EQ("<none>", Found(Key("", "x" + value.text)).guid);
    EXPECT_EQ("<none>", FoundServer(value.text + " "));
    OUTBOX_ITEM_XML_DATA values;
    values.date = value.text;
    EXPECT_EQ(1, author.ChangeItemXML(Key("{a}"), values));
    EXPECT_EQ(value.text, Found(Key("{a}")).date);
    EXPECT_TRUE(author.DelItemXML(Key(value.text)));
    author.DelServerInfoXML({"ftp", value.text});
    EXPECT_EQ("{a}", Found(Key("{A}")).guid);
    EXPECT_EQ("<none>", Found(Key(value.text)).guid);
    EXPECT_EQ("host", FoundServer("HOST"));
    EXPECT_EQ("<none>", FoundServer(value.text));
  }

  void CheckRefused(const HostileValue& value) {
    Baseline();
    const std::string before = AuthorText();
    EXPECT_THROW(author.AddItemSmtpXML(Item(value.text, "h.dss", "", "mail"), Mail("x")), ComError);
    EXPECT_THROW(author.AddItemSmtpXML(Item("{h}", "h.dss", "", "mail"), Mail(value.text)),
                 ComError);
    EXPECT_THROW(author.AddItemSmtpXML(Item("{h}", "h.dss", value.text, "mail"), Mail("x")),
                 ComError);
    EXPECT_THROW(author.AddServerInfoXML({"ftp", value.text}), ComError);
    EXPECT_THROW(author.AddItemErrInfoXML(Key("{a}"), Error(value.text)), ComError);
    OUTBOX_ITEM_XML_DATA values;
    values.date = "07.12.2026";
    values.time = value.text;
    EXPECT_EQ(0, author.ChangeItemXML(Key("{a}"), values));
    EXPECT_FALSE(author.ChangeItemXML(Key("{a}"), values, Mail("y"), Ftp("s", "f")));
    // Refused also when nothing matches; a key with the value finds nothing.
    EXPECT_EQ(0, author.ChangeItemXML(Key(value.text), values));
    EXPECT_EQ("<none>", Found(Key(value.text)).guid);
    EXPECT_FALSE(author.DelItemXML(Key(value.text)));
    author.DelServerInfoXML({"ftp", value.text});
    EXPECT_EQ(before, AuthorText());
  }
};

TEST_F(OutboxHostileValuesTest, EveryValueRoundTripsOrIsRefusedWithNothingChanged) {
  testing::ForEachHostileValue([this](const HostileValue& value) { CheckStorable(value); },
                               [this](const HostileValue& value) { CheckRefused(value); });
}

}  // namespace
}  // namespace Foldwise
