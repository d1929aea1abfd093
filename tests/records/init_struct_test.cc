// InitStruct on a list record resets the whole record. The documents and outbox list records
// extend an item record, so a list overload gone missing would still compile, bind to the item's
// overload and leave the delivery details and the error array behind. Error arrays are dropped,
// never released. (Every overload assigns a value-initialised record: plain records, which no
// other overload could take, need no test of their own.)
#include <gtest/gtest.h>

#include <type_traits>

#include "foldwise/cached_records.h"
#include "foldwise/document_records.h"
#include "foldwise/outbox_records.h"

namespace Foldwise {
namespace {

// The item part: an embedded `item` in the cached family, the base record elsewhere.
template <typename T, typename = void>
struct DerivesFromItem : std::false_type {};
template <typename T>
struct DerivesFromItem<T, std::void_t<typename T::Item>> : std::is_base_of<typename T::Item, T> {};

template <typename List>
auto& ItemPart(List& record) {
  if constexpr (DerivesFromItem<List>::value) {
    return static_cast<typename List::Item&>(record);
  } else {
    return record.item;
  }
}

template <typename List>
void ExpectItemListResets() {
  List record;
  ItemPart(record).guid = "G";
  record.ftp.server = "ftp.example";
  record.smtp.body = "B";
  record.delivery_kind = kDeliveryMail;
  InitStruct(record);
  EXPECT_EQ("", ItemPart(record).guid);
  EXPECT_EQ("", record.ftp.server);
  EXPECT_EQ("", record.smtp.body);
  EXPECT_EQ(kDeliveryNone, record.delivery_kind);
}

// An outbox list or server record's error array is dropped, not released: it is the caller's.
template <typename Record, typename Error>
void ExpectErrorsDropped() {
  Record record;
  Error errors[2];
  record.error_count = 2;
  record.error_list = errors;
  InitStruct(record);
  EXPECT_EQ(0, record.error_count);
  EXPECT_EQ(nullptr, record.error_list);
}

TEST(InitStructTest, ListRecordsOfEveryFamily) {
  ExpectItemListResets<VOICE_ITEMLIST_XML_DATA>();
  ExpectItemListResets<SENTITEMS_ITEMLIST_XML_DATA>();
  ExpectItemListResets<INBOX_TYPIST_ITEMLIST_XML_DATA>();
  ExpectItemListResets<DOCUMENTS_ITEMLIST_XML_DATA>();
  ExpectItemListResets<SENTITEMS_TYPIST_ITEMLIST_XML_DATA>();
  ExpectItemListResets<OUTBOX_ITEMLIST_XML_DATA>();
  ExpectItemListResets<OUTBOX_TYPIST_ITEMLIST_XML_DATA>();
  ExpectErrorsDropped<OUTBOX_ITEMLIST_XML_DATA, OUTBOX_ERRINFO_XML_DATA>();
  ExpectErrorsDropped<OUTBOX_TYPIST_ITEMLIST_XML_DATA, OUTBOX_TYPIST_ERRINFO_XML_DATA>();
  ExpectErrorsDropped<OUTBOX_SRVINFOLIST_XML_DATA, OUTBOX_ERRINFO_XML_DATA>();
  ExpectErrorsDropped<OUTBOX_TYPIST_SRVINFOLIST_XML_DATA, OUTBOX_TYPIST_ERRINFO_XML_DATA>();
}

}  // namespace
}  // namespace Foldwise
