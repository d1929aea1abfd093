#include "engine/record_cursor.h"

#include <new>

#include "foldwise/env.h"
#include "foldwise/errors.h"

namespace Foldwise {
namespace {

constexpr char kMacroDelete[] = "%DELETE%";
constexpr char kMacroDate[] = "%DATE%";
constexpr char kMacroTime[] = "%TIME%";

// Depth of an item under the document element: root (0), item_list (1), item (2).
constexpr int kItemDepth = 2;

}  // namespace

RecordCursor::RecordCursor() {
  // Without a scratch document the cursor still exists; every write through it then fails.
  try {
    document = DomDocument::Create();
  } catch (const std::bad_alloc&) {
    document.reset();
  }
}

RecordCursor::~RecordCursor() = default;

void RecordCursor::Start(int recordCount) {
  macros = 0;
  count = recordCount;
  index = 0;
}

void RecordCursor::Advance() {
  if (index < 0) return;
  index = index + 1 < count ? index + 1 : -1;
}

DomNode RecordCursor::WriteRecord(int advance) {
  if (IsExhausted() || !document) return DomNode();
  const int current = index;
  if (advance) Advance();
  return WriteAt(current, kItemDepth);
}

int RecordCursor::ReadRecord(DomNode node, int advance) {
  if (IsExhausted()) return 0;
  const int current = index;
  if (advance) Advance();
  ReadAt(current, node);
  return 1;
}

std::string RecordCursor::TranslateValue(const std::string& value) const {
  if (!macros) return value;
  std::string expanded;
  if (value == kMacroDelete) return expanded;
  if (value == kMacroDate || value == kMacroTime) {
    Env* env = Env::Current();
    const bool formatted = value == kMacroDate ? env->FormatShortDate(env->Now(), &expanded)
                                               : env->FormatTime(env->Now(), &expanded);
    if (!formatted) expanded.clear();
    return expanded;
  }
  return value;
}

DomNode RecordCursor::NewElement(const char* name) {
  if (!document) throw ComError(kErrorPointer, "the cursor has no scratch document");
  return document->CreateElement(name);
}

}  // namespace Foldwise
