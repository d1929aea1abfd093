// Changing items: the four-record change with its delivery rewrite, the by-reference change of
// every match, and the typist's unlink.
#include <string>

#include "outbox_fixture.h"

namespace Foldwise {
namespace {

class OutboxChangeTest : public OutboxFixture {
 protected:
  // A mail item {m} with two errors.
  void AddMailItemWithErrors() {
    author.AddItemSmtpXML(Item("{m}", "d.dss", "/srv", "mail"), Mail("a@example.com"));
    author.AddItemErrInfoXML(Key("{m}"), Error("one"));
    author.AddItemErrInfoXML(Key("{m}"), Error("two"));
  }
};

TEST_F(OutboxChangeTest, FourRecordChangeRewritesDeliveryAndDropsHistory) {
  AddMailItemWithErrors();
  // Step 1: no protocol: delivery and errors stay, the mail record is ignored.
  OUTBOX_ITEM_XML_DATA values;
  values.date = "07.12.2026";
  values.dictation_file_path = "\\\\server\\share\\new\\";
  EXPECT_TRUE(author.ChangeItemXML(Key("{m}"), values, Mail("ignored"), {}));
  OUTBOX_ITEMLIST_XML_DATA got = Found(Key("{m}"));
  EXPECT_EQ("07.12.2026", got.date);
  EXPECT_EQ("Z:\\new", got.dictation_file_path);
  EXPECT_EQ("a@example.com", got.smtp.to);
  EXPECT_EQ(2, got.error_count);

  // Step 2: ftp with an incomplete record: protocol set, mail and history gone, no ftp element
  // written. (The same protocol with complete details is the model test's.)
  values = {};
  values.protocol = "ftp";
  EXPECT_TRUE(author.ChangeItemXML(Key("{m}"), values, {}, Ftp("ftp.example.com", "")));
  EXPECT_EQ(std::string::npos, AuthorText().find("<mail>"));
  EXPECT_EQ(std::string::npos, AuthorText().find("<ftp>"));
  EXPECT_EQ(std::string::npos, AuthorText().find("error_info"));
  got = Found(Key("{m}"));
  EXPECT_EQ(kDeliveryFtp, got.delivery_kind);
  EXPECT_EQ("", got.ftp.server);

  // Step 3: a protocol that differs from "mail" only in case is stored, and writes no mail.
  values.protocol = "MAIL";
  EXPECT_TRUE(author.ChangeItemXML(Key("{m}"), values, Mail("c@example.com"), {}));
  got = Found(Key("{m}"));
  EXPECT_EQ("MAIL", got.protocol);
  EXPECT_EQ(kDeliveryNone, got.delivery_kind);
  EXPECT_EQ("", got.smtp.to);
}

TEST_F(OutboxChangeTest, FourRecordChangeFailsWholeOnAMissingField) {
  testing::WriteText(AuthorFile(),
                     "<root><server_info_list/><item_list><item><guid>{x}</guid>"
                     "<protocol>ftp</protocol></item></item_list></root>");
  const std::string before = AuthorText();
  OUTBOX_ITEM_XML_DATA values;
  values.guid = "{y}";    // would be set first
  values.time = "13:00";  // missing: the whole change is dropped
  EXPECT_FALSE(author.ChangeItemXML(Key("{x}"), values, {}, {}));
  EXPECT_FALSE(author.ChangeItemXML(Key("{nothing}"), values, {}, {}));
  EXPECT_EQ(before, AuthorText());

  // The typist skips a missing date or time and goes on.
  testing::WriteText(TypistFile(),
                     "<root><server_info_list/><item_list><item><guid>{x}</guid>"
                     "<protocol>ftp</protocol></item></item_list></root>");
  OUTBOX_TYPIST_ITEM_XML_DATA key;
  key.guid = "{x}";
  OUTBOX_TYPIST_ITEM_XML_DATA newValues;
  newValues.date = "07.12.2026";
  newValues.protocol = "mail";
  EXPECT_TRUE(typist.ChangeItemXML(key, newValues, {}, {}));
  EXPECT_NE(std::string::npos,
            TypistText().find("<guid>{x}</guid><protocol>mail</protocol></item>"));
  // The by-reference form creates it, as the item's last child.
  EXPECT_EQ(1, typist.ChangeItemXML(key, newValues));
  EXPECT_NE(std::string::npos,
            TypistText().find("<protocol>mail</protocol><date>07.12.2026</date>\n\t\t\t</item>"));
}

TEST_F(OutboxChangeTest, ByReferenceChangeEditsEveryMatchAndCreatesFields) {
  AddMailItemWithErrors();
  author.AddItemFtpXML(Item("{f}", "d.dss", "/srv", "ftp"), Ftp("s", "f"));
  author.AddItemFtpXML(Item("{F}", "e.dss", "/srv", "ftp"), Ftp("s", "f"));
  OUTBOX_ITEM_XML_DATA values;
  values.time = "23:59";
  values.dictation_file_path = "\\\\server\\share\\moved\\";
  // An all-empty key matches every item; delivery details and errors stay.
  EXPECT_EQ(1, author.ChangeItemXML(OUTBOX_ITEM_XML_DATA{}, values));
  for (const char* name : {"d.dss", "e.dss"}) {
    EXPECT_EQ("23:59", Found(Key("", name)).time) << name;
    EXPECT_EQ("Z:\\moved", Found(Key("", name)).dictation_file_path) << name;
  }
  EXPECT_EQ(2, Found(Key("{m}")).error_count);
  // (That a guid key matches its exact text only is the model test's.) No match still saves and
  // answers 1; a busy file answers 0 and stays as it was.
  values = {};
  values.date = "08.12.2026";
  EXPECT_EQ(1, author.ChangeItemXML(Key("{none}"), values));
  const std::string before = AuthorText();
  env.file_busy = true;
  values.date = "09.12.2026";
  EXPECT_EQ(0, author.ChangeItemXML(Key("{f}"), values));
  env.file_busy = false;
  EXPECT_EQ(before, AuthorText());
}

TEST_F(OutboxChangeTest, DelLinkBlanksTheDictationOfEveryMatch) {
  OUTBOX_TYPIST_ITEM_XML_DATA item{"{1}", "a.doc", "/docs", "d.dss", "/dict", "ftp", "d", "t"};
  typist.AddItemFtpXML(item, {"s", "f"});
  item.guid = "{2}";
  typist.AddItemFtpXML(item, {"s", "f"});

  OUTBOX_TYPIST_ITEM_XML_DATA key;
  key.guid = "{1}";
  EXPECT_EQ(1, typist.DelLinkXML(key, OUTBOX_TYPIST_ITEM_XML_DATA{}));
  OUTBOX_TYPIST_ITEMLIST_XML_DATA out;
  typist.GetItemXML(key, &out);
  EXPECT_EQ("", out.dictation_file_name);
  EXPECT_EQ("", out.dictation_file_path);
  EXPECT_EQ("a.doc", out.document_file_name);
  EXPECT_EQ("/docs", out.document_file_path);
  EXPECT_EQ("t", out.time);
  // The old dictation name now finds only the item still linked.
  OUTBOX_TYPIST_ITEM_XML_DATA byDictation;
  byDictation.dictation_file_name = "d.dss";
  typist.GetItemXML(byDictation, &out);
  EXPECT_EQ("{2}", out.guid);

  // An all-empty key unlinks everything, whatever the new values say of the dictation.
  OUTBOX_TYPIST_ITEM_XML_DATA values;
  values.dictation_file_name = "kept?";
  values.protocol = "mail";
  EXPECT_EQ(1, typist.DelLinkXML(OUTBOX_TYPIST_ITEM_XML_DATA{}, values));
  EXPECT_EQ(std::string::npos, TypistText().find("d.dss"));
  EXPECT_EQ(std::string::npos, TypistText().find("kept?"));
  EXPECT_EQ(std::string::npos, TypistText().find("<protocol>ftp"));
}

}  // namespace
}  // namespace Foldwise
