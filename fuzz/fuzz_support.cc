#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "foldwise/xml_document.h"

namespace Foldwise {
namespace fuzz {
namespace {

namespace fs = std::filesystem;

struct ProcessSetup {
  ProcessSetup() { CXmlDocument::InitXMLDocument(); }
};

struct Tally {
  long tried[6] = {};
  long refused[6] = {};
  long stored[6] = {};
  std::set<std::string> operations;
};
Tally& Values() {
  static Tally tally;
  return tally;
}

// Decodes one UTF-8 sequence at |i|; false when it is not a valid, shortest-form scalar.
bool NextScalar(const std::string& text, std::size_t& i) {
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(i);
  int length = 0;
  unsigned scalar = 0;
  if (lead < 0x80) {
    ++i;
    return true;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    scalar = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    scalar = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    scalar = lead & 0x07u;
  } else {
    return false;
  }
  if (i + static_cast<std::size_t>(length) > text.size()) return false;
  for (int k = 1; k < length; ++k) {
    const unsigned char next = byte(i + static_cast<std::size_t>(k));
    if ((next & 0xC0u) != 0x80u) return false;
    scalar = (scalar << 6) | (next & 0x3Fu);
  }
  if ((length == 3 && scalar < 0x800) || (length == 4 && (scalar < 0x10000 || scalar > 0x10FFFF)) ||
      (scalar >= 0xD800 && scalar <= 0xDFFF) || scalar == 0xFFFE || scalar == 0xFFFF) {
    return false;
  }
  i += static_cast<std::size_t>(length);
  return true;
}

}  // namespace

ValueClass ClassifyValue(const std::string& value) {
  if (value.find('\0') != std::string::npos) return ValueClass::kNul;
  for (const char c : value) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && c != '\t' && c != '\n' && c != '\r') return ValueClass::kControl;
  }
  for (std::size_t i = 0; i < value.size();) {
    if (!NextScalar(value, i)) return ValueClass::kInvalidUtf8;
  }
  if (value.find('\r') != std::string::npos) return ValueClass::kCarriageReturn;
  if (!value.empty() && value.find_first_not_of(" \t\n\r") == std::string::npos) {
    return ValueClass::kWhitespaceOnly;
  }
  return ValueClass::kPlain;
}

const char* ClassName(ValueClass value) {
  static const char* const kNames[] = {"plain", "carriage return", "whitespace only",
                                       "NUL",   "C0 control",      "invalid UTF-8"};
  return kNames[static_cast<int>(value)];
}

bool MustBeRefused(ValueClass value) { return value >= ValueClass::kNul; }

std::string StrictXmlProblem(const std::string& bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    const auto u = static_cast<unsigned char>(bytes[i]);
    if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') return "a raw control character";
    if (!NextScalar(bytes, i)) return "invalid UTF-8";
  }
  // Character references must name characters XML 1.0 allows.
  for (std::size_t at = bytes.find("&#"); at != std::string::npos; at = bytes.find("&#", at + 2)) {
    const bool hex = at + 2 < bytes.size() && bytes[at + 2] == 'x';
    const std::size_t digits = at + (hex ? 3 : 2);
    const std::size_t end = bytes.find(';', digits);
    if (end == std::string::npos || end == digits || end - digits > 8) return "a broken reference";
    const unsigned long code =
        std::stoul(bytes.substr(digits, end - digits), nullptr, hex ? 16 : 10);
    const bool allowed = code == 0x9 || code == 0xA || code == 0xD ||
                         (code >= 0x20 && code <= 0xD7FF) || (code >= 0xE000 && code <= 0xFFFD) ||
                         (code >= 0x10000 && code <= 0x10FFFF);
    if (!allowed) return "a reference to character " + std::to_string(code);
  }
  return "";
}

std::string FreshScratch(const std::string& name) {
  static ProcessSetup setup;
  static const fs::path base =
      (fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) /
      ("foldwise-fuzz-" + std::to_string(::getpid()));
  const fs::path dir = base / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

std::map<std::string, std::string> Snapshot(const std::string& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    // One separator on every platform, so a name compares with paths joined by '/'.
    files[entry.path().generic_string()] = text.str();
  }
  return files;
}

void TallyValue(const std::string& operation, ValueClass value, bool refused, bool stored) {
  Values().operations.insert(operation);
  ++Values().tried[static_cast<int>(value)];
  if (refused) ++Values().refused[static_cast<int>(value)];
  if (stored) ++Values().stored[static_cast<int>(value)];
}

void PrintValueTally() {
  std::fprintf(stderr, "values tried in %zu operations; tried / refused / stored exactly by class:",
               Values().operations.size());
  for (int i = 0; i < 6; ++i) {
    std::fprintf(stderr, " %s %ld / %ld / %ld;", ClassName(static_cast<ValueClass>(i)),
                 Values().tried[i], Values().refused[i], Values().stored[i]);
  }
  std::fprintf(stderr, "\n");
}

}  // namespace fuzz
}  // namespace Foldwise
