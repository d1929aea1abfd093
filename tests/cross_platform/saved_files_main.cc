// Runs every changing operation of every folder family, each in a directory of its own under
// the directory it is given, with a fixed clock and a scripted network, and leaves the folder
// files there. scripts/test-windows.sh runs it from the Linux build and from the Windows build
// under Wine and compares the two trees byte for byte: the same operations must save the same
// bytes on both platforms.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "foldwise/location.h"
#include "foldwise/network_services.h"
#include "foldwise/testing/fake_network_services.h"
#include "foldwise/testing/fault_env.h"
#include "foldwise/xml_document.h"
#include "harness/family_table.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <empty output directory>\n", argv[0]);
    return 2;
  }
  namespace fs = std::filesystem;
  using namespace Foldwise;
  testing::FaultEnv env;
  env.fixed_now = 1765000000;  // 2025-12-06 05:46:40 UTC
  ScopedEnv useEnv(&env);
  testing::FakeNetworkServices net;
  ScopedNetworkServices useNet(&net);
  CXmlDocument::InitXMLDocument();

  int index = 0;
  int failed = 0;
  for (const harness::Operation& op : harness::AllOperations()) {
    if (op.effect == harness::Effect::kReads) continue;
    // Relative, so that no stored path names the machine's own directories.
    const fs::path dir = fs::path(argv[1]) / std::to_string(index++);
    fs::create_directories(dir);
    try {
      harness::SetupFamily(op.family, dir.string());
      harness::Texts texts;
      op.run(dir.string(), texts);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s %s: %s\n", harness::FamilyName(op.family), op.name.c_str(),
                   e.what());
      ++failed;
    }
    NetworkPathResolver::DiscardInstance();
    CLocalComputerName::DiscardInstance();
    SharePathConverter::ForgetRememberedHostName();
  }
  std::printf("%d operations saved their files in %s\n", index, argv[1]);
  return failed == 0 ? 0 : 1;
}
