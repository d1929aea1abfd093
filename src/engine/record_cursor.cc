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

std::string RecordCursor::BuildQuery() {
  const DomNode node = WriteRecord(0);
  if (!node) return std::string();
  std::string query = "/root/item_list/item";
  for (DomNode child = node.FirstChild(); child; child = child.NextSibling()) {
    query += BuildPredicates(child, "./");
  }
  return query;
}

bool RecordCursor::IsUsableKey() {
  try {
    return !BuildQuery().empty();
  } catch (const ComError&) {
    return false;
  }
}

std::string RecordCursor::BuildPredicates(DomNode element, const std::string& prefix) {
  std::string predicates;
  if (HasElementChild(element)) {
    const std::string nested = prefix + element.NodeName() + "/";
    for (DomNode child = element.FirstChild(); child; child = child.NextSibling()) {
      if (IsElementNode(child)) predicates += BuildPredicates(child, nested);
    }
    return predicates;
  }
  // Indentation text reads empty and so adds nothing, as does an element without text.
  const std::string name = element.NodeName();
  const std::string text = element.Text();
  if (name.empty() || text.empty()) return predicates;
  if (text.find('\'') != std::string::npos) {
    throw ComError(kErrorDomFailure, "a key value cannot contain an apostrophe");
  }
  return "[" + prefix + name + "='" + text + "']";
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
