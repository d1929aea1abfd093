// Arbitrary texts in every key and value of every operation of every family. Each input runs an
// operation twice from the family's good state: once with the text under test in one text field
// of the records it takes, once with a plain marker text there (the reference). Where the text
// is a value, the folder must store it exactly where the reference stored the marker, or refuse
// it with nothing written; where it is a key that equals no stored text, it must find and change
// exactly what the marker did: nothing it would not find without that field.
#include <algorithm>
#include <cctype>

#include "foldwise/errors.h"
#include "foldwise/xml_document.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"
#include "harness/family_table.h"

namespace Foldwise {
namespace fuzz {
namespace {

using harness::Operation;
using harness::Role;

constexpr char kMarker[] = "zq-marker";

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// |text| with every byte outside printable ASCII as \xNN, so a report shows what was tried.
std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '\\') {
      out.push_back(c);
    } else {
      static const char kHex[] = "0123456789abcdef";
      out += "\\x";
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 15]);
    }
  }
  return out;
}

struct Run {
  std::map<std::string, std::string> before, after;
  std::vector<std::pair<std::string, std::string>> stored;  // field and text, sorted
  int result = -1;
  bool raised = false;
  harness::Texts texts;
};

Run RunOnce(const Operation& op, int slot, const std::string& text, const char* scratch) {
  const std::string dir = FreshScratch(scratch);
  harness::SetupFamily(op.family, dir);
  Run run;
  run.before = Snapshot(dir);
  run.texts.Substitute(slot, text);
  try {
    run.result = op.run(dir, run.texts);
  } catch (const ComError&) {
    run.raised = true;
  }
  if (CXmlDocument::IsCacheActive()) CXmlDocument::DeactiveCacheDOMDocument(1);
  run.after = Snapshot(dir);
  for (const harness::Stored& stored : harness::ReadFamily(op.family, dir)) {
    const std::string kind = stored.server ? "server." : "";
    for (const auto& [field, value] : stored.texts) run.stored.emplace_back(kind + field, value);
    for (const std::string& value : stored.errorTexts) run.stored.emplace_back("error", value);
    run.stored.emplace_back(kind + "errors", std::to_string(stored.errors));
  }
  std::sort(run.stored.begin(), run.stored.end());
  return run;
}

// The texts |op| puts into its fields by itself, from a run without a text under test.
const std::vector<std::string>& OwnTextsOf(const Operation& op) {
  static std::map<const Operation*, std::vector<std::string>> texts;
  const auto found = texts.find(&op);
  if (found != texts.end()) return found->second;
  return texts[&op] = RunOnce(op, -1, "", "slots").texts.seen();
}

// Whether |text| may rightly behave unlike the marker: it equals a stored text (ignoring case,
// as most keys compare), or names a delivery protocol, which selects the details written.
bool MayDiffer(const std::string& text, const Run& reference) {
  const std::string lower = Lower(text);
  for (const char* protocol : {"ftp", "mail", "smtp"}) {
    if (lower == protocol) return true;
  }
  for (const auto& [field, value] : reference.stored) {
    if (Lower(value) == lower) return true;
  }
  return false;
}

std::string CheckOne(const Operation& op, int slot, const std::string& text) {
  Run fuzz = RunOnce(op, slot, text, "text");
  if (!fuzz.texts.substituted()) return "";
  const std::string where = std::string(harness::FamilyName(op.family)) + " / " + op.name +
                            (fuzz.texts.role() == Role::kKey ? " key " : " value ") +
                            fuzz.texts.field() + " = \"" + Escaped(text) + "\"";
  for (const auto& [file, bytes] : fuzz.after) {
    const std::string problem = StrictXmlProblem(bytes);
    if (!problem.empty()) return where + ": " + file + " holds " + problem;
  }
  if (text.empty() || fuzz.texts.field().find("path") != std::string::npos) return "";
  const Run reference = RunOnce(op, slot, kMarker, "reference");
  const ValueClass kind = ClassifyValue(text);
  const bool unchanged = fuzz.after == fuzz.before;
  if (fuzz.texts.role() == Role::kValue) {
    const bool stored = std::any_of(fuzz.stored.begin(), fuzz.stored.end(),
                                    [&](const auto& entry) { return entry.second == text; });
    TallyValue(std::string(harness::FamilyName(op.family)) + " / " + op.name, kind, unchanged,
               stored);
  }
  if (MayDiffer(text, reference)) return "";

  // The reference with the marker read as the text under test: what the folder should hold.
  auto expected = reference.stored;
  for (auto& entry : expected) {
    if (entry.second != kMarker) continue;
    entry.second = text;
  }
  std::sort(expected.begin(), expected.end());
  if (MustBeRefused(kind)) {
    // Refused, the operation may still do the rest of its work (the other steps of a bracket):
    // every text the folder then holds is one the reference holds too, and never this one.
    if (unchanged) return "";
    for (const auto& entry : fuzz.stored) {
      if (entry.second == text || entry.second == kMarker ||
          !std::binary_search(reference.stored.begin(), reference.stored.end(), entry)) {
        return where + ": accepted a value no XML file can carry, the folder holds " + entry.first +
               " = \"" + Escaped(entry.second) + "\"";
      }
    }
    return "";
  }
  if (fuzz.stored != expected) {
    std::string got;
    for (const auto& [field, value] : fuzz.stored) got += field + "=" + Escaped(value) + "; ";
    std::string want;
    for (const auto& [field, value] : expected) want += field + "=" + Escaped(value) + "; ";
    return where + ": the folder holds [" + got + "], expected [" + want + "]";
  }
  if (op.effect == harness::Effect::kReads &&
      (fuzz.result != reference.result || fuzz.raised != reference.raised)) {
    return where + ": found " + std::to_string(fuzz.result) +
           " where a key matching nothing finds " + std::to_string(reference.result);
  }
  return "";
}

}  // namespace

std::string CheckRecordTexts(const std::uint8_t* data, std::size_t size) {
  FakeNetwork network;
  // Rounds of: family byte, operation byte, slot byte, length byte (0..63 and a form), then the
  // text.
  const std::vector<Operation>& all = harness::AllOperations();
  std::size_t at = 0;
  for (int round = 0; round < 4 && at + 4 <= size; ++round) {
    const auto family = static_cast<harness::Family>(data[at] % harness::kFamilyCount);
    std::vector<const Operation*> ops;
    for (const Operation& op : all) {
      if (op.family == family) ops.push_back(&op);
    }
    const Operation& op = *ops[data[at + 1] % ops.size()];
    const std::vector<std::string>& own = OwnTextsOf(op);
    const int slot = own.empty() ? -1 : static_cast<int>(data[at + 2] % own.size());
    const std::size_t length = std::min<std::size_t>(data[at + 3] % 64, size - at - 4);
    const std::string bytes(reinterpret_cast<const char*>(data) + at + 4, length);
    const unsigned form = data[at + 3] >> 6;
    at += 4 + length;
    if (slot < 0) continue;
    // The top bits of the length byte make the text from the field's own text too, so keys
    // that almost match (longer, a proper prefix, or with more before) come up often.
    const std::string& mine = own[static_cast<std::size_t>(slot)];
    std::string text = bytes;
    if (form == 1) text = mine + bytes;
    if (form == 2 && mine.size() > 1) text = mine.substr(0, 1 + bytes.size() % (mine.size() - 1));
    if (form == 3) text = bytes + mine;
    std::string error = CheckOne(op, slot, text);
    if (!error.empty()) return error;
  }
  return "";
}

}  // namespace fuzz
}  // namespace Foldwise
