#include "engine/key_match.h"

#include "foldwise/errors.h"

namespace Foldwise {

KeyMatch::KeyMatch(RecordCursor& key) {
  const DomNode node = key.WriteRecord(0);
  if (!node) throw ComError(kErrorDomFailure, "the key record cannot be written");
  std::vector<std::string> path;
  for (DomNode child = FirstChildElement(node, nullptr); child;
       child = NextSiblingElement(child, nullptr)) {
    AddTerms(child, &path);
  }
}

void KeyMatch::AddTerms(DomNode element, std::vector<std::string>* path) {
  path->emplace_back(NameOf(element));
  DomNode child = FirstChildElement(element, nullptr);
  if (child) {
    // A delivery element: its fields are compared where they stand inside it.
    for (; child; child = NextSiblingElement(child, nullptr)) AddTerms(child, path);
  } else {
    // Text() reads indentation as empty, so an element without a value adds nothing.
    std::string text = element.Text();
    if (text.find('\'') != std::string::npos) {
      throw ComError(kErrorDomFailure, "a key value cannot contain an apostrophe");
    }
    if (!text.empty()) terms_.push_back({*path, std::move(text)});
  }
  path->pop_back();
}

bool KeyMatch::Reaches(DomNode parent, const Term& term, std::size_t step) {
  const char* name = term.path[step].c_str();
  const bool last = step + 1 == term.path.size();
  for (DomNode child = FirstChildElement(parent, name); child;
       child = NextSiblingElement(child, name)) {
    if (last ? StringValueEquals(child, term.text) : Reaches(child, term, step + 1)) return true;
  }
  return false;
}

bool KeyMatch::Matches(DomNode item) const {
  for (const Term& term : terms_) {
    if (!Reaches(item, term, 0)) return false;
  }
  return true;
}

const std::string* KeyMatch::FieldText(const char* name) const {
  for (const Term& term : terms_) {
    if (term.path.size() == 1 && term.path[0] == name) return &term.text;
  }
  return nullptr;
}

std::optional<KeyMatch> UsableKey(RecordCursor& key) {
  try {
    return KeyMatch(key);
  } catch (const ComError&) {
    return std::nullopt;
  }
}

}  // namespace Foldwise
