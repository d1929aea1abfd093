// The outbox of the author (OutBoxFolder.xml) and of the typist (OutBoxTypistFolder.xml):
// deliveries queued for e-mail or FTP, each with a numbered error list, and a list of delivery
// servers with error lists of their own.
//
// Every operation loads the file, works on the tree, saves the file when it changed something
// (and no other process holds it) and drops the tree; no document is kept between operations.
// A missing or empty file is first written from the template; a file that does not parse is
// never touched. Failures that find nothing end an operation quietly. A DOM failure inside an
// operation leaves it as ComError, and then nothing has been written; a value a file cannot
// carry (see the README) is such a failure, and makes the operations with a result answer false
// or 0 instead.
//
// Arrays handed out (item lists, server lists, error lists) belong to the library: give them
// back to DelItemListXML, DelServerInfoListXML or DelDataErrInfoXML, which accept null.
#ifndef FOLDWISE_OUTBOX_FOLDERS_H_
#define FOLDWISE_OUTBOX_FOLDERS_H_

#include <cstdint>
#include <vector>

#include "foldwise/export.h"
#include "foldwise/outbox_records.h"
#include "foldwise/xml_file_base.h"

namespace Foldwise {

// The matching hooks take nodes of the library's DOM. The DOM is not part of the host API, so
// its node type is only declared here: a host that overrides a hook builds against the
// library's sources (and links the static library: the shared one keeps the hooks hidden),
// every other host never needs the definition. Nodes are passed by const reference and
// returned by value, which an incomplete type allows in a declaration.
class DomNode;
using DomNodeList = std::vector<DomNode>;

// The record types of one outbox.
struct FOLDWISE_EXPORT OutboxRecords {
  using Item = OUTBOX_ITEM_XML_DATA;
  using ItemList = OUTBOX_ITEMLIST_XML_DATA;
  using Smtp = OUTBOX_SMTP_XML_DATA;
  using Ftp = OUTBOX_FTP_XML_DATA;
  using ErrInfo = OUTBOX_ERRINFO_XML_DATA;
  using SrvInfo = OUTBOX_SRVINFO_XML_DATA;
  using SrvInfoList = OUTBOX_SRVINFOLIST_XML_DATA;
};

struct FOLDWISE_EXPORT OutboxTypistRecords {
  using Item = OUTBOX_TYPIST_ITEM_XML_DATA;
  using ItemList = OUTBOX_TYPIST_ITEMLIST_XML_DATA;
  using Smtp = OUTBOX_TYPIST_SMTP_XML_DATA;
  using Ftp = OUTBOX_TYPIST_FTP_XML_DATA;
  using ErrInfo = OUTBOX_TYPIST_ERRINFO_XML_DATA;
  using SrvInfo = OUTBOX_TYPIST_SRVINFO_XML_DATA;
  using SrvInfoList = OUTBOX_TYPIST_SRVINFOLIST_XML_DATA;
};

// The operations both outboxes share, over the records of one of them. Items are identified by
// the identity of their dictation: guid, dictation_file_name and dictation_file_path, and for
// the typist also document_file_name and document_file_path; every given field must match,
// ignoring case, paths in storage form. A key with none of them given finds nothing.
template <typename Records>
class FOLDWISE_EXPORT BasicOutBoxFolderXML : public XmlFileBase {
 public:
  using Item = typename Records::Item;
  using ItemList = typename Records::ItemList;
  using Smtp = typename Records::Smtp;
  using Ftp = typename Records::Ftp;
  using ErrInfo = typename Records::ErrInfo;
  using SrvInfo = typename Records::SrvInfo;
  using SrvInfoList = typename Records::SrvInfoList;

  ~BasicOutBoxFolderXML() override;

  // Writes a fresh file from the template, replacing any file of that name; one that does not
  // parse is first set aside as <file>.damaged-<UTC time> (and left alone when it cannot be).
  void MakeXML();
  // Appends an item with its e-mail (or FTP) details; adding twice gives two items.
  void AddItemSmtpXML(Item item, Smtp mail);
  void AddItemFtpXML(Item item, Ftp ftp);
  // Records one error, numbered from 1, on the first item that matches |key|.
  void AddItemErrInfoXML(Item key, ErrInfo error);
  // Drops the error list of the first matching item; the next error is number 1 again.
  void ClearItemErrInfoXML(Item key);
  // Removes the first matching item. True when one was removed from the tree, even when the
  // file could not be written because another process held it.
  bool DelItemXML(Item key);
  // Sets the non-empty fields of |values| on the first matching item. A new protocol, or new
  // complete details for the item's protocol, replace its delivery element and drop its error
  // history. False when nothing matches or a field to set is missing; then nothing is written.
  bool ChangeItemXML(Item key, Item values, Smtp mail, Ftp ftp);
  // Sets the non-empty fields of |values| on every item MatchItemNode accepts, creating missing
  // fields; never touches delivery details or errors. 1 when the file was free, loaded and
  // written (also when nothing matched); 0 otherwise.
  int ChangeItemXML(const Item& key, const Item& values);
  // Fills |*out| from the first matching item (its error_list is the caller's to release);
  // leaves it untouched when nothing matches.
  void GetItemXML(Item key, ItemList* out);
  // One element per child of the item list: *count 0 and *list null when there is none.
  void GetItemListXML(std::int32_t* count, ItemList** list);
  // Releases an error list; null does nothing.
  void DelDataErrInfoXML(ErrInfo* list);
  // Releases the error lists of the first |count| elements, then the array; null does nothing.
  void DelItemListXML(std::int32_t count, ItemList* list);

  // The details forms identify one delivery: the item as above and, when |key| has a
  // delivery_kind of 1 (ftp) or 2 (mail), the protocol and the server and folder, or the to,
  // cc, bcc, subject and body texts, compared ignoring case, empty texts included.
  void GetItemXMLDetails(ItemList key, ItemList* out);
  void DelItemXMLDetails(ItemList key);
  void AddItemErrInfoXMLDetails(ItemList key, ErrInfo error);

  // Servers are identified by protocol and server name ignoring case; an all-empty key matches
  // nothing. A change that alters either text drops the server's error history.
  void AddServerInfoXML(SrvInfo server);
  void AddServerInfoErrInfoXML(SrvInfo key, ErrInfo error);
  void ClearServerInfoErrInfoXML(SrvInfo key);
  void DelServerInfoXML(SrvInfo key);
  void ChangeServerInfoXML(SrvInfo key, SrvInfo values);
  void GetServerInfoXML(SrvInfo key, SrvInfoList* out);
  // Every server; *count and *list are left as they were when the file has no server list.
  void GetServerInfoListXML(std::int32_t* count, SrvInfoList** list);
  void DelServerInfoListXML(std::int32_t count, SrvInfoList* list);

  // From |index| (negative counts as 0) on, the first node of |list| that MatchItemNode
  // accepts, its position stored in |index|; null, |index| unchanged, when none does.
  FOLDWISE_NO_EXPORT virtual DomNode FindMatchingNode(const DomNodeList& list, const Item& key,
                                                      std::int32_t& index);
  // 1 when every non-empty field of |key| matches the item: guid exactly, paths in storage
  // form, the other texts ignoring case. The author compares guid, dictation_file_name,
  // dictation_file_path and protocol; the typist all eight fields. An all-empty key matches.
  FOLDWISE_NO_EXPORT virtual int MatchItemNode(const DomNode& item, const Item& key);

 protected:
  BasicOutBoxFolderXML();
  BasicOutBoxFolderXML(const BasicOutBoxFolderXML&) = default;
  BasicOutBoxFolderXML& operator=(const BasicOutBoxFolderXML&) = default;
};

extern template class BasicOutBoxFolderXML<OutboxRecords>;
extern template class BasicOutBoxFolderXML<OutboxTypistRecords>;

// The author's outbox, OutBoxFolder.xml.
class FOLDWISE_EXPORT COutBoxFolderXML : public BasicOutBoxFolderXML<OutboxRecords> {
 public:
  COutBoxFolderXML();
  ~COutBoxFolderXML() override;
  COutBoxFolderXML(const COutBoxFolderXML&) = default;
  COutBoxFolderXML& operator=(const COutBoxFolderXML&) = default;
};

// The typist's outbox, OutBoxTypistFolder.xml: items carry the typed document beside the
// dictation it belongs to, and e-mail details carry the recipients' addresses. The four-record
// change skips a missing date or time instead of failing.
class FOLDWISE_EXPORT COutBoxTypistFolderXML : public BasicOutBoxFolderXML<OutboxTypistRecords> {
 public:
  COutBoxTypistFolderXML();
  ~COutBoxTypistFolderXML() override;
  COutBoxTypistFolderXML(const COutBoxTypistFolderXML&) = default;
  COutBoxTypistFolderXML& operator=(const COutBoxTypistFolderXML&) = default;

  // Unlinks typed documents from their dictation: on every item MatchItemNode accepts, sets the
  // non-empty fields of |values| and empties dictation_file_name and dictation_file_path
  // whatever |values| holds. Results as the by-reference ChangeItemXML.
  int DelLinkXML(const Item& key, const Item& values);
};

}  // namespace Foldwise

#endif  // FOLDWISE_OUTBOX_FOLDERS_H_
