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

// The classes of values the tally counts. The first three must round-trip exactly; the others
// no XML 1.0 file can carry, so every operation must refuse them and change nothing. The
// carriage return and whitespace-only classes once came back altered (as "\n" and as empty).
enum class ValueClass {
  kPlain,
  kCarriageReturn,
  kWhitespaceOnly,
  kNul,
  kControl,  // C0 controls other than tab, line feed and carriage return
  kInvalidUtf8,
};
ValueClass ClassifyValue(const std::string& value);
const char* ClassName(ValueClass value);
// Whether no folder may store a value of this class.
bool MustBeRefused(ValueClass value);

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
