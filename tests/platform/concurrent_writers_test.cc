// Several processes adding, changing and deleting entries of one folder file at once, one call
// at a time or in cache brackets: every change a call reported as done is in the final file.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "foldwise/cached_folders.h"
#include "foldwise/xml_document.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using testing::TempDir;

constexpr int kProcesses = 4;
constexpr int kEntries = 24;
constexpr int kBracketSize = 4;

std::string Guid(int process, int entry) {
  return "p" + std::to_string(process) + "-" + std::to_string(entry);
}

VOICE_ITEM_XML_DATA Entry(int process, int entry) {
  VOICE_ITEM_XML_DATA item;
  item.guid = Guid(process, entry);
  item.dictation_file_name = item.guid + ".dss";
  item.status = "recorded";
  return item;
}

VOICE_ITEM_XML_DATA Key(int process, int entry) {
  VOICE_ITEM_XML_DATA key;
  key.guid = Guid(process, entry);
  return key;
}

// What one writer process reports: per entry, whether its add, change and delete succeeded.
struct Outcome {
  bool added = false;
  bool changed = false;
  bool deleted = false;
};

// The work of writer |process|: add every entry, change every second one, delete every third
// one; in brackets of a few calls each when |brackets|. Outcomes go to |report|, one line per
// entry.
void Write(const std::string& dir, int process, bool brackets, const std::string& report) {
  CVoiceFolderXML voice;
  voice.SetXmlFalePath(dir.c_str());
  std::vector<Outcome> outcomes(kEntries);
  int calls = 0;
  auto call = [&](auto&& operation) {
    if (brackets && calls % kBracketSize == 0) CXmlDocument::ActiveCacheDOMDocument();
    const bool done = operation() == 1;
    if (brackets && ++calls % kBracketSize == 0) CXmlDocument::DeactiveCacheDOMDocument(0);
    return done;
  };
  for (int i = 0; i < kEntries; ++i) {
    VOICE_ITEM_XML_DATA item = Entry(process, i);
    outcomes[i].added = call([&] { return voice.AddItemXML(item, 0); });
  }
  for (int i = 0; i < kEntries; i += 2) {
    VOICE_ITEM_XML_DATA key = Key(process, i);
    VOICE_ITEM_XML_DATA values;
    values.status = "changed";
    outcomes[i].changed = call([&] { return voice.ChangeItemXML(key, values, 0); });
  }
  for (int i = 0; i < kEntries; i += 3) {
    VOICE_ITEM_XML_DATA key = Key(process, i);
    outcomes[i].deleted = call([&] { return voice.DelItemXML(key); });
  }
  if (CXmlDocument::IsCacheActive()) CXmlDocument::DeactiveCacheDOMDocument(0);
  std::ofstream out(report);
  for (const Outcome& outcome : outcomes) {
    out << outcome.added << outcome.changed << outcome.deleted << "\n";
  }
}

class ConcurrentWritersTest : public ::testing::TestWithParam<bool> {};

TEST_P(ConcurrentWritersTest, NoReportedChangeIsLost) {
  const bool brackets = GetParam();
  TempDir data;
  TempDir reports;
  CXmlDocument::InitXMLDocument();

  // Step 1: the writers run at once.
  std::vector<pid_t> writers;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      Write(data.path(), p, brackets, reports.File(std::to_string(p)));
      ::_exit(0);
    }
    writers.push_back(pid);
  }
  for (pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  // Step 2: the final file against what the writers reported.
  CVoiceFolderXML voice;
  voice.SetXmlFalePath(data.path().c_str());
  long count = 0;
  VOICE_ITEM_XML_DATA* list = nullptr;
  ASSERT_EQ(1, voice.GetItemListXML(&count, &list));
  std::map<std::string, std::string> stored;
  for (long i = 0; i < count; ++i) stored[list[i].guid] = list[i].status;
  CVoiceFolderXML::ReleaseItemList(list);

  int reported = 0;
  for (int p = 0; p < kProcesses; ++p) {
    std::ifstream in(reports.File(std::to_string(p)));
    for (int i = 0; i < kEntries; ++i) {
      std::string line;
      ASSERT_TRUE(std::getline(in, line)) << "writer " << p << " did not finish";
      const Outcome outcome{line[0] == '1', line[1] == '1', line[2] == '1'};
      const auto found = stored.find(Guid(p, i));
      reported += outcome.added + outcome.changed + outcome.deleted;
      const bool present = found != stored.end();
      if (!outcome.added || outcome.deleted) {
        // A failed add wrote nothing; a reported deletion took the entry away.
        EXPECT_FALSE(present) << Guid(p, i);
        continue;
      }
      ASSERT_TRUE(present) << Guid(p, i) << " was added but is missing";
      if (outcome.changed) {
        EXPECT_EQ("changed", found->second) << Guid(p, i);
      }
    }
  }
  // The lock timeout is far above what these writers wait; all of them get through.
  EXPECT_EQ(kProcesses * (kEntries + kEntries / 2 + kEntries / 3), reported);
}

INSTANTIATE_TEST_SUITE_P(AloneAndInBrackets, ConcurrentWritersTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& brackets) {
                           return brackets.param ? std::string("InBrackets")
                                                 : std::string("OneCallAtATime");
                         });

}  // namespace
}  // namespace Foldwise
