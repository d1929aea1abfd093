// Every changing operation of every folder family under every fault a save can meet. Each row
// runs once without faults (the reference) and once with the fault armed, in the same state.
// A fault that fires must end in the family's failure result, the files byte-identical to the
// good state and no temporary file; a directory flush that fails after the rename leaves the
// save standing (the new content is already what every reader sees); a busy file is not
// written and not reported as an error.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "foldwise/errors.h"
#include "foldwise/testing/fault_env.h"
#include "foldwise/xml_document.h"
#include "harness/family_table.h"
#include "support/scripted_network.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

using harness::Effect;
using harness::Family;
using harness::Operation;
using harness::SaveFailure;
using Files = std::map<std::string, std::string>;

struct Fault {
  const char* name;
  std::function<void(testing::FaultEnv&)> arm;
  bool saveStands = false;  // the rename happened before the fault
  bool busy = false;        // another process holds the file
  // The directory refuses new names: a file that exists may still be rewritten in place, so the
  // operation either takes full effect or fails with nothing changed.
  bool inPlace = false;
};

// Whether |after| holds what |expected| does, where a file that could not be deleted may stand
// in for its absence as long as it holds no entry.
bool SameFolders(const Files& after, const Files& expected) {
  for (const auto& [name, text] : after) {
    const auto found = expected.find(name);
    if (found == expected.end() ? text.find("<item>") != std::string::npos
                                : found->second != text) {
      return false;
    }
  }
  for (const auto& entry : expected) {
    if (after.count(entry.first) == 0) return false;
  }
  return true;
}

const std::vector<Fault>& Faults() {
  static const std::vector<Fault> faults = {
      {"creating the temporary file", [](testing::FaultEnv& e) { e.fail_new_file = true; }, false,
       false, true},
      {"writing", [](testing::FaultEnv& e) { e.fail_write = true; }},
      {"flushing the file", [](testing::FaultEnv& e) { e.fail_sync = true; }},
      {"renaming", [](testing::FaultEnv& e) { e.fail_rename = true; }},
      {"flushing the directory", [](testing::FaultEnv& e) { e.fail_sync_directory = true; }, true},
      {"full disk", [](testing::FaultEnv& e) { e.disk_full_after = 40; }},
      {"read-only directory", [](testing::FaultEnv& e) { e.read_only_directory = true; }, false,
       false, true},
      {"busy file", [](testing::FaultEnv& e) { e.file_busy = true; }, false, true},
  };
  return faults;
}

Files Snapshot(const std::string& dir) {
  Files files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    files[entry.path().filename().string()] = testing::ReadText(entry.path().string());
  }
  return files;
}

void Empty(const std::string& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::filesystem::remove_all(entry.path());
  }
}

struct Outcome {
  bool raised = false;
  int result = -1;
};

Outcome RunOperation(const Operation& op, const std::string& dir) {
  Outcome outcome;
  try {
    harness::Texts texts;
    outcome.result = op.run(dir, texts);
  } catch (const ComError&) {
    outcome.raised = true;
  }
  if (CXmlDocument::IsCacheActive()) CXmlDocument::DeactiveCacheDOMDocument(1);
  return outcome;
}

class FaultTableTest : public ScriptedNetworkFixture {
 protected:
  void SetUp() override {
    ScriptedNetworkFixture::SetUp();
    CXmlDocument::InitXMLDocument();
    env.fixed_now = 1765000000;
  }

  // Runs one family's rows and prints the faults fired per operation.
  void RunFamily(Family family) {
    int rows = 0;
    for (const Operation& op : harness::AllOperations()) {
      if (op.family != family || op.effect != Effect::kChanges) continue;
      int fired = 0;
      for (const Fault& fault : Faults()) {
        SCOPED_TRACE(std::string(FamilyName(family)) + " / " + op.name + " / " + fault.name);
        fired += RunRow(op, fault);
        ++rows;
        if (HasFatalFailure()) return;
      }
      std::printf("[ faults   ] %-18s %-28s %3d faults injected\n", FamilyName(family),
                  op.name.c_str(), fired);
    }
    EXPECT_GT(rows, 0);
  }

  int RunRow(const Operation& op, const Fault& fault) {
    // The reference: the same operation on the same state, nothing armed.
    Empty(dir.path());
    harness::SetupFamily(op.family, dir.path());
    const Files good = Snapshot(dir.path());
    const Outcome reference = RunOperation(op, dir.path());
    const Files changed = Snapshot(dir.path());

    Empty(dir.path());
    harness::SetupFamily(op.family, dir.path());
    EXPECT_EQ(good, Snapshot(dir.path())) << "the good state is not reproducible";
    const int before = env.faults_injected;
    fault.arm(env);
    const Outcome outcome = RunOperation(op, dir.path());
    Disarm(env);
    const int fired = env.faults_injected - before;

    EXPECT_EQ(0, testing::CountTemporaryFiles(dir.path()));
    if (fired == 0 || fault.saveStands) {
      // The fault never touched this operation (or came after the rename): as the reference.
      EXPECT_EQ(reference.raised, outcome.raised);
      EXPECT_EQ(reference.result, outcome.result);
      EXPECT_EQ(changed, Snapshot(dir.path()));
      return fired;
    }
    const Files after = Snapshot(dir.path());
    if (fault.inPlace && SameFolders(after, changed) && !outcome.raised &&
        outcome.result == reference.result) {
      return fired;  // rewritten in place: the whole change, reported as the reference was
    }
    EXPECT_EQ(good, after) << "a failed save changed a file";
    if (fault.busy) {
      EXPECT_FALSE(outcome.raised) << "a busy file is not an error";
    } else if (harness::FailureOf(op.family) == SaveFailure::kReturnsZero) {
      EXPECT_FALSE(outcome.raised);
      if (reference.result != -1) {
        EXPECT_EQ(0, outcome.result) << "a failed save reported success";
      }
    } else {
      EXPECT_TRUE(outcome.raised) << "a failed save did not reach the host";
    }
    return fired;
  }

  static void Disarm(testing::FaultEnv& e) {
    e.fail_new_file = e.fail_write = e.fail_sync = e.fail_rename = false;
    e.fail_sync_directory = e.read_only_directory = e.file_busy = e.lock_busy = false;
    e.disk_full_after = -1;
  }

  testing::TempDir dir;
  testing::FaultEnv env;
  ScopedEnv useEnv{&env};
};

TEST_F(FaultTableTest, Voice) { RunFamily(harness::kVoice); }
TEST_F(FaultTableTest, SentItems) { RunFamily(harness::kSentItems); }
TEST_F(FaultTableTest, TypistInbox) { RunFamily(harness::kTypistInbox); }
TEST_F(FaultTableTest, Attributes) { RunFamily(harness::kAttributes); }
TEST_F(FaultTableTest, Documents) { RunFamily(harness::kDocuments); }
TEST_F(FaultTableTest, TypistDocuments) { RunFamily(harness::kTypistDocuments); }
TEST_F(FaultTableTest, TypistSentItems) { RunFamily(harness::kTypistSentItems); }
TEST_F(FaultTableTest, Outbox) { RunFamily(harness::kOutbox); }
TEST_F(FaultTableTest, TypistOutbox) { RunFamily(harness::kTypistOutbox); }
TEST_F(FaultTableTest, DocumentsSync) { RunFamily(harness::kDocumentsSync); }

}  // namespace
}  // namespace Foldwise
