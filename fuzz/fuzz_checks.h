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

// The first byte picks a folder file; the rest becomes its content. Then every operation of
// that folder's family runs on it: nothing may crash, and after each a non-empty file that does
// not parse must still be there byte-identical, or set aside as <file>.damaged-<time>.
std::string CheckFolderFile(const std::uint8_t* data, std::size_t size);

// The bytes pick a family, one of its operations, a text field of the records that operation
// takes, and a text (several rounds); see record_text_checks.cc. A value must be stored exactly
// where a plain one would be, or refused with nothing written; a key equal to no stored text
// must find and change no more than a key that matches nothing. No file may ever hold what a
// strict XML reader rejects.
std::string CheckRecordTexts(const std::uint8_t* data, std::size_t size);

// Counts of values tried, refused and stored, by class, and of the operations that took them,
// for the report of a fuzzing run.
void PrintValueTally();

}  // namespace fuzz
}  // namespace Foldwise

#endif  // FOLDWISE_FUZZ_FUZZ_CHECKS_H_
