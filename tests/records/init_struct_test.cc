// Every InitStruct overload brings its record back to the empty state, whatever it held: the
// item part of a list record included, and an outbox list's error array dropped, not released.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "foldwise/cached_records.h"
#include "foldwise/document_records.h"
#include "foldwise/outbox_records.h"

namespace Foldwise {
namespace {

template <typename Record>
void ExpectTextRecordResets(std::string Record::*first, std::string Record::*last) {
  Record record;
  record.*first = "first";
  record.*last = "last";
  InitStruct(record);
  EXPECT_EQ("", record.*first);
  EXPECT_EQ("", record.*last);
  InitStruct(record);  // a second reset changes nothing
  EXPECT_EQ("", record.*first);
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
void ExpectItemListResets() {
  List record;
  ItemPart(record).guid = "G";
  ItemPart(record).dictation_file_name = "d.wav";
  record.ftp.server = "ftp.example";
  record.ftp.folder = "in";
  record.smtp.subject = "S";
  record.smtp.body = "B";
  record.delivery_kind = kDeliveryMail;
  InitStruct(record);
  EXPECT_EQ("", ItemPart(record).guid);
  EXPECT_EQ("", ItemPart(record).dictation_file_name);
  EXPECT_EQ("", record.ftp.server);
  EXPECT_EQ("", record.ftp.folder);
  EXPECT_EQ("", record.smtp.subject);
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

TEST(InitStructTest, CachedFolderRecords) {
  using V = VOICE_ITEM_XML_DATA;
  ExpectTextRecordResets<V>(&V::guid, &V::protocol);
  ExpectTextRecordResets<VOICE_SMTP_XML_DATA>(&VOICE_SMTP_XML_DATA::from,
                                              &VOICE_SMTP_XML_DATA::body);
  ExpectItemListResets<VOICE_ITEMLIST_XML_DATA>();
  using S = SENTITEMS_ITEM_XML_DATA;
  ExpectTextRecordResets<S>(&S::guid, &S::time);
  ExpectTextRecordResets<SENTITEMS_SMTP_XML_DATA>(&SENTITEMS_SMTP_XML_DATA::to,
                                                  &SENTITEMS_SMTP_XML_DATA::bcc);
  ExpectItemListResets<SENTITEMS_ITEMLIST_XML_DATA>();
  using I = INBOX_TYPIST_ITEM_XML_DATA;
  ExpectTextRecordResets<I>(&I::guid, &I::document_file_path);
  ExpectItemListResets<INBOX_TYPIST_ITEMLIST_XML_DATA>();
}

TEST(InitStructTest, DocumentFolderRecords) {
  using D = DOCUMENTS_ITEM_XML_DATA;
  ExpectTextRecordResets<D>(&D::guid, &D::dictation_file_path);
  ExpectItemListResets<DOCUMENTS_ITEMLIST_XML_DATA>();
  using T = DOCUMENTS_TYPIST_ITEM_XML_DATA;
  ExpectTextRecordResets<T>(&T::To, &T::Received);
  using S = SENTITEMS_TYPIST_ITEM_XML_DATA;
  ExpectTextRecordResets<S>(&S::status, &S::time);
  ExpectItemListResets<SENTITEMS_TYPIST_ITEMLIST_XML_DATA>();
}

TEST(InitStructTest, OutboxRecords) {
  using E = OUTBOX_ERRINFO_XML_DATA;
  ExpectTextRecordResets<E>(&E::date, &E::error_message);
  ExpectTextRecordResets<OUTBOX_SMTP_XML_DATA>(&OUTBOX_SMTP_XML_DATA::to,
                                               &OUTBOX_SMTP_XML_DATA::bcc_id);
  ExpectItemListResets<OUTBOX_ITEMLIST_XML_DATA>();
  ExpectErrorsDropped<OUTBOX_ITEMLIST_XML_DATA, OUTBOX_ERRINFO_XML_DATA>();
  using R = OUTBOX_SRVINFOLIST_XML_DATA;
  ExpectTextRecordResets<R>(&R::protocol, &R::server);
  ExpectErrorsDropped<R, OUTBOX_ERRINFO_XML_DATA>();

  using M = OUTBOX_TYPIST_SMTP_XML_DATA;
  ExpectTextRecordResets<M>(&M::to, &M::bcc_address);
  ExpectItemListResets<OUTBOX_TYPIST_ITEMLIST_XML_DATA>();
  ExpectErrorsDropped<OUTBOX_TYPIST_ITEMLIST_XML_DATA, OUTBOX_TYPIST_ERRINFO_XML_DATA>();
  using T = OUTBOX_TYPIST_SRVINFOLIST_XML_DATA;
  ExpectTextRecordResets<T>(&T::protocol, &T::server);
  ExpectErrorsDropped<T, OUTBOX_TYPIST_ERRINFO_XML_DATA>();
}

}  // namespace
}  // namespace Foldwise
