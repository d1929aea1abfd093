#include "folders/outbox/item_match.h"

#include "dom/dom_scan.h"

namespace Foldwise {
namespace outbox {

bool PreparedKey::Matches(const DomNode& item) const {
  for (std::size_t i = 0; i < count_; ++i) {
    const Term& term = terms_[i];
    const DomNode child = FirstChildElement(item, term.name);
    if (!child) return false;
    // A stored field is compared where it lies; only a text spread over nodes is joined first.
    std::string_view stored;
    std::string joined;
    if (!PlainTextOf(child, &stored)) {
      joined = child.Text();
      stored = joined;
    }
    switch (term.compare) {
      case Compare::kExact:
        if (stored != term.value) return false;
        break;
      case Compare::kNoCase:
      case Compare::kPathAsStored:
        if (!SameIgnoringCase(stored, term.value)) return false;
        break;
      case Compare::kPath:
        if (!SameIgnoringCase(Trimmed(std::string(stored)), term.value)) return false;
        break;
    }
  }
  return true;
}

}  // namespace outbox
}  // namespace Foldwise
