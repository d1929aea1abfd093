// foldwise check DIR: every folder file of a data directory parsed and its layout checked.
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "foldwise/env.h"
#include "foldwise/xml_file_base.h"
#include "tool.h"

namespace foldwise_tool {
namespace {

// The files a data directory may hold: every folder file, then the attribute file.
std::vector<std::string> DataFiles() {
  std::vector<std::string> files;
  for (const FolderInfo& folder : Folders()) {
    files.insert(files.end(), folder.files.begin(), folder.files.end());
  }
  files.emplace_back("FolderAttr.xml");
  return files;
}

// Checks one file when it is there; false when it is absent.
bool CheckOne(const std::string& dir, const std::string& name, std::vector<Problem>* problems) {
  const std::string path = JoinFile(dir, name);
  if (Foldwise::Env::Current()->Access(path, Foldwise::kAccessExists) == ENOENT) return false;
  std::string text;
  const std::string error = ReadDataFile(path, &text);
  if (!error.empty()) {
    problems->push_back({name, "", error});
    return true;
  }
  CheckFolderFile(name, text, problems);
  return true;
}

}  // namespace

std::string FormatProblem(const Problem& problem) {
  if (problem.position.empty()) return problem.file + ": " + problem.message;
  return problem.file + ":" + problem.position + ": " + problem.message;
}

std::string InspectFolderFiles(const std::string& dir, const FolderInfo& folder) {
  std::vector<Problem> problems;
  for (const char* name : folder.files) CheckOne(dir, name, &problems);
  std::string lines;
  for (const Problem& problem : problems) lines += FormatProblem(problem) + "\n";
  return lines;
}

int RunCheck(const std::string& dir) {
  const std::string dirError = CheckDirectory(dir);
  if (!dirError.empty()) {
    std::fprintf(stderr, "foldwise check: %s\n", dirError.c_str());
    return kExitError;
  }
  std::vector<Problem> problems;
  int checked = 0;
  for (const std::string& name : DataFiles()) {
    if (CheckOne(dir, name, &problems)) ++checked;
  }
  // Files the library set aside because they did not parse: what they held is only there.
  for (const std::string& name : Foldwise::ListDamagedFiles(dir)) {
    problems.push_back({name, "",
                        "set aside because it did not parse; its entries are not in "
                        "the folder"});
  }
  for (const Problem& problem : problems) std::printf("%s\n", FormatProblem(problem).c_str());
  std::printf("%d file%s checked, %zu problem%s\n", checked, checked == 1 ? "" : "s",
              problems.size(), problems.size() == 1 ? "" : "s");
  return problems.empty() ? kExitOk : kExitProblems;
}

}  // namespace foldwise_tool
