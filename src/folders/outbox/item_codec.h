// Items as elements and back: the fields of a new item, its delivery element, and the reading
// of an item into a list record.
#ifndef FOLDWISE_FOLDERS_OUTBOX_ITEM_CODEC_H_
#define FOLDWISE_FOLDERS_OUTBOX_ITEM_CODEC_H_

#include <string>

#include "dom/dom.h"
#include "dom/dom_scan.h"
#include "folders/outbox/error_list.h"
#include "folders/outbox/outbox_nodes.h"
#include "folders/outbox/outbox_schema.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace outbox {

// Removes the delivery details and the error history of an item (or the history of a server).
void RemoveDeliveryNodes(DomNode owner);

// Appends the schema's item fields to |item|, paths in storage form.
template <typename Schema>
void WriteItemFields(DomDocument& doc, DomNode item, const typename Schema::Item& record) {
  for (const auto& field : Schema::kItemFields) {
    const std::string& value = record.*field.member;
    AppendTextElement(doc, item, field.name, field.is_path ? SharePaths::ToStored(value) : value,
                      kDepthField);
  }
}

// Appends the `mail` element to |item|: the fields that are always written, and the others
// when they are given.
template <typename Schema>
void WriteMailNode(DomDocument& doc, DomNode item, const typename Schema::Smtp& mail) {
  AppendIndent(doc, item, kDepthField);
  DomNode node = item.AppendChild(doc.CreateElement("mail"));
  for (const auto& field : Schema::kMailFields) {
    const std::string& value = mail.*field.member;
    if (field.always || !value.empty()) {
      AppendTextElement(doc, node, field.name, value, kDepthDetail);
    }
  }
  AppendIndent(doc, node, kDepthField);
  AppendIndent(doc, item, kDepthEntry);
}

template <typename Schema>
void WriteFtpNode(DomDocument& doc, DomNode item, const typename Schema::Ftp& ftp) {
  AppendIndent(doc, item, kDepthField);
  DomNode node = item.AppendChild(doc.CreateElement("ftp"));
  for (const auto& field : kFtpFields<typename Schema::Ftp>) {
    AppendTextElement(doc, node, field.name, ftp.*field.member, kDepthDetail);
  }
  AppendIndent(doc, node, kDepthField);
  AppendIndent(doc, item, kDepthEntry);
}

// Appends a new item to |list|, built by |write_delivery|(doc, item).
template <typename Schema, typename WriteDelivery>
void AppendItem(DomDocument& doc, DomNode list, const typename Schema::Item& record,
                WriteDelivery&& write_delivery) {
  DomNode item = AppendElement(doc, list, "item", kDepthEntry);
  WriteItemFields<Schema>(doc, item, record);
  write_delivery(doc, item);
  AppendIndent(doc, list, kDepthListInRoot);
}

// Reads |item| into |out|: the item's texts (paths in local form), the delivery details the
// stored protocol names (the record's details stay as they were when the element is missing),
// and the error list.
template <typename Schema>
void ReadItem(const DomNode& item, typename Schema::ItemList* out) {
  typename Schema::Item& texts = *out;
  ReadFields(item, Schema::kItemFields, &texts);
  for (const auto& field : Schema::kItemFields) {
    std::string& text = texts.*field.member;
    if (field.is_path && !text.empty()) text = SharePaths::ToLocal(text);
  }
  out->delivery_kind = kDeliveryNone;
  // Stored as one of the item's fields: the text read above.
  const std::string& protocol = texts.protocol;
  if (protocol == "ftp") {
    out->delivery_kind = kDeliveryFtp;
    const DomNode ftp = FirstChildElement(item, "ftp");
    if (ftp) ReadFields(ftp, kFtpFields<typename Schema::Ftp>, &out->ftp);
  } else if (protocol == "mail") {
    out->delivery_kind = kDeliveryMail;
    const DomNode mail = FirstChildElement(item, "mail");
    if (mail) ReadFields(mail, Schema::kMailFields, &out->smtp);
  }
  ReadErrInfoList(item, &out->error_count, &out->error_list);
}

}  // namespace outbox
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_OUTBOX_ITEM_CODEC_H_
