// Values an attacker or a careless host might hand to any folder operation, each with what the
// library promises for it: it round-trips exactly, or it is refused and nothing changes.
#ifndef FOLDWISE_TESTS_SUPPORT_HOSTILE_VALUES_H_
#define FOLDWISE_TESTS_SUPPORT_HOSTILE_VALUES_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Foldwise {
namespace testing {

struct HostileValue {
  const char* label;
  std::string text;
  bool storable;    // round-trips as a value; otherwise refused
  bool apostrophe;  // storable, but an XPath key cannot carry it
};

inline std::vector<HostileValue> HostileValues() {
  using std::string;
  return {
      {"or-literal", "' or '1'='1", true, true},
      {"lone apostrophe", "'", true, true},
      {"quotes", "a\"b\"", true, false},
      {"closing bracket", "x]", true, false},
      {"union", "x'] | //item | x['", true, true},
      {"pipe and slashes", "|//item", true, false},
      {"markup", "<item><guid>a</guid></item>&amp;&#13;", true, false},
      {"NUL then or-literal", string("a\0' or 'x'='x", 13), false, false},
      {"NUL inside", string("a\0b", 3), false, false},
      {"NUL alone", string(1, '\0'), false, false},
      {"very long", string(70000, 'v') + "|end", true, false},
      {"carriage return", "a\rb", true, false},
      {"CR LF", "a\r\nb", true, false},
      {"CR alone", "\r", true, false},
      {"space", " ", true, false},
      {"tab", "\t", true, false},
      {"line feed", "\n", true, false},
      {"indentation look-alike", "\r\n\t\t", true, false},
      {"padded", "  a  ", true, false},
      {"control", "a\x01z", false, false},
      {"escape", "\x1b[0m", false, false},
      {"DEL", "a\x7fz", true, false},
      {"invalid UTF-8 byte", "a\xff", false, false},
      {"truncated UTF-8", "a\xc3", false, false},
      {"overlong slash", "\xc0\xaf", false, false},
      {"UTF-16 surrogate", "\xed\xa0\x80", false, false},
      {"U+FFFE", "\xef\xbf\xbe", false, false},
      {"valid UTF-8", "\xc3\xa9t\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x8e\xa4", true, false},
  };
}

// Hands each value, under its label, to |storable| or |refused| as it is one or the other; stops
// at the first failure, since later values would only repeat it.
template <typename Storable, typename Refused>
void ForEachHostileValue(Storable storable, Refused refused) {
  for (const HostileValue& value : HostileValues()) {
    SCOPED_TRACE(value.label);
    if (value.storable) {
      storable(value);
    } else {
      refused(value);
    }
    if (::testing::Test::HasFailure()) return;
  }
}

}  // namespace testing
}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_SUPPORT_HOSTILE_VALUES_H_
