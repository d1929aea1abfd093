#include "folders/outbox/item_match.h"

#include "dom/dom_scan.h"

namespace Foldwise {
namespace outbox {

bool PreparedKey::Matches(const DomNode& item) const {
  for (const Term& term : terms_) {
    const DomNode child = FirstChildElement(item, term.name);
    if (!child) return false;
    const std::string stored = child.Text();
    switch (term.compare) {
      case Compare::kExact:
        if (stored != term.value) return false;
        break;
      case Compare::kNoCase:
      case Compare::kPathAsStored:
        if (!SameIgnoringCase(stored, term.value)) return false;
        break;
      case Compare::kPath:
        if (!SameIgnoringCase(Trimmed(stored), term.value)) return false;
        break;
    }
  }
  return true;
}

}  // namespace outbox
}  // namespace Foldwise
