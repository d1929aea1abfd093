// Several processes adding to one outbox and one documents folder at once: each keeps the file
// locked from its load to its save, so every add is in the final files. Without the hold the
// last rename wins and most adds are lost.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "foldwise/documents_folders.h"
#include "foldwise/outbox_folders.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

constexpr int kProcesses = 4;
constexpr int kEntries = 12;

std::string Guid(int process, int entry) {
  return "{p" + std::to_string(process) + "-" + std::to_string(entry) + "}";
}

void Add(const std::string& dir, int process) {
  COutBoxFolderXML outbox;
  outbox.SetDirectory(dir);
  CDocumentsFolderXML documents;
  documents.SetDirectory(dir);
  for (int i = 0; i < kEntries; ++i) {
    OUTBOX_ITEM_XML_DATA item;
    item.guid = Guid(process, i);
    item.dictation_file_name = "d.dss";
    item.protocol = "ftp";
    outbox.AddItemFtpXML(item, OUTBOX_FTP_XML_DATA{"s", "f"});
    DOCUMENTS_ITEM_XML_DATA document;
    document.guid = Guid(process, i);
    document.document_file_name = "d.doc";
    document.protocol = "ftp";
    documents.AddItemFtpXML(document, DOCUMENTS_FTP_XML_DATA{"s", "f"}, 1);
  }
}

TEST(ConcurrentFamiliesTest, EveryAddOfEveryProcessIsKept) {
  testing::TempDir data;
  const std::string dir = data.path() + "/";
  std::vector<pid_t> writers;
  for (int p = 0; p < kProcesses; ++p) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      Add(dir, p);
      ::_exit(0);
    }
    writers.push_back(pid);
  }
  for (pid_t pid : writers) {
    int status = 0;
    ASSERT_EQ(pid, ::waitpid(pid, &status, 0));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  std::set<std::string> expected;
  for (int p = 0; p < kProcesses; ++p) {
    for (int i = 0; i < kEntries; ++i) expected.insert(Guid(p, i));
  }

  COutBoxFolderXML outbox;
  outbox.SetDirectory(dir);
  std::int32_t outboxCount = 0;
  OUTBOX_ITEMLIST_XML_DATA* outboxList = nullptr;
  outbox.GetItemListXML(&outboxCount, &outboxList);
  std::set<std::string> inOutbox;
  for (std::int32_t i = 0; i < outboxCount; ++i) {
    if (!outboxList[i].guid.empty()) inOutbox.insert(outboxList[i].guid);
  }
  outbox.DelItemListXML(outboxCount, outboxList);
  EXPECT_EQ(expected, inOutbox);

  CDocumentsFolderXML documents;
  documents.SetDirectory(dir);
  long documentsCount = 0;
  DOCUMENTS_ITEMLIST_XML_DATA* documentsList = nullptr;
  documents.GetItemListXML(&documentsCount, &documentsList);
  std::set<std::string> inDocuments;
  for (long i = 0; i < documentsCount; ++i) {
    if (!documentsList[i].guid.empty()) inDocuments.insert(documentsList[i].guid);
  }
  documents.DelItemListXML(documentsList);
  EXPECT_EQ(expected, inDocuments);
}

}  // namespace
}  // namespace Foldwise
