// Folder files that do not parse, or that parse without the folder's list, under every
// operation of the attribute, documents and outbox families: each fails (0 or false where it has
// a result) and leaves the bytes alone. MakeXML sets a file that does not parse aside and starts
// afresh; it and the host's own save (the open/close rows) may replace one that parses.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "foldwise/errors.h"
#include "foldwise/xml_document.h"
#include "harness/family_table.h"
#include "support/scripted_network.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using harness::Family;

const std::vector<std::string> kUnparseable = {
    "<?xml version='1.0'?>\r\n<!--Quillnote X-->\r\n<root><item_list><item><guid>g1</gu",  // cut
    "<root><item_list></root>",
    "not xml at all",
};
// Parses, but the attribute and documents folders find no list of theirs in it.
constexpr char kNoList[] = "<?xml version='1.0'?><root><other/></root>";

class DamagedFilesTest : public ScriptedNetworkFixture {
 protected:
  void SetUp() override {
    ScriptedNetworkFixture::SetUp();
    CXmlDocument::InitXMLDocument();
  }

  // Runs |op| on a directory holding only |file| with |content|.
  void Run(const harness::Operation& op, const std::string& file, const std::string& content) {
    SCOPED_TRACE(std::string(FamilyName(op.family)) + " / " + op.name + " / " + file + " / " +
                 content);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      std::filesystem::remove_all(entry.path());
    }
    testing::WriteText(dir.File(file), content);
    int result = -1;
    try {
      harness::Texts texts;
      result = op.run(dir.path(), texts);
    } catch (const ComError&) {
      // The documents and outbox folders report a file they cannot use this way.
    }
    if (CXmlDocument::IsCacheActive()) CXmlDocument::DeactiveCacheDOMDocument(1);
    if (op.name == "make") {
      EXPECT_EQ(std::vector<std::string>{content}, testing::TakeSetAsideContents(dir.path(), file));
      EXPECT_NE(content, testing::ReadText(dir.File(file)));
      return;
    }
    EXPECT_EQ(content, testing::ReadText(dir.File(file)));
    // Reading the switches adds IsExistXml, which a file that is there answers with 1.
    if (result != -1 && op.name != "read switches") {
      EXPECT_EQ(0, result);
    }
    ++runs;
  }

  testing::TempDir dir;
  int runs = 0;
};

TEST_F(DamagedFilesTest, NoOperationChangesAFileItCannotUse) {
  const struct {
    Family family;
    const char* file;
  } files[] = {
      {harness::kAttributes, "FolderAttr.xml"},
      {harness::kDocuments, "DocumentsFolder.xml"},
      {harness::kTypistDocuments, "DocumentsTypistFolder.xml"},
      {harness::kTypistSentItems, "SentItemsTypistFolder.xml"},
      {harness::kDocumentsSync, "DocumentsFolder.xml"},
      {harness::kDocumentsSync, "DocumentsTypistFolder.xml"},
      {harness::kOutbox, "OutBoxFolder.xml"},
      {harness::kTypistOutbox, "OutBoxTypistFolder.xml"},
  };
  for (const auto& [family, file] : files) {
    for (const harness::Operation& op : harness::AllOperations()) {
      if (op.family != family) continue;
      for (const std::string& content : kUnparseable) Run(op, file, content);
      const bool replaces = op.name == "make" || op.name.rfind("open", 0) == 0;
      if (family < harness::kOutbox && !replaces) Run(op, file, kNoList);
      if (HasFailure()) return;
    }
  }
  EXPECT_GT(runs, 150);
}

}  // namespace
}  // namespace Foldwise
