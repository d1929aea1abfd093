// Reads a folder through the facade's folder objects and turns its records into JSON.
#include <stdexcept>
#include <string>

#include "foldwise/foldwise.h"
#include "record_json.h"
#include "tool.h"

namespace foldwise_tool {
namespace {

using namespace Foldwise;  // NOLINT(google-build-using-namespace): record and folder names

// Appends the non-blank entries of a counted list.
template <typename Record, typename Count>
void AppendEntries(const Record* list, Count count, Json& entries) {
  for (Count i = 0; list != nullptr && i < count; ++i) {
    Json entry = ToJson(list[i]);
    if (!IsBlank(entry)) entries.push_back(std::move(entry));
  }
}

// The voice folder, the sent items and the typist inbox report failure by their result.
template <typename Folder>
Json ReadCached(Folder& folder, const char* name) {
  long count = 0;
  typename Folder::ItemList* list = nullptr;
  const int ok = folder.GetItemListXML(&count, &list);
  Json entries = Json::array();
  AppendEntries(list, count, entries);
  Folder::ReleaseItemList(list);
  if (!ok) throw std::runtime_error(std::string("cannot read the ") + name + " folder");
  return entries;
}

// The documents folders and the typist's sent items hand out one entry per child node of their
// item list, blank ones included.
template <typename Record, typename Folder>
Json ReadDirect(Folder& folder) {
  long count = 0;
  Record* list = nullptr;
  folder.GetItemListXML(&count, &list);
  Json entries = Json::array();
  AppendEntries(list, count, entries);
  folder.DelItemListXML(list);
  return entries;
}

// An outbox: its deliveries and its servers.
template <typename Folder>
void ReadOutbox(Folder& folder, Json& out) {
  std::int32_t count = 0;
  typename Folder::ItemList* list = nullptr;
  folder.GetItemListXML(&count, &list);
  Json entries = Json::array();
  AppendEntries(list, count, entries);
  folder.DelItemListXML(count, list);
  out["entries"] = std::move(entries);

  std::int32_t serverCount = 0;
  typename Folder::SrvInfoList* servers = nullptr;
  folder.GetServerInfoListXML(&serverCount, &servers);
  Json serverRows = Json::array();
  AppendEntries(servers, serverCount, serverRows);
  folder.DelServerInfoListXML(serverCount, servers);
  out["servers"] = std::move(serverRows);
}

}  // namespace

Json ReadFolder(const std::string& dir, const FolderInfo& folder) {
  Json out{{"folder", folder.name}, {"directory", dir}, {"entries", Json::array()}};
  const std::string name = folder.name;
  const bool isOutbox = name == "outbox" || name == "typist-outbox";
  if (isOutbox) out["servers"] = Json::array();
  // Reading a folder whose file is missing or empty may write the file from its template (the
  // outboxes do): a folder without content is reported empty and left as it is.
  if ((CFoldwise::ExistsXML(dir.c_str()) & folder.bit) == 0) return out;
  bool hasContent = false;
  for (const char* file : folder.files) {
    FileStatus status;
    if (Env::Current()->GetFileStatus(JoinFile(dir, file), &status) != 0 || status.size > 0) {
      hasContent = true;  // a file whose size is unknown is read and reports for itself
    }
  }
  if (!hasContent) return out;

  CFoldwise facade;
  facade.SetXmlFalePath(dir);
  try {
    if (name == "voice") out["entries"] = ReadCached(facade.voice, folder.name);
    if (name == "sent-items") out["entries"] = ReadCached(facade.sentItems, folder.name);
    if (name == "inbox") out["entries"] = ReadCached(facade.inBoxTypist, folder.name);
    if (name == "documents") {
      out["entries"] = ReadDirect<DOCUMENTS_ITEMLIST_XML_DATA>(facade.documents);
    }
    if (name == "typist-documents") {
      out["entries"] = ReadDirect<DOCUMENTS_TYPIST_ITEM_XML_DATA>(facade.documentsTypist);
    }
    if (name == "typist-sent-items") {
      out["entries"] = ReadDirect<SENTITEMS_TYPIST_ITEMLIST_XML_DATA>(facade.sentItemsTypist);
    }
    if (name == "outbox") ReadOutbox(facade.outBox, out);
    if (name == "typist-outbox") ReadOutbox(facade.outBoxTypist, out);
  } catch (const ComError& e) {
    throw std::runtime_error(std::string("cannot read the ") + folder.name +
                             " folder: " + e.description());
  }
  return out;
}

}  // namespace foldwise_tool
