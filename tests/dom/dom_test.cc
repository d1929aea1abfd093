// The DOM layer: reading texts and children, moving nodes, and that every failure is a
// ComError. Files of either platform are loaded by the tool's check test and saved as exact text
// by every folder's tests.
#include "dom/dom.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "dom/dom_scan.h"
#include "foldwise/errors.h"

namespace Foldwise {
namespace {

TEST(DomTest, TextJoinsDescendantsAndReadsWhitespaceAsEmpty) {
  DomDocument doc;
  ASSERT_TRUE(doc.LoadXml("<root><a>x<b>y</b>z</a><c>  v </c><d/></root>"));
  const DomNode root = doc.DocumentElement();
  EXPECT_EQ("xyz", root.SelectSingleNode("a").Text());
  EXPECT_EQ("  v ", root.SelectSingleNode("c").Text());
  EXPECT_EQ("", root.SelectSingleNode("d").Text());

  DomNode d = root.SelectSingleNode("d");
  d.SetText("new <&> text");
  EXPECT_EQ("new <&> text", d.Text());
  EXPECT_EQ(1u, d.ChildNodes().size());
  root.SelectSingleNode("a").SetText("");
  EXPECT_FALSE(root.SelectSingleNode("a").HasChildNodes());
  EXPECT_EQ(kTextNode, d.FirstChild().NodeType());
  EXPECT_EQ("\r\n\t", doc.CreateTextNode("\r\n\t").NodeValue());
  EXPECT_EQ("", doc.CreateTextNode("\r\n\t").Text());
}

TEST(DomTest, ChildLookupsSeeElementsOnly) {
  DomDocument doc;
  // A processing instruction and a comment carry the names too; only elements count.
  ASSERT_TRUE(
      doc.LoadXml("<root><?guid x?><a>1</a>\n\t<guid>g<!--c--></guid><a/><guid>h</guid>"
                  "<b><![CDATA[ ]]></b></root>"));
  DomNode root = doc.DocumentElement();
  EXPECT_EQ("g", root.ChildText("guid"));
  EXPECT_EQ("h", NextSiblingElement(FirstChildElement(root, "guid"), "guid").Text());
  // A null name stands for any element.
  EXPECT_EQ("1", FirstChildElement(root, nullptr).Text());
  EXPECT_EQ("guid", NextSiblingElement(FirstChildElement(root, "a"), nullptr).NodeName());
  const DomNode secondA = NextSiblingElement(FirstChildElement(root, "a"), "a");
  EXPECT_EQ(kElementNode, secondA.NodeType());
  EXPECT_TRUE(NextSiblingElement(secondA, "a").IsNull());
  EXPECT_TRUE(FirstChildElement(root, "guid").IsElementNamed("guid"));
  EXPECT_FALSE(FirstChildElement(root, "guid").IsElementNamed("gui"));
  EXPECT_EQ("", root.ChildText("missing"));
  EXPECT_EQ(6u, root.ChildCount());  // the loaded indentation is gone
  EXPECT_EQ(doc.AsNode(), FirstChildElement(root, "b").OwnerDocument());

  // PlainTextOf answers, in place, for a single text or CDATA child that is what Text() reads;
  // indentation and text spread over nodes are left to Text().
  std::string_view text = "unchanged";
  EXPECT_TRUE(PlainTextOf(FirstChildElement(root, "a"), &text));
  EXPECT_EQ("1", text);
  EXPECT_FALSE(PlainTextOf(FirstChildElement(root, "guid"), &text));  // text and a comment
  EXPECT_TRUE(PlainTextOf(FirstChildElement(root, "b"), &text));      // a value kept as CDATA
  EXPECT_EQ(FirstChildElement(root, "b").Text(), text);
  DomNode indented = root.AppendChild(doc.CreateElement("c"));
  indented.AppendChild(doc.CreateTextNode("\n\t\t"));
  EXPECT_FALSE(PlainTextOf(indented, &text));
  EXPECT_EQ("", indented.Text());
  // The walks chain over a null node; the node's own lookups refuse it.
  EXPECT_TRUE(FirstChildElement(DomNode(), "a").IsNull());
  EXPECT_THROW(DomNode().ChildText("a"), ComError);

  // Reading many children in one walk gives what a lookup per name gives, whatever the order
  // of the names, and empties the texts of the names no element carries.
  const char* names[] = {"b", "guid", "missing", "a", "c"};
  std::string texts[5] = {"old", "old", "old", "old", "old"};
  std::string* outs[5] = {&texts[0], &texts[1], &texts[2], &texts[3], &texts[4]};
  AssignChildTexts(root, names, outs, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(root.ChildText(names[i]), texts[i]) << names[i];
  EXPECT_EQ("", texts[2]);
}

TEST(DomTest, EveryFailureIsAComError) {
  DomDocument doc;
  ASSERT_TRUE(doc.LoadXml("<root><a>1</a></root>"));
  DomNode root = doc.DocumentElement();

  try {
    DomNode().NodeName();
    FAIL() << "a null node was used";
  } catch (const ComError& e) {
    EXPECT_EQ(kErrorPointer, e.code());
  }
  try {
    root.SelectNodes("/root/a[./b='x'y']");
    FAIL() << "a broken query was accepted";
  } catch (const ComError& e) {
    EXPECT_EQ(kErrorDomFailure, e.code());
  }
  EXPECT_THROW(root.SelectSingleNode(""), ComError);
  EXPECT_THROW(root.RemoveChild(DomNode(doc.AsNode())), ComError);
  EXPECT_THROW(doc.CreateElement(""), ComError);
  EXPECT_THROW(root.FirstChild().FirstChild().AppendChild(root), ComError);
}

TEST(DomTest, NodesMoveWithinAndAreCopiedAcrossDocuments) {
  DomDocument target;
  ASSERT_TRUE(target.LoadXml("<root><list/><other><x>1</x></other></root>"));
  DomDocument scratch;
  DomNode item = scratch.CreateElement("item");
  item.AppendChild(scratch.CreateElement("guid")).SetText("g");

  DomNode list = target.DocumentElement().SelectSingleNode("list");
  const DomNode placed = list.AppendChild(item);
  EXPECT_EQ("g", placed.SelectSingleNode("guid").Text());
  EXPECT_EQ(placed.OwnerDocument(), target.AsNode());

  // Within one document a node leaves its former parent.
  const DomNode x = target.DocumentElement().SelectSingleNode("other/x");
  list.InsertBefore(x, placed);
  EXPECT_FALSE(target.DocumentElement().SelectSingleNode("other").HasChildNodes());
  EXPECT_EQ("x", list.FirstChild().NodeName());
  EXPECT_EQ("item", list.FirstChild().NextSibling().NodeName());
}

}  // namespace
}  // namespace Foldwise
