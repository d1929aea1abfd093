#include "folders/outbox/outbox_nodes.h"

#include <string>

#include "base/path_text.h"
#include "dom/dom_scan.h"
#include "foldwise/errors.h"

namespace Foldwise {
namespace outbox {
namespace {

thread_local KeyFormMemo* current_memo = nullptr;

}  // namespace

void RemoveChildElements(DomNode parent, const char* name) {
  for (DomNode child = FirstChildElement(parent, name); child;
       child = FirstChildElement(parent, name)) {
    parent.RemoveChild(child);
  }
}

bool TrySetText(DomNode element, std::string_view text) {
  try {
    element.SetText(text);
    return true;
  } catch (const ComError&) {
    return false;
  }
}

std::string Trimmed(std::string text) {
  TrimTrailingSeparators(text);
  return text;
}

KeyFormMemo::KeyFormMemo() : previous_(current_memo) { current_memo = this; }
KeyFormMemo::~KeyFormMemo() { current_memo = previous_; }

std::string StorageFormOfKey(const std::string& path) {
  if (current_memo == nullptr) return StorageForm(path);
  auto found = current_memo->forms_.find(path);
  if (found == current_memo->forms_.end()) {
    found = current_memo->forms_.emplace(path, StorageForm(path)).first;
  }
  return found->second;
}

}  // namespace outbox
}  // namespace Foldwise
