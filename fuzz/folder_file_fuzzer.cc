// libFuzzer target: see CheckFolderFile in fuzz/fuzz_checks.h. A broken promise aborts, so
// libFuzzer keeps the input; copy it to fuzz/regressions/folder_file/ and the unit tests replay it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string error = Foldwise::fuzz::CheckFolderFile(data, size);
  if (!error.empty()) {
    std::fprintf(stderr, "broken promise: %s\n", error.c_str());
    std::abort();
  }
  return 0;
}
