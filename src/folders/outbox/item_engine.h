// The item operations of both outboxes, written once over a schema. Each runs in the common
// frame; the work lambdas say what changed, the frame decides about saving.
#ifndef FOLDWISE_FOLDERS_OUTBOX_ITEM_ENGINE_H_
#define FOLDWISE_FOLDERS_OUTBOX_ITEM_ENGINE_H_

#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include "dom/dom_scan.h"
#include "folders/outbox/error_list.h"
#include "folders/outbox/item_codec.h"
#include "folders/outbox/item_match.h"
#include "folders/outbox/outbox_frame.h"
#include "folders/outbox/outbox_schema.h"

namespace Foldwise {
namespace outbox {

// Releases a list of entries and every error list in it, on every path out of a failed read.
template <typename Entry>
struct EntryListDeleter {
  void operator()(Entry* first) const {
    ReleaseEntryList(std::numeric_limits<std::int32_t>::max(), first);
  }
};

// Reads every child of |list| with |read|(node, entry) into a new counted array; 0 and null
// for an empty list.
template <typename Entry, typename Read>
void ReadEntries(const DomNode& list, std::int32_t* count, Entry** entries, Read&& read) {
  const int children = static_cast<int>(list.ChildCount());
  *count = 0;
  *entries = nullptr;
  if (children == 0) return;
  std::unique_ptr<Entry, EntryListDeleter<Entry>> array(
      NewCountedArray<Entry>(static_cast<std::size_t>(children)));
  Entry* next = array.get();
  for (DomNode node = list.FirstChild(); node; node = node.NextSibling()) read(node, next++);
  *count = children;
  *entries = array.release();
}

template <typename Schema>
struct ItemOps {
  using Item = typename Schema::Item;
  using ItemList = typename Schema::ItemList;
  using Smtp = typename Schema::Smtp;
  using Ftp = typename Schema::Ftp;
  using ErrInfo = typename Schema::ErrInfo;

  template <typename Work>
  static bool Run(const OutboxSite& site, Work&& work) {
    return RunFrame(site, FileClaim::kBeforeSaving, kItemList, std::forward<Work>(work));
  }

  static void AddSmtp(const OutboxSite& site, const Item& item, const Smtp& mail) {
    Run(site, [&](DomDocument& doc, DomNode list) {
      AppendItem<Schema>(doc, list, item, [&](DomDocument& d, DomNode node) {
        WriteMailNode<Schema>(d, node, mail);
      });
      return Outcome::kChanged;
    });
  }

  static void AddFtp(const OutboxSite& site, const Item& item, const Ftp& ftp) {
    Run(site, [&](DomDocument& doc, DomNode list) {
      AppendItem<Schema>(doc, list, item,
                         [&](DomDocument& d, DomNode node) { WriteFtpNode<Schema>(d, node, ftp); });
      return Outcome::kChanged;
    });
  }

  // Runs |act|(doc, item) -> Outcome on the item |find|(list) gives; nothing when none.
  template <typename Find, typename Act>
  static void OnFoundItem(const OutboxSite& site, Find&& find, Act&& act) {
    Run(site, [&](DomDocument& doc, DomNode list) {
      const DomNode item = find(list);
      return item ? act(doc, item) : Outcome::kUnchanged;
    });
  }

  static auto ByIdentity(const Item& key) {
    return [&key](const DomNode& list) { return FindItemNode<Schema>(list, key); };
  }
  static auto ByDetails(const ItemList& key) {
    return [&key](const DomNode& list) { return FindDetailsNode<Schema>(list, key); };
  }

  template <typename Find>
  static void AddErrInfo(const OutboxSite& site, Find&& find, const ErrInfo& error) {
    OnFoundItem(site, std::forward<Find>(find), [&](DomDocument& doc, DomNode item) {
      AppendErrInfo(doc, item, error);
      return Outcome::kChanged;
    });
  }

  static void ClearErrInfo(const OutboxSite& site, const Item& key) {
    OnFoundItem(site, ByIdentity(key), [](DomDocument&, DomNode item) {
      if (!FirstChildElement(item, kErrorList)) return Outcome::kUnchanged;
      RemoveChildElements(item, kErrorList);
      return Outcome::kChanged;
    });
  }

  // True when an item was removed from the tree, whether or not the file was free to save.
  template <typename Find>
  static bool Delete(const OutboxSite& site, Find&& find) {
    bool removed = false;
    OnFoundItem(site, std::forward<Find>(find), [&](DomDocument&, DomNode item) {
      DomNode parent = item.ParentNode();
      if (!parent) return Outcome::kUnchanged;
      parent.RemoveChild(item);
      removed = true;
      return Outcome::kChanged;
    });
    return removed;
  }

  template <typename Find>
  static void Get(const OutboxSite& site, Find&& find, ItemList* out) {
    if (out == nullptr) return;
    OnFoundItem(site, std::forward<Find>(find), [&](DomDocument&, DomNode item) {
      ReadItem<Schema>(item, out);
      return Outcome::kUnchanged;
    });
  }

  static void GetList(const OutboxSite& site, std::int32_t* count, ItemList** list) {
    if (count == nullptr || list == nullptr) return;
    *count = 0;
    *list = nullptr;
    Run(site, [&](DomDocument&, DomNode items) {
      ReadEntries(items, count, list,
                  [](const DomNode& node, ItemList* entry) { ReadItem<Schema>(node, entry); });
      return Outcome::kUnchanged;
    });
  }

  // Whether every text |steps| would take from |values| can be stored (IsXmlText): a change
  // holding one that cannot is refused whole, whether or not an item matches.
  template <typename Steps>
  static bool AreStorable(const Steps& steps, const Item& values) {
    for (const auto& step : steps) {
      if (!IsXmlText(values.*step.member)) return false;
    }
    return true;
  }

  // The four-record change of the first item whose dictation matches |key|.
  static bool Change(const OutboxSite& site, const Item& key, const Item& values, const Smtp& mail,
                     const Ftp& ftp) {
    if (!AreStorable(Schema::kChangeSteps, values)) return false;
    bool changed = false;
    Run(site, [&](DomDocument& doc, DomNode list) {
      const DomNode item = FindItemNode<Schema>(list, key);
      if (!item) return Outcome::kUnchanged;
      for (const auto& step : Schema::kChangeSteps) {
        const std::string& value = values.*step.member;
        if (value.empty()) continue;
        const DomNode child = FirstChildElement(item, step.name);
        if (!child) {
          if (step.presence == Presence::kOptional) continue;
          return Outcome::kFailed;
        }
        if (step.presence == Presence::kProtocol) {
          if (child.Text() != value) {
            if (!TrySetText(child, value)) return Outcome::kFailed;
            RemoveDeliveryNodes(item);
          }
          RewriteDelivery(doc, item, value, mail, ftp);
        } else if (!TrySetText(child, step.is_path ? SharePaths::ToStored(value) : value)) {
          return Outcome::kFailed;
        }
      }
      changed = true;
      return Outcome::kChanged;
    });
    return changed;
  }

  // New complete details for the protocol the item now has replace its delivery element, and
  // with it the error history, even when the protocol stayed the same.
  static void RewriteDelivery(DomDocument& doc, DomNode item, const std::string& protocol,
                              const Smtp& mail, const Ftp& ftp) {
    if (protocol == "mail" && !mail.to.empty() && !mail.subject.empty() && !mail.body.empty()) {
      RemoveDeliveryNodes(item);
      WriteMailNode<Schema>(doc, item, mail);
    } else if (protocol == "ftp" && !ftp.folder.empty() && !ftp.server.empty()) {
      RemoveDeliveryNodes(item);
      WriteFtpNode<Schema>(doc, item, ftp);
    }
  }

  // Applies |steps| to every item |find|(items, key, index) yields, creating missing fields.
  // 1 when the file was free, loaded and every write succeeded (also when nothing matched).
  template <typename Steps, typename Find>
  static int ChangeEach(const OutboxSite& site, const Steps& steps, const Item& key,
                        const Item& values, Find&& find) {
    if (!AreStorable(steps, values)) return 0;
    KeyFormMemo memo;
    const bool done =
        RunFrame(site, FileClaim::kBeforeLoading, kItemList, [&](DomDocument& doc, DomNode list) {
          const DomNodeList items = list.ChildNodes();
          std::int32_t index = -1;
          // Every match uses up at least one position, so there are never more rounds than
          // items; a matching hook that hands back a node without moving on cannot loop forever.
          for (std::size_t round = 0; round < items.size(); ++round) {
            ++index;
            const DomNode item = find(items, key, index);
            if (item.IsNull()) break;
            for (const auto& step : steps) {
              std::string text;
              if (step.assign == Assign::kIfGiven) {
                const std::string& value = values.*step.member;
                if (value.empty()) continue;
                text = step.is_path ? SharePaths::ToStored(value) : value;
              }
              const DomNode child = GetOrCreateChildElement(doc, item, step.name, kDepthField);
              if (!TrySetText(child, text)) return Outcome::kFailed;
            }
          }
          return Outcome::kChanged;
        });
    return done ? 1 : 0;
  }

  // The default hook of FindMatchingNode, over whichever MatchItemNode the object has.
  template <typename Match>
  static DomNode FindMatching(const DomNodeList& list, const Item& key, std::int32_t& index,
                              Match&& match) {
    for (std::size_t i = index < 0 ? 0 : static_cast<std::size_t>(index); i < list.size(); ++i) {
      if (match(list[i], key)) {
        index = static_cast<std::int32_t>(i);
        return list[i];
      }
    }
    return DomNode();
  }
};

}  // namespace outbox
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_OUTBOX_ITEM_ENGINE_H_
