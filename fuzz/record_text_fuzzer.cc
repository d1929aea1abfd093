// libFuzzer target: see CheckRecordTexts in fuzz/fuzz_checks.h. A broken promise aborts, so
// libFuzzer keeps the input; copy it to fuzz/regressions/record_text/ and the unit tests replay it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_checks.h"

// The tally of values tried and refused, printed when the run ends.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::atexit(Foldwise::fuzz::PrintValueTally);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string error = Foldwise::fuzz::CheckRecordTexts(data, size);
  if (!error.empty()) {
    std::fprintf(stderr, "broken promise: %s\n", error.c_str());
    std::abort();
  }
  return 0;
}
