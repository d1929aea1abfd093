// The rule that decides which stored items a key record selects, applied by a direct walk over
// the items rather than by a query.
#ifndef FOLDWISE_ENGINE_KEY_MATCH_H_
#define FOLDWISE_ENGINE_KEY_MATCH_H_

#include <optional>
#include <string>
#include <vector>

#include "dom/dom.h"
#include "dom/dom_scan.h"
#include "engine/record_cursor.h"

namespace Foldwise {

// A key selects every item under /root/item_list that has, for each non-empty field of the key,
// an element at the same place (a delivery field inside its delivery element) whose text is
// exactly the key's: letter case counts, fields empty in the key are not compared, and a key
// with no non-empty field selects every item. Stored elements are compared by their whole text
// (all text below them, joined), and any of several same-named elements may supply it.
class KeyMatch {
 public:
  // The terms of the current record of |key|, written as its writer stores it (so with the same
  // value conversions; macros are never expanded in a key). Raises ComError when the record
  // cannot be written (an exhausted cursor, a value a folder file cannot carry) and when a value
  // holds an apostrophe: folder files have always refused such keys, whatever they hold, and a
  // host relies on that answer staying the same.
  explicit KeyMatch(RecordCursor& key);

  bool Matches(DomNode item) const;
  // The text the key asks of the item's own |name| element, or null when it asks none.
  const std::string* FieldText(const char* name) const;

 private:
  struct Term {
    std::vector<std::string> path;  // element names from the item down to the compared one
    std::string text;
  };

  void AddTerms(DomNode element, std::vector<std::string>* path);
  static bool Reaches(DomNode parent, const Term& term, std::size_t step);

  std::vector<Term> terms_;
};

// The key of the current record of |key|, or nothing when it cannot serve as one (see KeyMatch).
std::optional<KeyMatch> UsableKey(RecordCursor& key);

// Calls |visit| with every item of |document| (/root/item_list/item) in document order until it
// returns false.
template <typename Visit>
void ForEachItem(const DomDocument& document, Visit&& visit) {
  for (DomNode root = FirstChildElement(document.AsNode(), "root"); root;
       root = NextSiblingElement(root, "root")) {
    for (DomNode list = FirstChildElement(root, "item_list"); list;
         list = NextSiblingElement(list, "item_list")) {
      for (DomNode item = FirstChildElement(list, "item"); item;
           item = NextSiblingElement(item, "item")) {
        if (!visit(item)) return;
      }
    }
  }
}

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_KEY_MATCH_H_
