// The pieces of the `foldwise` tool shared between its subcommands. The tool sees the library
// only through its public headers, as any host does.
#ifndef FOLDWISE_TOOLS_FOLDWISE_TOOL_H_
#define FOLDWISE_TOOLS_FOLDWISE_TOOL_H_

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace foldwise_tool {

using Json = nlohmann::ordered_json;

// Exit statuses: 0 success, 1 a problem found in the data (check), 2 a usage or access error.
constexpr int kExitOk = 0;
constexpr int kExitProblems = 1;
constexpr int kExitError = 2;

// One folder of a data directory as the tool names it.
struct FolderInfo {
  const char* name;                // the command-line name, e.g. "sent-items"
  const char* title;               // who keeps it, for people
  std::vector<const char*> files;  // its files, plain one first
  unsigned long bit;               // its bit in CFoldwise::ExistsXML
};

// The eight folders, in the order the tool lists them.
const std::vector<FolderInfo>& Folders();
// The folder of that command-line name; null when there is none.
const FolderInfo* FindFolder(const std::string& name);
// "voice, sent-items, ..." for usage and error texts.
std::string FolderNames();

// Joins a directory and a file name with one separator.
std::string JoinFile(const std::string& dir, const std::string& name);
// Empty when |dir| names an existing directory, else the message to print.
std::string CheckDirectory(const std::string& dir);
// Reads a file of the data directory through the library's Env. Empty on success, else the
// message to print; |contents| receives the bytes.
std::string ReadDataFile(const std::string& path, std::string* contents);

// A folder's entries (and, for the outboxes, servers) read through the public API, as JSON:
// {"folder", "directory", "entries": [...], "servers": [...]}. A folder without a file gives
// no entries and is not created. Throws std::runtime_error when the folder cannot be read.
Json ReadFolder(const std::string& dir, const FolderInfo& folder);

// Prints |rows| (objects of one shape) as an aligned table: a column per field that is non-empty
// in some row, nested objects as "parent.field", arrays as their length.
void PrintTable(const std::vector<Json>& rows, const char* emptyText);

// A problem found by the structural check of a folder file.
struct Problem {
  std::string file;
  std::string position;  // "line:column", or empty for the whole file
  std::string message;
};
// Checks one folder file's text: well-formed XML, the skeleton every folder file has, and the
// element layout of its folder. Appends what is wrong to |problems|.
void CheckFolderFile(const std::string& fileName, const std::string& text,
                     std::vector<Problem>* problems);

// Reads every present file of |folder| through the Env and checks it with CheckFolderFile:
// what a listing must know before it trusts the folder's results. Empty when all is well,
// else one line per problem.
std::string InspectFolderFiles(const std::string& dir, const FolderInfo& folder);
// "file:position: message".
std::string FormatProblem(const Problem& problem);

// The subcommands. Each returns the exit status and prints its own errors.
int RunStatus(const std::string& dir);
int RunList(const std::string& dir, const std::string& folder, bool json);
int RunCheck(const std::string& dir);
int RunDemo(const std::string& dir);

}  // namespace foldwise_tool

#endif  // FOLDWISE_TOOLS_FOLDWISE_TOOL_H_
