// The file base objects' tree operations: the generic emptiness rule, removals and merges. How
// a file is made, indented, opened and saved is compared as exact text by each folder's tests.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "storage/xml_file.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::TempDir;
using testing::WriteText;

class XmlDocumentFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

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
