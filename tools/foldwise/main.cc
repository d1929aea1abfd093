// foldwise: looks into the data directory of a dictation workflow, checks its folder files and
// fills a fresh one with a demonstration.
#include <CLI/CLI.hpp>
#include <string>

#include "tool.h"

int main(int argc, char** argv) {
  CLI::App app{
      "Inspects and checks the folder files of a Foldwise data directory.\n"
      "Exit status: 0 success, 1 problems found by check, 2 usage or access errors."};
  app.name("foldwise");
  app.require_subcommand(1);

  std::string dir;
  std::string folder;
  bool json = false;

  CLI::App* status = app.add_subcommand(
      "status", "Which folder files exist, how many entries each folder holds, the attributes");
  status->add_option("DIR", dir, "The data directory")->required();

  CLI::App* list = app.add_subcommand("list", "A folder's entries as a table or as JSON");
  list->add_option("DIR", dir, "The data directory")->required();
  list->add_option("FOLDER", folder, "One of: " + foldwise_tool::FolderNames())->required();
  list->add_flag("--json", json, "Print JSON instead of a table");

  CLI::App* check = app.add_subcommand(
      "check",
      "Parses every folder file, checks its layout and lists files set aside as damaged; exit 1 "
      "when anything is wrong");
  check->add_option("DIR", dir, "The data directory")->required();

  CLI::App* demo = app.add_subcommand(
      "demo", "Walks through the author's and the typist's workflow in a fresh directory");
  demo->add_option("DIR", dir, "A new or empty directory to fill")->required();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // CLI11 exits 0 for --help and 106 or so for usage errors; the tool keeps to its own codes.
    const int code = app.exit(e);
    return code == 0 ? foldwise_tool::kExitOk : foldwise_tool::kExitError;
  }

  if (status->parsed()) return foldwise_tool::RunStatus(dir);
  if (list->parsed()) return foldwise_tool::RunList(dir, folder, json);
  if (check->parsed()) return foldwise_tool::RunCheck(dir);
  return foldwise_tool::RunDemo(dir);
}
