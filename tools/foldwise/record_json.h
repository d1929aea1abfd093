// The folders' records as JSON objects, fields in the order the records declare them.
#ifndef FOLDWISE_TOOLS_FOLDWISE_RECORD_JSON_H_
#define FOLDWISE_TOOLS_FOLDWISE_RECORD_JSON_H_

#include "foldwise/foldwise.h"
#include "tool.h"

namespace foldwise_tool {

Json ToJson(const Foldwise::VOICE_ITEMLIST_XML_DATA& entry);
Json ToJson(const Foldwise::SENTITEMS_ITEMLIST_XML_DATA& entry);
Json ToJson(const Foldwise::INBOX_TYPIST_ITEMLIST_XML_DATA& entry);
Json ToJson(const Foldwise::DOCUMENTS_ITEMLIST_XML_DATA& entry);
Json ToJson(const Foldwise::DOCUMENTS_TYPIST_ITEM_XML_DATA& entry);
Json ToJson(const Foldwise::SENTITEMS_TYPIST_ITEMLIST_XML_DATA& entry);
Json ToJson(const Foldwise::OUTBOX_ITEMLIST_XML_DATA& entry);
Json ToJson(const Foldwise::OUTBOX_TYPIST_ITEMLIST_XML_DATA& entry);
Json ToJson(const Foldwise::OUTBOX_SRVINFOLIST_XML_DATA& server);
Json ToJson(const Foldwise::OUTBOX_TYPIST_SRVINFOLIST_XML_DATA& server);

// True when every text of |entry| is empty: the placeholders some list operations hand out
// for the whitespace between items.
bool IsBlank(const Json& entry);

}  // namespace foldwise_tool

#endif  // FOLDWISE_TOOLS_FOLDWISE_RECORD_JSON_H_
