// The `foldwise` tool run as a separate process, the way support staff run it: its output is
// compared with what the library's API says about the same directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "foldwise/foldwise.h"
#include "harness/family_table.h"
#include "support/temp_dir.h"

#ifdef FOLDWISE_CLI_PATH

namespace Foldwise {
namespace {

using testing::ReadText;
using testing::TempDir;
using testing::WriteText;

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class CliTest : public ::testing::Test {
 protected:
  // Runs the tool with |args|; stdout and stderr are kept apart.
  ToolRun Tool(const std::vector<std::string>& args) {
    std::string command = Quote(FOLDWISE_CLI_PATH);
    for (const std::string& arg : args) command += " " + Quote(arg);
    const std::string errFile = scratch_.File("stderr.txt");
    command += " 2>" + Quote(errFile);
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, got);
    const int wait = ::pclose(pipe);
    run.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
    run.err = ReadText(errFile);
    return run;
  }

  std::string Data() const { return scratch_.File("data"); }

  void Demo() {
    const ToolRun demo = Tool({"demo", Data()});
    ASSERT_EQ(0, demo.status) << demo.out << demo.err;
  }

  TempDir scratch_;
};

TEST_F(CliTest, DemoThenStatus) {
  // Step 1: the demo fills a directory it creates.
  Demo();
  EXPECT_EQ(0xFFul, CFoldwise::ExistsXML(Data().c_str()));

  // Step 2: status names every folder with its files and counts what the API counts.
  const ToolRun status = Tool({"status", Data()});
  ASSERT_EQ(0, status.status) << status.err;
  CVoiceFolderXML voice;
  voice.SetXmlFalePath(Data().c_str());
  const int voiceCount = voice.GetItemCountXML(nullptr);
  EXPECT_EQ(3, voiceCount);
  const std::string out = "\n" + status.out;
  const std::size_t row = out.find("\nvoice ");
  ASSERT_NE(std::string::npos, row) << status.out;
  const std::string line = out.substr(row + 1, out.find('\n', row + 1) - row - 1);
  EXPECT_NE(std::string::npos, line.find("VoiceFolder.xml VoiceEFolder.xml")) << line;
  EXPECT_NE(std::string::npos, line.find("  " + std::to_string(voiceCount))) << line;
  for (const char* name : {"sent-items", "inbox", "documents", "typist-documents",
                           "typist-sent-items", "outbox", "typist-outbox", "0xff"}) {
    EXPECT_NE(std::string::npos, status.out.find(name)) << name;
  }
  EXPECT_NE(std::string::npos, status.out.find("encryption on (version 110)")) << status.out;

  // Step 3: a second demo refuses the populated directory.
  const ToolRun again = Tool({"demo", Data()});
  EXPECT_NE(0, again.status);
  EXPECT_NE(std::string::npos, again.err.find("already holds folder files")) << again.err;
}

TEST_F(CliTest, ListJsonMatchesTheApi) {
  Demo();
  // Each folder's entries as the API lists them (blank ones left out), and how many the demo
  // leaves there (-1: any number).
  const struct {
    harness::Family family;
    const char* name;
    int entries;
  } folders[] = {{harness::kVoice, "voice", 3},
                 {harness::kSentItems, "sent-items", -1},
                 {harness::kTypistInbox, "inbox", -1},
                 {harness::kDocuments, "documents", 2},
                 {harness::kTypistDocuments, "typist-documents", -1},
                 {harness::kTypistSentItems, "typist-sent-items", -1},
                 {harness::kOutbox, "outbox", 1},
                 {harness::kTypistOutbox, "typist-outbox", -1}};
  int compared = 0;
  for (const auto& folder : folders) {
    SCOPED_TRACE(folder.name);
    const ToolRun run = Tool({"list", Data(), folder.name, "--json"});
    ASSERT_EQ(0, run.status) << run.err;
    const nlohmann::json listed = nlohmann::json::parse(run.out);
    std::vector<harness::Stored> entries[2];  // items, then an outbox's servers
    for (const harness::Stored& stored : harness::ReadFamily(folder.family, Data())) {
      entries[stored.server ? 1 : 0].push_back(stored);
    }
    if (folder.entries >= 0) {
      EXPECT_EQ(folder.entries, static_cast<int>(entries[0].size()));
    }
    const char* kLists[2] = {"entries", "servers"};
    for (int kind = 0; kind < 2; ++kind) {
      const nlohmann::json rows = listed.value(kLists[kind], nlohmann::json::array());
      ASSERT_EQ(entries[kind].size(), rows.size()) << kLists[kind];
      for (std::size_t i = 0; i < rows.size(); ++i) {
        // Every text the JSON carries under a field's name is the API's text of that field.
        for (const auto& [field, text] : entries[kind][i].texts) {
          if (!rows[i].contains(field) || !rows[i][field].is_string()) continue;
          EXPECT_EQ(text, rows[i][field].get<std::string>()) << field << " of entry " << i;
          ++compared;
        }
        // And the texts of its errors, each error's in turn.
        std::vector<std::string> errorTexts;
        for (const auto& error : rows[i].value("errors", nlohmann::json::array())) {
          for (const char* field : {"date", "time", "error_message"}) {
            errorTexts.push_back(error.at(field).get<std::string>());
          }
        }
        EXPECT_EQ(entries[kind][i].errorTexts, errorTexts) << "errors of entry " << i;
      }
    }
  }
  EXPECT_GT(compared, 50);

  // The table form shows the same entries.
  const ToolRun table = Tool({"list", Data(), "voice"});
  EXPECT_EQ(0, table.status);
  EXPECT_NE(std::string::npos, table.out.find("contract-review.$ds"));
  EXPECT_NE(std::string::npos, table.out.find("status"));
}

TEST_F(CliTest, CheckFindsATruncatedFile) {
  Demo();
  // Step 1: what the library wrote is clean.
  const ToolRun clean = Tool({"check", Data()});
  EXPECT_EQ(0, clean.status) << clean.out;
  EXPECT_NE(std::string::npos, clean.out.find("10 files checked, 0 problems")) << clean.out;

  // Step 2: a file cut short is named, with the position where it ends.
  const std::string path = Data() + "/DocumentsFolder.xml";
  const std::string text = ReadText(path);
  WriteText(path, text.substr(0, text.size() / 2));
  const ToolRun halved = Tool({"check", Data()});
  EXPECT_EQ(1, halved.status) << halved.out;
  EXPECT_NE(std::string::npos, halved.out.find("DocumentsFolder.xml:")) << halved.out;
  EXPECT_NE(std::string::npos, halved.out.find("1 problem")) << halved.out;
  // Cut just before the list closes: the position is the end of the file.
  const std::string cut = text.substr(0, text.find("</item_list>"));
  WriteText(path, cut);
  const std::size_t lines = std::count(cut.begin(), cut.end(), '\n');
  const std::size_t column = cut.size() - cut.rfind('\n');
  const ToolRun damaged = Tool({"check", Data()});
  EXPECT_EQ(1, damaged.status) << damaged.out;
  EXPECT_NE(std::string::npos,
            damaged.out.find("DocumentsFolder.xml:" + std::to_string(lines + 1) + ":" +
                             std::to_string(column) + ": the file ends inside <item_list>"))
      << damaged.out;

  // Step 3: listing the damaged folder refuses and says why; other folders still list.
  const ToolRun list = Tool({"list", Data(), "documents"});
  EXPECT_NE(0, list.status);
  EXPECT_NE(std::string::npos, list.err.find("DocumentsFolder.xml")) << list.err;
  EXPECT_EQ(0, Tool({"list", Data(), "voice"}).status);

  // Step 4: a wrong document element and a stray element are layout problems.
  WriteText(path,
            "<?xml version=\"1.0\"?>\n<root>\n<item_list><item/></item_list>\n<extra/>\n"
            "</root>\n");
  WriteText(Data() + "/FolderAttr.xml", "<attributes/>");
  const ToolRun layout = Tool({"check", Data()});
  EXPECT_EQ(1, layout.status);
  EXPECT_NE(std::string::npos, layout.out.find("DocumentsFolder.xml:4:1: unexpected <extra>"))
      << layout.out;
  EXPECT_NE(std::string::npos, layout.out.find("FolderAttr.xml:1:1:")) << layout.out;

  // Step 5: a new folder file made over the damaged one sets it aside, and check names it.
  WriteText(path, cut);
  CDocumentsFolderXML documents;
  documents.SetDirectory(Data());
  documents.MakeXML();
  const ToolRun aside = Tool({"check", Data()});
  EXPECT_EQ(1, aside.status);
  EXPECT_NE(std::string::npos, aside.out.find("DocumentsFolder.xml.damaged-")) << aside.out;
  EXPECT_NE(std::string::npos, aside.out.find("set aside because it did not parse")) << aside.out;
}

TEST_F(CliTest, CheckReadsFilesAsTheLibraryWritesThem) {
  TempDir dir;
  // Written on Windows: byte-order mark, CRLF, a single-quoted declaration, empty elements,
  // references. Clean.
  WriteText(dir.File("VoiceFolder.xml"),
            "\xEF\xBB\xBF<?xml version='1.0'?>\r\n<!--Quillnote VoiceFolderXML-->\r\n<root>\r\n"
            "\t<item_list>\r\n\t\t<dictation_file_path>C:\\Dictations</dictation_file_path>\r\n"
            "\t\t<item><guid>{A}</guid><status>R&amp;D &#228;&#xE4;</status><mail/>"
            "<![CDATA[<raw>]]></item>\r\n\t</item_list>\r\n</root>\r\n");
  WriteText(dir.File("OutBoxFolder.xml"), "");  // left empty by a busy-check: an empty folder
  const ToolRun clean = Tool({"check", dir.path()});
  EXPECT_EQ(0, clean.status) << clean.out;
  EXPECT_NE(std::string::npos, clean.out.find("2 files checked, 0 problems")) << clean.out;
  const ToolRun voice = Tool({"list", dir.path(), "voice", "--json"});
  EXPECT_EQ(0, voice.status) << voice.err;
  EXPECT_EQ("R&D \u00e4\u00e4", nlohmann::json::parse(voice.out)["entries"][0]["status"]);
  // Looking at the empty outbox leaves it empty (reading it through the API would not).
  EXPECT_EQ(0, Tool({"list", dir.path(), "outbox"}).status);
  EXPECT_EQ(0, Tool({"status", dir.path()}).status);
  EXPECT_EQ("", ReadText(dir.File("OutBoxFolder.xml")));

  // Each fault is found where it is.
  const struct {
    const char* text;
    const char* expected;
  } faults[] = {
      {"<root>\n<item_list></item>", ".xml:2:12: </item> closes <item_list>"},
      {"<root><item_list/>\n&bogus;</root>", ".xml:2:1: unknown reference &bogus;"},
      {"<root><item_list/></root>\n<root/>", ".xml:2:1: content after the root element"},
      {"<root a=1><item_list/></root>", ".xml:1:9: expected a quoted value for attribute a"},
      {"<!-- a -- b --><root/>", ".xml:1:8: \"--\" inside a comment"},
      {"<root><item_list/><item_list/></root>", ".xml:1:1: <root> has 2 <item_list>"},
  };
  for (const auto& fault : faults) {
    WriteText(dir.File("VoiceFolder.xml"), fault.text);
    const ToolRun run = Tool({"check", dir.path()});
    EXPECT_EQ(1, run.status) << fault.text;
    EXPECT_NE(std::string::npos, run.out.find(std::string("VoiceFolder") + fault.expected))
        << fault.text << "\n"
        << run.out;
  }
}

TEST_F(CliTest, UsageErrorsExitNonZero) {
  TempDir empty;
  // An unknown folder name lists the known ones.
  const ToolRun unknown = Tool({"list", empty.path(), "drafts"});
  EXPECT_EQ(2, unknown.status);
  EXPECT_NE(std::string::npos, unknown.err.find("unknown folder \"drafts\"")) << unknown.err;
  EXPECT_NE(std::string::npos, unknown.err.find("typist-sent-items")) << unknown.err;

  // A missing directory is named by every command that reads one.
  const std::string missing = empty.File("missing");
  for (const char* command : {"status", "check"}) {
    const ToolRun run = Tool({command, missing});
    EXPECT_EQ(2, run.status) << command;
    EXPECT_NE(std::string::npos, run.err.find(missing)) << command << ": " << run.err;
  }
  EXPECT_EQ(2, Tool({"list", missing, "voice"}).status);
  WriteText(empty.File("plain.txt"), "x");
  EXPECT_EQ(2, Tool({"status", empty.File("plain.txt")}).status);

  // No subcommand, an unknown one, a missing argument.
  EXPECT_NE(0, Tool({}).status);
  EXPECT_NE(0, Tool({"frobnicate"}).status);
  EXPECT_NE(0, Tool({"list", empty.path()}).status);

  // Every subcommand explains itself.
  for (const char* command : {"status", "list", "check", "demo"}) {
    const ToolRun help = Tool({command, "--help"});
    EXPECT_EQ(0, help.status) << command;
    EXPECT_NE(std::string::npos, help.out.find("DIR")) << command << ": " << help.out;
  }

  // An empty directory has nothing to list, and listing creates nothing.
  const ToolRun nothing = Tool({"list", empty.path(), "outbox", "--json"});
  EXPECT_EQ(0, nothing.status);
  EXPECT_EQ(0u, nlohmann::json::parse(nothing.out)["entries"].size());
  EXPECT_EQ(0ul, CFoldwise::ExistsXML(empty.path().c_str()));
}

TEST_F(CliTest, UnreadableFileIsReported) {
  Demo();
  // A directory in the file's place: present, but no process (root included) reads it.
  const std::string path = Data() + "/OutBoxFolder.xml";
  ASSERT_EQ(0, ::unlink(path.c_str()));
  ASSERT_EQ(0, ::mkdir(path.c_str(), 0755));
  const ToolRun list = Tool({"list", Data(), "outbox"});
  EXPECT_EQ(2, list.status);
  EXPECT_NE(std::string::npos, list.err.find("cannot read")) << list.err;
  const ToolRun status = Tool({"status", Data()});
  EXPECT_EQ(2, status.status);
  EXPECT_NE(std::string::npos, status.err.find("OutBoxFolder.xml")) << status.err;
  const ToolRun check = Tool({"check", Data()});
  EXPECT_EQ(1, check.status);
  EXPECT_NE(std::string::npos, check.out.find("OutBoxFolder.xml: cannot read")) << check.out;
}

}  // namespace
}  // namespace Foldwise

#endif  // FOLDWISE_CLI_PATH
