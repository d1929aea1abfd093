// Which item an outbox key finds: the identity rules, the details rules and the matching hook.
#include <string>

#include "dom/dom.h"
#include "outbox_fixture.h"

namespace Foldwise {
namespace {

class OutboxMatchTest : public OutboxFixture {
 protected:
  // Guids of the author's items in file order.
  std::string Guids() {
    std::int32_t count = 0;
    OUTBOX_ITEMLIST_XML_DATA* list = nullptr;
    author.GetItemListXML(&count, &list);
    std::string guids;
    for (std::int32_t i = 0; i < count; ++i) guids += list[i].guid + " ";
    author.DelItemListXML(count, list);
    return guids;
  }
};

TEST_F(OutboxMatchTest, IdentityKeys) {
  author.AddItemSmtpXML(Item("{a}", "one.dss", "\\\\server\\share\\Dict", "mail"), Mail("x"));
  author.AddItemSmtpXML(Item("{b}", "two.dss", "/srv/dict", "mail"), Mail("x"));
  author.AddItemSmtpXML(Item("{c}", "two.dss", "/srv/dict", "mail"), Mail("x"));

  // An all-empty identity finds nothing; protocol, date and time of a key are ignored.
  EXPECT_EQ("<none>", Found(Item("", "", "", "mail")).guid);
  EXPECT_FALSE(author.DelItemXML(Key("")));
  // Upper-case keys find lower-case texts; the first of two equal items is found.
  EXPECT_EQ("{b}", Found(Key("", "TWO.DSS")).guid);
  EXPECT_EQ("{a}", Found(Key("{A}")).guid);
  // Paths compare in storage form: the network form of Z:\Dict, other case, trailing separator.
  EXPECT_EQ("{a}", Found(Key("", "", "z:\\DICT\\")).guid);
  EXPECT_EQ("{a}", Found(Key("", "", "\\\\SERVER\\share\\dict\\")).guid);
  // Every given field must match.
  EXPECT_EQ("<none>", Found(Key("{a}", "two.dss")).guid);
  EXPECT_EQ("{c}", Found(Key("{C}", "two.dss", "/SRV/dict/")).guid);
  EXPECT_EQ("{a} {b} {c} ", Guids());
}

TEST_F(OutboxMatchTest, DetailsTellDeliveriesOfOneDictationApart) {
  OUTBOX_SMTP_XML_DATA toA = Mail("a@example.com");
  OUTBOX_SMTP_XML_DATA toB = Mail("b@example.com");
  author.AddItemSmtpXML(Item("{m}", "d.dss", "/srv", "mail"), toA);
  author.AddItemSmtpXML(Item("{m}", "d.dss", "/srv", "mail"), toB);
  author.AddItemFtpXML(Item("{m}", "d.dss", "/srv", "ftp"), Ftp("ftp.example.com", "in"));

  OUTBOX_ITEMLIST_XML_DATA key;
  static_cast<OUTBOX_ITEM_XML_DATA&>(key) = Key("{m}");
  key.delivery_kind = kDeliveryMail;
  key.smtp = toB;
  key.smtp.to = "B@EXAMPLE.COM";
  key.smtp.to_id = "ignored";
  author.AddItemErrInfoXMLDetails(key, Error("for B"));
  OUTBOX_ITEMLIST_XML_DATA out;
  author.GetItemXMLDetails(key, &out);
  EXPECT_EQ("b@example.com", out.smtp.to);
  ASSERT_EQ(1, out.error_count);
  EXPECT_EQ("for B", out.error_list[0].error_message);
  author.DelDataErrInfoXML(out.error_list);

  // An empty folder is no wildcard: it does not match the stored "in".
  key.delivery_kind = kDeliveryFtp;
  key.ftp = Ftp("FTP.example.com", "");
  OUTBOX_ITEMLIST_XML_DATA untouched;
  untouched.guid = "<none>";
  author.GetItemXMLDetails(key, &untouched);
  EXPECT_EQ("<none>", untouched.guid);
  // Kind 0 looks at the identity alone and finds the first delivery.
  key.delivery_kind = kDeliveryNone;
  author.GetItemXMLDetails(key, &out);
  EXPECT_EQ("a@example.com", out.smtp.to);
  EXPECT_EQ(0, out.error_count);

  // B's details remove B's delivery; B's plain item fields remove the first one, A's.
  key.delivery_kind = kDeliveryMail;
  author.DelItemXMLDetails(key);
  author.GetItemXMLDetails(key, &untouched);
  EXPECT_EQ("<none>", untouched.guid);
  EXPECT_TRUE(author.DelItemXML(key));
  std::int32_t count = 0;
  OUTBOX_ITEMLIST_XML_DATA* list = nullptr;
  author.GetItemListXML(&count, &list);
  ASSERT_EQ(1, count);
  EXPECT_EQ(kDeliveryFtp, list[0].delivery_kind);
  author.DelItemListXML(count, list);
}

TEST_F(OutboxMatchTest, MatchingHookRules) {
  DomDocument doc;
  ASSERT_TRUE(
      doc.LoadXml("<item><guid>{G}</guid><document_file_name>L.doc</document_file_name>"
                  "<document_file_path>Z:\\docs\\</document_file_path><dictation_file_name>d.dss"
                  "</dictation_file_name><dictation_file_path>Z:\\dict</dictation_file_path>"
                  "<protocol>mail</protocol><date>6 Dec</date><time>9 AM</time></item>"));
  const DomNode item = doc.DocumentElement();
  EXPECT_EQ(1, author.MatchItemNode(item, Key("")));  // an all-empty key matches
  EXPECT_EQ(1, author.MatchItemNode(item, Key("{G}", "D.DSS", "\\\\server\\share\\DICT\\")));
  EXPECT_EQ(0, author.MatchItemNode(item, Key("{g}")));  // guid is case-sensitive here
  EXPECT_EQ(1, author.MatchItemNode(item, Item("", "", "", "MAIL")));
  EXPECT_EQ(0, author.MatchItemNode(item, Item("", "", "", "ftp")));

  OUTBOX_TYPIST_ITEM_XML_DATA key;
  key.time = "9 am";
  EXPECT_EQ(1, typist.MatchItemNode(item, key));
  key.document_file_path = "Z:\\docs";  // the stored text keeps its separator: no match
  EXPECT_EQ(0, typist.MatchItemNode(item, key));
  key = {};
  key.date = "7 Dec";
  EXPECT_EQ(0, typist.MatchItemNode(item, key));
}

// A host's own matching hook decides what the by-reference change edits.
class OnlyFtpOutbox : public COutBoxFolderXML {
 public:
  int MatchItemNode(const DomNode& item, const OUTBOX_ITEM_XML_DATA&) override {
    return item.SelectSingleNode("ftp") ? 1 : 0;
  }
};

TEST_F(OutboxMatchTest, ByReferenceChangeUsesTheObjectsHook) {
  author.AddItemSmtpXML(Item("{a}", "a.dss", "", "mail"), Mail("x"));
  author.AddItemFtpXML(Item("{b}", "b.dss", "", "ftp"), Ftp("s", "f"));
  author.AddItemFtpXML(Item("{c}", "c.dss", "", "ftp"), Ftp("s", "f"));
  OnlyFtpOutbox hooked;
  hooked.SetDirectory(dir.path());
  OUTBOX_ITEM_XML_DATA values;
  values.date = "later";
  EXPECT_EQ(1, hooked.ChangeItemXML(Key("{a}"), values));
  // Only {a} keeps its date; the hook chose {b} and {c}.
  const std::string text = AuthorText();
  const std::size_t kept = text.find("<date>06.12.2026</date>");
  EXPECT_EQ(kept, text.rfind("<date>06.12.2026</date>"));
  EXPECT_LT(kept, text.find("<guid>{b}</guid>"));
  std::int32_t index = -3;
  DomDocument doc;
  ASSERT_TRUE(doc.Load(AuthorFile()));
  const DomNodeList items = doc.DocumentElement().SelectSingleNode("item_list").ChildNodes();
  EXPECT_EQ(items[1], hooked.FindMatchingNode(items, Key(""), index));
  EXPECT_EQ(1, index);
  EXPECT_EQ("later", items[2].SelectSingleNode("date").Text());
  index = 3;
  EXPECT_TRUE(hooked.FindMatchingNode(items, Key(""), index).IsNull());
  EXPECT_EQ(3, index);
}

TEST_F(OutboxMatchTest, ByReferenceChangeConvertsTheKeyPathOnce) {
  for (int i = 0; i < 20; ++i) {
    author.AddItemFtpXML(Item("{" + std::to_string(i) + "}", "d.dss", "Z:\\dict", "ftp"),
                         Ftp("s", "f"));
  }
  OUTBOX_ITEM_XML_DATA values;
  values.date = "later";
  const int before = net.connection_enumerations;
  EXPECT_EQ(1, author.ChangeItemXML(Key("", "", "\\\\server\\share\\dict"), values));
  EXPECT_LE(net.connection_enumerations - before, 2);  // not once per item
  OUTBOX_ITEMLIST_XML_DATA last;
  author.GetItemXML(Key("{19}"), &last);
  EXPECT_EQ("later", last.date);  // the stored Z:\dict is the key's storage form
}

TEST_F(OutboxMatchTest, TypistIdentityUsesDocumentFields) {
  OUTBOX_TYPIST_ITEM_XML_DATA first{"{1}", "letter.doc", "/docs", "d1.dss", "/dict", "ftp", "", ""};
  OUTBOX_TYPIST_ITEM_XML_DATA second = first;
  second.guid = "{2}";
  second.document_file_name = "memo.doc";
  typist.AddItemFtpXML(first, {"s", "f"});
  typist.AddItemFtpXML(second, {"s", "f"});
  OUTBOX_TYPIST_ITEM_XML_DATA key;
  key.document_file_name = "MEMO.DOC";
  OUTBOX_TYPIST_ITEMLIST_XML_DATA out;
  typist.GetItemXML(key, &out);
  EXPECT_EQ("{2}", out.guid);
  EXPECT_EQ("/docs", out.document_file_path);
  key.document_file_path = "/other";
  EXPECT_FALSE(typist.DelItemXML(key));
  key = {};
  EXPECT_FALSE(typist.DelItemXML(key));
}

}  // namespace
}  // namespace Foldwise
