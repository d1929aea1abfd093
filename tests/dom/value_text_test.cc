// Values through a save and a load: carriage returns and whitespace-only values come back
// exactly, indentation still does not, and characters a folder file cannot carry are refused
// before anything changes.
#include <gtest/gtest.h>

#include <string>

#include "dom/dom.h"
#include "foldwise/errors.h"

namespace Foldwise {
namespace {

// A document <root> with indentation and one <v> holding |value>, as the folders build it.
std::string SavedWith(const std::string& value) {
  DomDocument doc;
  DomNode root = doc.AsNode().AppendChild(doc.CreateElement("root"));
  root.AppendChild(doc.CreateTextNode("\r\n\t"));
  root.AppendChild(doc.CreateElement("v")).SetText(value);
  root.AppendChild(doc.CreateTextNode("\n"));
  return doc.Serialize();
}

TEST(ValueTextTest, WhitespaceAndCarriageReturnsAreWrittenAsReferencesAndReadBack) {
  struct Case {
    std::string value;
    std::string written;
  };
  const Case cases[] = {
      {"a\rb", "a&#13;b"},
      {"a\r\nb", "a&#13;\nb"},
      {" ", "&#32;"},
      {"\t", "&#9;"},
      {"\r\n\t\t", "&#13;&#10;&#9;&#9;"},
      {" <&> \r", " &lt;&amp;&gt; &#13;"},
  };
  for (const Case& c : cases) {
    const std::string saved = SavedWith(c.value);
    EXPECT_EQ("<root>\r\n\t<v>" + c.written + "</v>\n</root>\r\n", saved);
    DomDocument loaded;
    ASSERT_TRUE(loaded.LoadXml(saved));
    const DomNode root = loaded.DocumentElement();
    EXPECT_EQ(c.value, root.SelectSingleNode("v").Text());
    // The indentation is dropped, the value kept; a second save gives the same text as the
    // first, less the indentation.
    EXPECT_EQ(1u, root.ChildNodes().size());
    EXPECT_EQ("<root><v>" + c.written + "</v></root>\r\n", loaded.Serialize());
    // XPath compares the exact value.
    EXPECT_TRUE(root.SelectSingleNode("v[.='" + c.value + "']"));
  }
}

TEST(ValueTextTest, OrdinaryValuesAndOldFilesAreWrittenAsBefore) {
  EXPECT_EQ("<root>\r\n\t<v>a b\tc\nd &amp; &lt;e&gt;</v>\n</root>\r\n",
            SavedWith("a b\tc\nd & <e>"));
  // Raw whitespace stays indentation, raw CR LF stays a line feed, CDATA stays CDATA; a
  // control character a file came with is kept and written back as it came.
  DomDocument doc;
  ASSERT_TRUE(
      doc.LoadXml("<root>\r\n\t<a> </a><b>x\r\ny</b><c><![CDATA[k<]]></c><d>&#1;</d></root>"));
  EXPECT_EQ("", doc.DocumentElement().SelectSingleNode("a").Text());
  EXPECT_EQ("x\ny", doc.DocumentElement().SelectSingleNode("b").Text());
  EXPECT_EQ("<root><a/><b>x\ny</b><c><![CDATA[k<]]></c><d>&#01;</d></root>\r\n", doc.Serialize());
}

TEST(ValueTextTest, CharactersAFileCannotCarryAreRefusedAndChangeNothing) {
  // NUL, other controls and the commonest broken UTF-8 are in the hostile values every folder
  // family is tried with; here the edges of the character ranges.
  const std::string refused[] = {
      "a\x1f",        "\xe0\x80\xaf",     "\xed\xb0\x80",
      "\xef\xbf\xbf", "\xf4\x90\x80\x80", "\xf8\x88\x80\x80\x80",
  };
  for (const std::string& value : refused) {
    EXPECT_FALSE(IsXmlText(value));
    DomDocument doc;
    ASSERT_TRUE(doc.LoadXml("<root a='kept'><v>kept</v></root>"));
    DomNode v = doc.DocumentElement().SelectSingleNode("v");
    EXPECT_THROW(v.SetText(value), ComError);
    EXPECT_THROW(doc.DocumentElement().SetAttribute("a", value), ComError);
    EXPECT_EQ("<root a=\"kept\"><v>kept</v></root>\r\n", doc.Serialize());
  }
  for (const std::string value : {"\t\n\r", "\x7f", "\xc2\x80", "\xef\xbf\xbd", "\xf4\x8f\xbf\xbf",
                                  "\xed\x9f\xbf", "\xee\x80\x80"}) {
    EXPECT_TRUE(IsXmlText(value)) << value;
  }
}

}  // namespace
}  // namespace Foldwise
