// The direct key matcher against the XPath query the folders built for a key before it: on the
// same documents, every key selects exactly the nodes the query selects, in the same order.
#include "engine/key_match.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/item_codec.h"
#include "folders/cached/voice_schema.h"
#include "support/scripted_network.h"

namespace Foldwise {
namespace {

using ListCursor = TypedCursor<VOICE_ITEMLIST_XML_DATA, ResolverPaths>;

// The reference: "/root/item_list/item" and one predicate per non-empty leaf of the written key,
// its path below the item and its text in single quotes.
std::string Predicates(DomNode element, const std::string& prefix) {
  std::string predicates;
  bool nested = false;
  for (DomNode child = element.FirstChild(); child; child = child.NextSibling()) {
    if (child.NodeType() != kElementNode) continue;
    nested = true;
    predicates += Predicates(child, prefix + element.NodeName() + "/");
  }
  if (nested || element.NodeType() != kElementNode || element.Text().empty()) return predicates;
  return "[" + prefix + element.NodeName() + "='" + element.Text() + "']";
}

std::string ReferenceQuery(RecordCursor& key) {
  std::string query = "/root/item_list/item";
  const DomNode node = key.WriteRecord(0);
  for (DomNode child = node.FirstChild(); child; child = child.NextSibling()) {
    query += Predicates(child, "./");
  }
  return query;
}

// Items are told apart by an `n` attribute, so a failure names them.
std::string Names(const DomNodeList& nodes) {
  std::string names;
  for (const DomNode& node : nodes) names += node.GetAttribute("n") + " ";
  return names;
}

const char* const kDocuments[] = {
    // Plain items, a case variant, and items outside /root/item_list that never match.
    "<root><item_list>"
    "<item n='1'><guid>a</guid><status>new</status></item>"
    "<item n='2'><guid>A</guid><status>new</status></item>"
    "<item n='3'><guid>b</guid><status>done</status><protocol>mail</protocol>"
    "<mail><from>F</from><subject>s</subject></mail></item>"
    "<other><item n='x1'><guid>a</guid></item></other></item_list>"
    "<item n='x2'><guid>a</guid></item></root>",
    // Texts split over several nodes, nested elements and comments inside a field, and two
    // fields of one name, either of which may match.
    "<root><item_list>"
    "<item n='1'><guid>a<!--c-->b</guid></item>"
    "<item n='2'><guid>a<x>b</x></guid><status/></item>"
    "<item n='3'><guid>x</guid><guid>ab</guid></item>"
    "<item n='4'><guid><![CDATA[a]]>b</guid><status>new</status></item>"
    "<item n='5'><status>new</status></item></item_list></root>",
    // Values made of whitespace, with a carriage return and with markup characters (loaded from
    // character references and entities), and a second item_list.
    "<root><item_list>"
    "<item n='1'><guid>&#32;&#32;</guid></item>"
    "<item n='2'><guid>a&#13;b</guid></item>"
    "<item n='3'><guid>&lt;&amp;&gt;\"</guid><status>new</status></item></item_list>"
    "<item_list><item n='4'><guid>a</guid><protocol>mail</protocol>"
    "<mail><from>F</from></mail><mail><from>G</from></mail></item>"
    "<item n='5'><guid>b</guid><protocol>mail</protocol><mail>F</mail></item></item_list>"
    "</root>",
};

struct KeyCase {
  const char* guid;
  const char* status;
  const char* from;  // a mail delivery field: the key then also names protocol "mail"
};

const KeyCase kKeys[] = {
    {"", "", ""},      {"a", "", ""},      {"A", "", ""},    {"a", "new", ""}, {"", "new", ""},
    {"ab", "", ""},    {"x", "", ""},      {"  ", "", ""},   {"a\rb", "", ""}, {"a\nb", "", ""},
    {"<&>\"", "", ""}, {"", "", "F"},      {"a", "", "G"},   {"b", "", "F"},   {"b", "done", "F"},
    {" a", "", ""},    {"%DATE%", "", ""}, {"", "done", ""},
};

class KeyMatchTest : public ScriptedNetworkFixture {};

TEST_F(KeyMatchTest, SelectsExactlyWhatTheQuerySelects) {
  int selecting = 0;
  int empty = 0;
  for (const char* text : kDocuments) {
    DomDocument document;
    ASSERT_TRUE(document.LoadXml(text));
    for (const KeyCase& c : kKeys) {
      VOICE_ITEMLIST_XML_DATA record;
      record.item.guid = c.guid;
      record.item.status = c.status;
      if (*c.from != '\0') {
        record.delivery_kind = kDeliveryMail;
        record.smtp.from = c.from;
      }
      ListCursor key(&record, 1);
      const DomNodeList expected = document.AsNode().SelectNodes(ReferenceQuery(key));
      const KeyMatch match(key);
      DomNodeList actual;
      ForEachItem(document, [&](DomNode item) {
        if (match.Matches(item)) actual.push_back(item);
        return true;
      });
      SCOPED_TRACE(std::string(text) + " key " + c.guid + "|" + c.status + "|" + c.from);
      EXPECT_EQ(Names(expected), Names(actual));
      EXPECT_TRUE(expected == actual);
      (actual.empty() ? empty : selecting) += 1;
    }
  }
  // Neither half of the comparison is vacuous.
  EXPECT_GT(selecting, 15);
  EXPECT_GT(empty, 15);
}

// Top-level values a key cannot carry are tried on every folder by the hostile-value tests; an
// apostrophe in a nested delivery field makes the whole key unusable too.
TEST_F(KeyMatchTest, NestedFieldCanMakeAKeyUnusable) {
  VOICE_ITEMLIST_XML_DATA record;
  record.delivery_kind = kDeliveryMail;
  record.smtp.subject = "don't";
  ListCursor key(&record, 1);
  EXPECT_FALSE(UsableKey(key));
}

}  // namespace
}  // namespace Foldwise
