// The promises the fuzz targets check, callable from a libFuzzer target and from the unit test
// that replays the inputs kept in fuzz/regressions. Each returns an empty text when every promise
// held, else what broke.
#ifndef FOLDWISE_FUZZ_FUZZ_CHECKS_H_
#define FOLDWISE_FUZZ_FUZZ_CHECKS_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace Foldwise {
namespace fuzz {

// Value classes the library does not handle yet: it neither refuses them nor gives them back
// as they were stored. Their round-trip and refusal checks run only in a strict build
// (FOLDWISE_FUZZ_STRICT); everything else, no crash and exact key matching included, always.
enum class KnownGap {
  kNone,
  kNul,             // a NUL cuts the value (and a key) short
  kCarriageReturn,  // "\r" comes back as "\n"
  kWhitespaceOnly,  // " " or "\t" comes back empty
  kControl,         // C0 controls other than tab, line feed and carriage return
  kInvalidUtf8,     // written raw; strict XML readers reject the file
};
KnownGap ClassifyValue(const std::string& value);
const char* GapName(KnownGap gap);
bool StrictChecks();

// The first byte picks a folder file; the rest becomes its content. Then that folder's
// operations run on it: nothing may crash, and a non-empty file that does not parse must come
// out byte-identical.
std::string CheckFolderFile(const std::uint8_t* data, std::size_t size);

// The bytes pick a family, a field and a text (several rounds). The text is stored in that
// field of a new entry: it must come back exactly or be refused with nothing written. Then it
// is used as a key on a folder holding a known entry: it may match that entry only when it
// equals the entry's value (ignoring case where the family compares so).
std::string CheckRecordTexts(const std::uint8_t* data, std::size_t size);

// Counts of values tried and refused, by class, for the report of a fuzzing run.
void PrintValueTally();

}  // namespace fuzz
}  // namespace Foldwise

#endif  // FOLDWISE_FUZZ_FUZZ_CHECKS_H_
