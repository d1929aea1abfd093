// Finding items: by the identity of their dictation (and document), by their full delivery
// details, and by the matching hook's rule. A key is prepared once per operation, so the walk
// over the items converts no key path more than once.
#ifndef FOLDWISE_FOLDERS_OUTBOX_ITEM_MATCH_H_
#define FOLDWISE_FOLDERS_OUTBOX_ITEM_MATCH_H_

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "dom/dom.h"
#include "dom/dom_scan.h"
#include "folders/outbox/outbox_nodes.h"
#include "folders/outbox/outbox_schema.h"

namespace Foldwise {
namespace outbox {

// The non-empty fields of a key, ready to compare with stored items. Cheap to make: the matching
// hook makes one for every item it is asked about, so texts are referred to where the key holds
// them, and only a path converted to its storage form is kept here.
class PreparedKey {
 public:
  template <typename Item, typename Fields>
  PreparedKey(const Fields& fields, const Item& key) {
    static_assert(std::tuple_size<Fields>::value <= kMostTerms, "room for every field");
    for (const auto& field : fields) {
      const std::string& value = key.*field.member;
      if (value.empty()) continue;
      Term& term = terms_[count_++];
      term.name = field.name;
      term.compare = field.compare;
      if (field.compare == Compare::kPath || field.compare == Compare::kPathAsStored) {
        term.converted = StorageFormOfKey(value);
        term.value = term.converted;
      } else {
        term.value = value;
      }
    }
  }
  PreparedKey(const PreparedKey&) = delete;
  PreparedKey& operator=(const PreparedKey&) = delete;

  // No field given.
  bool empty() const { return count_ == 0; }
  // Every given field has its element in |item| and matches it.
  bool Matches(const DomNode& item) const;

 private:
  static constexpr std::size_t kMostTerms = 12;
  struct Term {
    const char* name = nullptr;
    Compare compare = Compare::kExact;
    std::string_view value;  // the key's own text, or |converted|
    std::string converted;
  };
  std::array<Term, kMostTerms> terms_;
  std::size_t count_ = 0;
};

// The first child of |list| matching the identity fields of |key|; none for an all-empty key.
template <typename Schema, typename Item>
DomNode FindItemNode(const DomNode& list, const Item& key) {
  const PreparedKey prepared(Schema::kIdentity, key);
  if (prepared.empty()) return DomNode();
  for (DomNode item = list.FirstChild(); item; item = item.NextSibling()) {
    if (prepared.Matches(item)) return item;
  }
  return DomNode();
}

// Whether |item| carries the delivery that a key of |kind| (1 ftp, 2 mail) describes: the
// protocol exactly, then the server and folder, or the e-mail texts, ignoring case. Empty key
// texts are no wildcards here. Other kinds pass.
template <typename ItemList>
bool SameDelivery(const DomNode& item, const ItemList& key) {
  if (key.delivery_kind != kDeliveryFtp && key.delivery_kind != kDeliveryMail) return true;
  const bool ftp = key.delivery_kind == kDeliveryFtp;
  if (item.ChildText("protocol") != (ftp ? "ftp" : "mail")) return false;
  const DomNode details = FirstChildElement(item, ftp ? "ftp" : "mail");
  if (!details) return false;
  if (ftp) {
    for (const auto& field : kFtpFields<decltype(key.ftp)>) {
      if (!SameIgnoringCase(details.ChildText(field.name), key.ftp.*field.member)) return false;
    }
    return true;
  }
  for (const auto& field : kMailDetailFields<decltype(key.smtp)>) {
    if (!SameIgnoringCase(details.ChildText(field.name), key.smtp.*field.member)) return false;
  }
  return true;
}

// The first child of |list| that matches |key| in full: its identity, then its delivery.
template <typename Schema>
DomNode FindDetailsNode(const DomNode& list, const typename Schema::ItemList& key) {
  const PreparedKey prepared(Schema::kIdentity, static_cast<const typename Schema::Item&>(key));
  if (prepared.empty()) return DomNode();
  for (DomNode item = list.FirstChild(); item; item = item.NextSibling()) {
    if (prepared.Matches(item) && SameDelivery(item, key)) return item;
  }
  return DomNode();
}

// The default matching hook: every given field of the schema's match table matches; a key with
// none matches every item. Only elements are items.
template <typename Schema>
int MatchItem(const DomNode& item, const typename Schema::Item& key) {
  if (item.NodeType() != kElementNode) return 0;
  return PreparedKey(Schema::kMatchFields, key).Matches(item) ? 1 : 0;
}

}  // namespace outbox
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_OUTBOX_ITEM_MATCH_H_
