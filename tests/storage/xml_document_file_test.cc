// The file base objects: skeletons, indentation, opening, saving and the tree operations.
#include <gtest/gtest.h>

#include <string>

#include "foldwise/errors.h"
#include "storage/xml_file.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::FileExists;
using testing::ReadText;
using testing::TempDir;
using testing::WriteText;

// An item-like file: root, item_list at depth 1 and a folder-level path at depth 2.
class ItemLikeFile : public XmlDocumentFile {
 public:
  int MakeTemplate() override {
    try {
      const DomNode root = AppendSkeleton("Quillnote VoiceFolderXML");
      const DomNode list = AddChildElement(root, "item_list", 1);
      if (!list) return 0;
      AddChildElement(list, "dictation_file_path", 2).SetText("/data");
      return 1;
    } catch (const ComError&) {
      return 0;
    }
  }
  DomNode List() { return document->AsNode().SelectSingleNode("/root/item_list"); }
  DomDocument& Doc() { return *document; }
};

std::string Visible(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\t') {
      out += "\\t";
    } else {
      out += c;
    }
  }
  return out;
}

class XmlDocumentFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

TEST_F(XmlDocumentFileTest, FirstItemFileIsWrittenWithItsIndentation) {
  const std::string path = dir_.File("VoiceFolder.xml");
  ItemLikeFile file;
  // Step 1: a missing file opens as the skeleton.
  ASSERT_EQ(1, file.OpenDocument(path));
  EXPECT_FALSE(FileExists(path));

  // Step 2: append the first item, built in a scratch document as records are.
  XmlDocumentFile builder;
  ASSERT_EQ(1, builder.CreateDocument());
  const DomNode item = builder.GetDocument()->CreateElement("item");
  builder.AddChildElement(item, "guid", 3).SetText("G");
  const DomNode appended = file.AppendChildIndented(file.List(), item, 2);
  ASSERT_TRUE(appended);

  // The closing text after the path element became the opening text of the item.
  std::string children;
  for (const DomNode& child : file.List().ChildNodes()) {
    children += child.NodeType() == kElementNode ? "<" + child.NodeName() + ">"
                                                 : Visible(child.NodeValue());
    children += "|";
  }
  EXPECT_EQ("\\r\\n\\t\\t|<dictation_file_path>|\\r\\n\\t\\t|<item>|\\r\\n\\t|", children);

  // Step 3: saved byte for byte.
  ASSERT_EQ(1, file.SaveDocument(path));
  EXPECT_EQ(
      "<?xml version=\"1.0\"?>\r\n<!--Quillnote VoiceFolderXML-->\r\n<root>\r\n\t<item_list>"
      "\r\n\t\t<dictation_file_path>/data</dictation_file_path>\r\n\t\t<item>\r\n\t\t\t<guid>G"
      "</guid>\r\n\t\t</item>\r\n\t</item_list>\r\n</root>\r\n",
      ReadText(path));
}

TEST_F(XmlDocumentFileTest, IndentationFamiliesHaveTheirLimits) {
  ItemLikeFile file;
  ASSERT_EQ(1, file.CreateDocument());
  EXPECT_EQ("\r\n\t\t\t\t\t\t\t\t\t", file.MakeIndentText(9).NodeValue());
  EXPECT_FALSE(file.MakeIndentText(10));
  EXPECT_FALSE(file.MakeIndentText(-1));

  DomNode root = file.Doc().DocumentElement();
  AppendIndent(file.Doc(), root, 5);
  EXPECT_EQ("\n\t\t\t\t\t", root.ChildNodes().back().NodeValue());
  EXPECT_THROW(AppendIndent(file.Doc(), root, 6), ComError);

  // Created once, then found again without a second indentation.
  const DomNode made = GetOrCreateChildElement(file.Doc(), root, "server_info_list", 1);
  const DomNode found = GetOrCreateChildElement(file.Doc(), root, "server_info_list", 1);
  EXPECT_EQ(made, found);
  EXPECT_EQ("\n\t", made.NextSibling().NodeValue());
  EXPECT_FALSE(made.NextSibling().NextSibling());
}

TEST_F(XmlDocumentFileTest, OpeningHandlesMissingEmptyAndBrokenFiles) {
  ItemLikeFile file;
  // A zero-length file is a missing one: the skeleton, and nothing written.
  const std::string empty = dir_.File("empty.xml");
  WriteText(empty, "");
  ASSERT_EQ(1, file.OpenDocument(empty));
  EXPECT_TRUE(file.List());
  EXPECT_EQ("", ReadText(empty));

  // A directory that does not exist (HasContent counts it as present): the load is attempted
  // and reports the failure.
  EXPECT_EQ(0, file.OpenDocument(dir_.File("no/such/dir/file.xml")));
  EXPECT_FALSE(file.GetDocument());

  // A malformed file fails and is left exactly as it was; so does one whose well-formed start
  // is cut off by a NUL, which the in-place parser would take for the end of the text.
  const std::string broken = dir_.File("broken.xml");
  for (const std::string& text :
       {std::string("<?xml version='1.0'?><root><item_list><item></root>"),
        std::string("<root><item_list/></root>\0<item>", 32)}) {
    WriteText(broken, text);
    EXPECT_EQ(0, file.OpenDocument(broken));
    EXPECT_FALSE(file.GetDocument());
    EXPECT_EQ(text, ReadText(broken));
  }
}

TEST_F(XmlDocumentFileTest, SavingAFileWithoutItemsDeletesIt) {
  const std::string path = dir_.File("VoiceFolder.xml");
  WriteText(path,
            "<?xml version='1.0'?>\r\n<!--x-->\r\n<root><item_list><dictation_file_path>/d"
            "</dictation_file_path><item><guid>1</guid></item></item_list></root>");
  XmlDocumentFile file;  // the generic rule decides
  ASSERT_EQ(1, file.OpenDocument(path));
  const DomNode item = file.FindChild(file.GetDocument()->AsNode(), "/root/item_list/item");
  ASSERT_TRUE(item);
  EXPECT_EQ(1, file.RemoveNodeAndEmptyAncestors(item));
  EXPECT_EQ(1, file.SaveDocument(path));
  EXPECT_FALSE(FileExists(path));
}

TEST_F(XmlDocumentFileTest, GenericEmptinessRule) {
  struct Case {
    const char* body;
    int remove;
  } cases[] = {
      {"<root><attribute/></root>", 1},
      {"<root><attribute><cryptical/></attribute></root>", 0},
      {"<root/>", 1},
      {"<root><item_list/></root>", 1},
      {"<root><item_list><dictation_file_path>x</dictation_file_path></item_list></root>", 1},
      {"<root><item_list><item/></item_list></root>", 0},
  };
  for (const Case& c : cases) {
    const std::string path = dir_.File("f.xml");
    WriteText(path, c.body);
    XmlDocumentFile file;
    ASSERT_EQ(1, file.OpenDocument(path)) << c.body;
    EXPECT_EQ(c.remove, file.OnAutoDelete()) << c.body;
  }
}

TEST_F(XmlDocumentFileTest, RemovalKeepsRootAndTakesEmptyAncestors) {
  const std::string path = dir_.File("f.xml");
  WriteText(path,
            "<root><item_list><item><mail><from>a</from></mail></item><item><guid>g</guid>"
            "</item></item_list></root>");
  XmlDocumentFile file;
  ASSERT_EQ(1, file.OpenDocument(path));
  const DomNode doc = file.GetDocument()->AsNode();
  // Removing the only field of the first item's mail removes mail and that item too.
  EXPECT_EQ(1, file.RemoveNodeAndEmptyAncestors(doc.SelectSingleNode("//from")));
  EXPECT_EQ(1u, doc.SelectNodes("/root/item_list/item").size());
  // Every item selected goes, then item_list with them; root stays.
  EXPECT_EQ(1, file.RemoveSelected(doc.SelectSingleNode("/root/item_list"), "item"));
  EXPECT_FALSE(doc.SelectSingleNode("/root/item_list"));
  EXPECT_TRUE(file.GetDocument()->DocumentElement());
  EXPECT_EQ(0, file.NodeDepth(file.GetDocument()->DocumentElement()));
}

// Works on a document the test made, as a folder works on the file it opened.
class AttachedFile : public XmlDocumentFile {
 public:
  void Attach(std::shared_ptr<DomDocument> doc) { document = std::move(doc); }
};

class MergeNodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_.Attach(stored_doc_);
    ASSERT_TRUE(stored_.LoadXml(
        "<root><item_list><item><guid>g</guid><status>old</status><mail><from>f</from></mail>"
        "</item></item_list></root>"));
    ASSERT_TRUE(source_.LoadXml(
        "<x><item><guid>g</guid><status></status><archive>yes</archive><sent></sent>"
        "<mail><from>new</from><subject>s</subject></mail></item></x>"));
  }
  DomNode Stored() { return stored_.AsNode().SelectSingleNode("/root/item_list/item"); }
  DomNode Source() { return source_.AsNode().SelectSingleNode("/x/item"); }

  std::shared_ptr<DomDocument> stored_doc_ = DomDocument::Create();
  DomDocument& stored_ = *stored_doc_;
  DomDocument source_;
  AttachedFile file_;
};

TEST_F(MergeNodeTest, OverwritesAddsAndDeletesFields) {
  ASSERT_EQ(1, file_.MergeNode(Stored(), Source()));
  const DomNode item = Stored();
  EXPECT_EQ("g", item.SelectSingleNode("guid").Text());
  EXPECT_FALSE(item.SelectSingleNode("status"));  // the empty value deleted the field
  EXPECT_EQ("yes", item.SelectSingleNode("archive").Text());
  EXPECT_FALSE(item.SelectSingleNode("sent"));  // empty and absent: skipped
  EXPECT_EQ("new", item.SelectSingleNode("mail/from").Text());
  EXPECT_EQ("s", item.SelectSingleNode("mail/subject").Text());
  // A moved-in field stands on its own line at the item's child depth.
  EXPECT_EQ("\r\n\t\t\t", item.SelectSingleNode("archive").PreviousSibling().NodeValue());
}

TEST_F(MergeNodeTest, RefusesElementsOfAnotherShape) {
  // A stored leaf mail cannot take a mail with fields; names must agree.
  ASSERT_TRUE(stored_.LoadXml("<root><item_list><item><mail/></item_list></root>") == false);
  ASSERT_TRUE(stored_.LoadXml("<root><item_list><item><mail/></item></item_list></root>"));
  EXPECT_EQ(0, file_.MergeNode(Stored(), Source()));
  EXPECT_EQ(0, file_.MergeNode(Stored().SelectSingleNode("mail"), Source()));
}

TEST(FileBaseTest, SetDirectoryDropsEveryTrailingSeparator) {
  XmlFileBase base;
  base.SetDirectory("C:\\data\\\\");
  EXPECT_EQ("C:\\data", base.GetDirectoryText());
  base.SetDirectory("/srv/data//");
  EXPECT_EQ("/srv/data", base.GetDirectoryText());
}

}  // namespace
}  // namespace Foldwise
