// Every InitStruct overload empties every field of its record.
//
// The records are filled through their raw layout rather than by field name, so a field that an
// initialiser forgets is caught even though this test names no field either.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "foldwise/cached_records.h"
#include "foldwise/document_records.h"
#include "foldwise/outbox_records.h"

namespace Foldwise {
namespace {

// The text fields of a record made of texts only, in declaration order.
template <typename Record>
std::string* Texts(Record& record) {
  static_assert(sizeof(Record) % sizeof(std::string) == 0, "a record of texts only");
  return reinterpret_cast<std::string*>(&record);
}
template <typename Record>
constexpr size_t TextCount() {
  return sizeof(Record) / sizeof(std::string);
}

template <typename Record>
void FillTexts(Record& record) {
  for (size_t i = 0; i < TextCount<Record>(); ++i) Texts(record)[i] = "value " + std::to_string(i);
}

template <typename Record>
::testing::AssertionResult AllTextsEmpty(Record& record) {
  for (size_t i = 0; i < TextCount<Record>(); ++i) {
    if (!Texts(record)[i].empty()) {
      return ::testing::AssertionFailure()
             << "text field " << i << " kept '" << Texts(record)[i] << "'";
    }
  }
  return ::testing::AssertionSuccess();
}

template <typename Record>
void ExpectTextRecordResets(size_t expected_texts) {
  EXPECT_EQ(expected_texts, TextCount<Record>());
  Record record;
  FillTexts(record);
  InitStruct(record);
  EXPECT_TRUE(AllTextsEmpty(record));
  InitStruct(record);  // a second reset changes nothing
  EXPECT_TRUE(AllTextsEmpty(record));
}

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
void ExpectItemListResets(size_t item, size_t ftp, size_t mail) {
  List record;
  FillTexts(ItemPart(record));
  FillTexts(record.ftp);
  FillTexts(record.smtp);
  record.delivery_kind = kDeliveryMail;
  InitStruct(record);
  EXPECT_EQ(item, TextCount<std::remove_reference_t<decltype(ItemPart(record))>>());
  EXPECT_EQ(ftp, TextCount<decltype(record.ftp)>());
  EXPECT_EQ(mail, TextCount<decltype(record.smtp)>());
  EXPECT_TRUE(AllTextsEmpty(ItemPart(record)));
  EXPECT_TRUE(AllTextsEmpty(record.ftp));
  EXPECT_TRUE(AllTextsEmpty(record.smtp));
  EXPECT_EQ(kDeliveryNone, record.delivery_kind);
}

template <typename List, typename Error>
void ExpectOutboxListResets(size_t item, size_t mail) {
  ExpectItemListResets<List>(item, 2, mail);
  List record;
  Error errors[2];
  record.error_count = 2;
  record.error_list = errors;
  InitStruct(record);
  EXPECT_EQ(0, record.error_count);
  EXPECT_EQ(nullptr, record.error_list);  // dropped, not released: the array is the caller's
}

template <typename ServerList, typename Error>
void ExpectServerListResets() {
  ServerList record;
  Error errors[1];
  record.protocol = "mail";
  record.server = "smtp.example";
  record.error_count = 1;
  record.error_list = errors;
  InitStruct(record);
  EXPECT_TRUE(record.protocol.empty());
  EXPECT_TRUE(record.server.empty());
  EXPECT_EQ(0, record.error_count);
  EXPECT_EQ(nullptr, record.error_list);
}

TEST(InitStructTest, CachedFolderRecords) {
  ExpectTextRecordResets<VOICE_ITEM_XML_DATA>(9);
  ExpectTextRecordResets<VOICE_FTP_XML_DATA>(2);
  ExpectTextRecordResets<VOICE_SMTP_XML_DATA>(3);
  ExpectItemListResets<VOICE_ITEMLIST_XML_DATA>(9, 2, 3);
  ExpectTextRecordResets<SENTITEMS_ITEM_XML_DATA>(9);
  ExpectTextRecordResets<SENTITEMS_FTP_XML_DATA>(2);
  ExpectTextRecordResets<SENTITEMS_SMTP_XML_DATA>(6);
  ExpectItemListResets<SENTITEMS_ITEMLIST_XML_DATA>(9, 2, 6);
  ExpectTextRecordResets<INBOX_TYPIST_ITEM_XML_DATA>(9);
  ExpectTextRecordResets<INBOX_TYPIST_FTP_XML_DATA>(2);
  ExpectTextRecordResets<INBOX_TYPIST_SMTP_XML_DATA>(3);
  ExpectItemListResets<INBOX_TYPIST_ITEMLIST_XML_DATA>(9, 2, 3);
}

TEST(InitStructTest, DocumentFolderRecords) {
  ExpectTextRecordResets<DOCUMENTS_ITEM_XML_DATA>(8);
  ExpectTextRecordResets<DOCUMENTS_FTP_XML_DATA>(2);
  ExpectTextRecordResets<DOCUMENTS_SMTP_XML_DATA>(3);
  ExpectItemListResets<DOCUMENTS_ITEMLIST_XML_DATA>(8, 2, 3);
  ExpectTextRecordResets<DOCUMENTS_TYPIST_ITEM_XML_DATA>(8);
  ExpectTextRecordResets<SENTITEMS_TYPIST_ITEM_XML_DATA>(9);
  ExpectTextRecordResets<SENTITEMS_TYPIST_FTP_XML_DATA>(2);
  ExpectTextRecordResets<SENTITEMS_TYPIST_SMTP_XML_DATA>(6);
  ExpectItemListResets<SENTITEMS_TYPIST_ITEMLIST_XML_DATA>(9, 2, 6);
}

TEST(InitStructTest, OutboxRecords) {
  ExpectTextRecordResets<OUTBOX_ITEM_XML_DATA>(6);
  ExpectTextRecordResets<OUTBOX_FTP_XML_DATA>(2);
  ExpectTextRecordResets<OUTBOX_SMTP_XML_DATA>(8);
  ExpectTextRecordResets<OUTBOX_ERRINFO_XML_DATA>(3);
  ExpectTextRecordResets<OUTBOX_SRVINFO_XML_DATA>(2);
  ExpectOutboxListResets<OUTBOX_ITEMLIST_XML_DATA, OUTBOX_ERRINFO_XML_DATA>(6, 8);
  ExpectServerListResets<OUTBOX_SRVINFOLIST_XML_DATA, OUTBOX_ERRINFO_XML_DATA>();

  ExpectTextRecordResets<OUTBOX_TYPIST_ITEM_XML_DATA>(8);
  ExpectTextRecordResets<OUTBOX_TYPIST_FTP_XML_DATA>(2);
  ExpectTextRecordResets<OUTBOX_TYPIST_SMTP_XML_DATA>(11);
  ExpectTextRecordResets<OUTBOX_TYPIST_ERRINFO_XML_DATA>(3);
  ExpectTextRecordResets<OUTBOX_TYPIST_SRVINFO_XML_DATA>(2);
  ExpectOutboxListResets<OUTBOX_TYPIST_ITEMLIST_XML_DATA, OUTBOX_TYPIST_ERRINFO_XML_DATA>(8, 11);
  ExpectServerListResets<OUTBOX_TYPIST_SRVINFOLIST_XML_DATA, OUTBOX_TYPIST_ERRINFO_XML_DATA>();
}

}  // namespace
}  // namespace Foldwise
