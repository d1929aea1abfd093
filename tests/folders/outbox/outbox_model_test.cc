// Random operation sequences on each outbox, checked after every step against a plain list of
// deliveries in memory.
#include <strings.h>

#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "outbox_fixture.h"

namespace Foldwise {
namespace {

struct Delivery {
  std::string guid, name, protocol, date, recipient;  // recipient: mail "to" or ftp server
  std::vector<std::string> errors;
};

bool SameNoCase(const std::string& a, const std::string& b) {
  return ::strcasecmp(a.c_str(), b.c_str()) == 0;
}

// How each class's records carry a delivery: the typist's items also name a document.
template <typename Folder, typename Item>
void Fill(Item& item, const Delivery& d) {
  item.guid = d.guid;
  if constexpr (std::is_same_v<Folder, COutBoxTypistFolderXML>) {
    item.document_file_name = d.name + ".doc";
  }
  item.dictation_file_name = d.name;
  item.protocol = d.protocol;
  item.date = d.date;
}

template <typename Folder>
class OutboxModelTest : public OutboxFixture {
 protected:
  using Item = typename Folder::Item;
  using ItemList = typename Folder::ItemList;

  Folder& folder() {
    if constexpr (std::is_same_v<Folder, COutBoxFolderXML>) {
      return author;
    } else {
      return typist;
    }
  }
  std::string Pick(std::initializer_list<const char*> choices) {
    return choices
        .begin()[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
  }
  static Item ItemOf(const Delivery& d) {
    Item item;
    Fill<Folder>(item, d);
    return item;
  }
  ItemList DetailsOf(const Delivery& d) {
    ItemList key;
    Fill<Folder>(static_cast<Item&>(key), d);
    key.delivery_kind = d.protocol == "ftp" ? kDeliveryFtp : kDeliveryMail;
    key.ftp.server = d.recipient;
    key.ftp.folder = "in";
    key.smtp.to = d.recipient;
    key.smtp.subject = "s";
    key.smtp.body = "b";
    return key;
  }
  Delivery* FirstByGuid(const std::string& guid) {
    for (Delivery& d : model) {
      if (SameNoCase(d.guid, guid)) return &d;
    }
    return nullptr;
  }

  void Step() {
    const int op = std::uniform_int_distribution<int>(0, 9)(random);
    Delivery d{Pick({"g0", "g1", "G1", "g2"}), Pick({"a", "b"}), Pick({"mail", "ftp"}),
               Pick({"mon", "tue"}),           Pick({"x", "y"}), {}};
    const std::string key = Pick({"g0", "G0", "g1", "g2", "g3"});
    Delivery* first = FirstByGuid(key);
    Item keyItem;
    keyItem.guid = key;
    if (op < 3) {
      ItemList full = DetailsOf(d);
      if (d.protocol == "mail") {
        folder().AddItemSmtpXML(ItemOf(d), full.smtp);
      } else {
        folder().AddItemFtpXML(ItemOf(d), full.ftp);
      }
      model.push_back(d);
    } else if (op < 5) {
      folder().AddItemErrInfoXML(keyItem, {"d", "t", d.recipient + d.date});
      if (first != nullptr) first->errors.push_back(d.recipient + d.date);
    } else if (op == 5) {
      folder().ClearItemErrInfoXML(keyItem);
      if (first != nullptr) first->errors.clear();
    } else if (op == 6) {
      EXPECT_EQ(first != nullptr, folder().DelItemXML(keyItem));
      if (first != nullptr) model.erase(model.begin() + (first - model.data()));
    } else if (op == 7) {
      // New complete details for the protocol the item has: rewritten, history dropped.
      Item values;
      values.date = d.date;
      values.protocol = first != nullptr ? first->protocol : "mail";
      const ItemList details = DetailsOf(d);
      EXPECT_EQ(first != nullptr,
                folder().ChangeItemXML(keyItem, values, details.smtp, details.ftp));
      if (first != nullptr) {
        first->date = d.date;
        first->recipient = d.recipient;
        first->errors.clear();
      }
    } else if (op == 8) {
      Item values;
      values.date = d.date;
      EXPECT_EQ(1, folder().ChangeItemXML(keyItem, values));
      for (Delivery& each : model) {
        if (each.guid == key) each.date = d.date;  // the hook compares guids exactly
      }
    } else {
      Delivery wanted = d;
      wanted.guid = key;
      folder().DelItemXMLDetails(DetailsOf(wanted));
      for (auto it = model.begin(); it != model.end(); ++it) {
        if (SameNoCase(it->guid, key) && it->name == d.name && it->protocol == d.protocol &&
            it->recipient == d.recipient) {
          model.erase(it);
          break;
        }
      }
    }
  }

  void ExpectModel(int step) {
    std::int32_t count = -1;
    ItemList* list = nullptr;
    folder().GetItemListXML(&count, &list);
    ASSERT_EQ(static_cast<std::int32_t>(model.size()), count) << "step " << step;
    for (std::int32_t i = 0; i < count; ++i) {
      const Delivery& d = model[static_cast<std::size_t>(i)];
      const ItemList& got = list[i];
      EXPECT_EQ(d.guid, got.guid) << "step " << step;
      EXPECT_EQ(d.name, got.dictation_file_name);
      EXPECT_EQ(d.date, got.date) << "step " << step << " item " << i;
      EXPECT_EQ(d.recipient, d.protocol == "ftp" ? got.ftp.server : got.smtp.to);
      ASSERT_EQ(static_cast<std::int32_t>(d.errors.size()), got.error_count) << "step " << step;
      for (std::size_t e = 0; e < d.errors.size(); ++e) {
        EXPECT_EQ(d.errors[e], got.error_list[e].error_message);
      }
    }
    folder().DelItemListXML(count, list);
  }

  std::mt19937 random{20261206};
  std::vector<Delivery> model;
};

using Folders = ::testing::Types<COutBoxFolderXML, COutBoxTypistFolderXML>;
TYPED_TEST_SUITE(OutboxModelTest, Folders);

TYPED_TEST(OutboxModelTest, RandomOperationsAgreeWithModel) {
  for (int step = 0; step < 300; ++step) {
    this->Step();
    this->ExpectModel(step);
    if (this->HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace Foldwise
