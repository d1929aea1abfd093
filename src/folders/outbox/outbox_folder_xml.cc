// The outbox classes: every operation of both is the item, details or server engine over the
// schema of its family. Records arrive by value, as the host's contract passes them.
// NOLINTBEGIN(performance-unnecessary-value-param)
#include "folders/outbox/item_engine.h"
#include "folders/outbox/server_engine.h"
#include "foldwise/outbox_folders.h"

namespace Foldwise {
namespace {

template <typename Records>
using SchemaOf = typename outbox::SchemaFor<Records>::type;
template <typename Records>
using Items = outbox::ItemOps<SchemaOf<Records>>;
template <typename Records>
using Servers = outbox::ServerOps<SchemaOf<Records>>;

// Called from the members, which may hand over the folder's directory text.
template <typename Records>
outbox::OutboxSite Site(XmlFileBase& folder, std::string& directory) {
  return {folder, directory, SchemaOf<Records>::kFileName, SchemaOf<Records>::kIdentifier};
}

}  // namespace

template <typename Records>
BasicOutBoxFolderXML<Records>::BasicOutBoxFolderXML() = default;
template <typename Records>
BasicOutBoxFolderXML<Records>::~BasicOutBoxFolderXML() = default;

template <typename Records>
void BasicOutBoxFolderXML<Records>::MakeXML() {
  outbox::WriteTemplate(Site<Records>(*this, this->directory));
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::AddItemSmtpXML(Item item, Smtp mail) {
  Items<Records>::AddSmtp(Site<Records>(*this, this->directory), item, mail);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::AddItemFtpXML(Item item, Ftp ftp) {
  Items<Records>::AddFtp(Site<Records>(*this, this->directory), item, ftp);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::AddItemErrInfoXML(Item key, ErrInfo error) {
  Items<Records>::AddErrInfo(Site<Records>(*this, this->directory), Items<Records>::ByIdentity(key),
                             error);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::ClearItemErrInfoXML(Item key) {
  Items<Records>::ClearErrInfo(Site<Records>(*this, this->directory), key);
}

template <typename Records>
bool BasicOutBoxFolderXML<Records>::DelItemXML(Item key) {
  return Items<Records>::Delete(Site<Records>(*this, this->directory),
                                Items<Records>::ByIdentity(key));
}

template <typename Records>
bool BasicOutBoxFolderXML<Records>::ChangeItemXML(Item key, Item values, Smtp mail, Ftp ftp) {
  return Items<Records>::Change(Site<Records>(*this, this->directory), key, values, mail, ftp);
}

template <typename Records>
int BasicOutBoxFolderXML<Records>::ChangeItemXML(const Item& key, const Item& values) {
  return Items<Records>::ChangeEach(
      Site<Records>(*this, this->directory), SchemaOf<Records>::kAssignSteps, key, values,
      [this](const DomNodeList& list, const Item& k, std::int32_t& index) {
        return FindMatchingNode(list, k, index);
      });
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::GetItemXML(Item key, ItemList* out) {
  Items<Records>::Get(Site<Records>(*this, this->directory), Items<Records>::ByIdentity(key), out);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::GetItemListXML(std::int32_t* count, ItemList** list) {
  Items<Records>::GetList(Site<Records>(*this, this->directory), count, list);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::DelDataErrInfoXML(ErrInfo* list) {
  ReleaseCountedArray(list);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::DelItemListXML(std::int32_t count, ItemList* list) {
  outbox::ReleaseEntryList(count, list);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::GetItemXMLDetails(ItemList key, ItemList* out) {
  Items<Records>::Get(Site<Records>(*this, this->directory), Items<Records>::ByDetails(key), out);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::DelItemXMLDetails(ItemList key) {
  Items<Records>::Delete(Site<Records>(*this, this->directory), Items<Records>::ByDetails(key));
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::AddItemErrInfoXMLDetails(ItemList key, ErrInfo error) {
  Items<Records>::AddErrInfo(Site<Records>(*this, this->directory), Items<Records>::ByDetails(key),
                             error);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::AddServerInfoXML(SrvInfo server) {
  Servers<Records>::Add(Site<Records>(*this, this->directory), server);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::AddServerInfoErrInfoXML(SrvInfo key, ErrInfo error) {
  Servers<Records>::AddErrInfo(Site<Records>(*this, this->directory), key, error);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::ClearServerInfoErrInfoXML(SrvInfo key) {
  Servers<Records>::ClearErrInfo(Site<Records>(*this, this->directory), key);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::DelServerInfoXML(SrvInfo key) {
  Servers<Records>::Delete(Site<Records>(*this, this->directory), key);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::ChangeServerInfoXML(SrvInfo key, SrvInfo values) {
  Servers<Records>::Change(Site<Records>(*this, this->directory), key, values);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::GetServerInfoXML(SrvInfo key, SrvInfoList* out) {
  Servers<Records>::Get(Site<Records>(*this, this->directory), key, out);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::GetServerInfoListXML(std::int32_t* count, SrvInfoList** list) {
  Servers<Records>::GetList(Site<Records>(*this, this->directory), count, list);
}

template <typename Records>
void BasicOutBoxFolderXML<Records>::DelServerInfoListXML(std::int32_t count, SrvInfoList* list) {
  outbox::ReleaseEntryList(count, list);
}

template <typename Records>
DomNode BasicOutBoxFolderXML<Records>::FindMatchingNode(const DomNodeList& list, const Item& key,
                                                        std::int32_t& index) {
  return Items<Records>::FindMatching(list, key, index, [this](const DomNode& item, const Item& k) {
    return MatchItemNode(item, k);
  });
}

template <typename Records>
int BasicOutBoxFolderXML<Records>::MatchItemNode(const DomNode& item, const Item& key) {
  return outbox::MatchItem<SchemaOf<Records>>(item, key);
}

template class BasicOutBoxFolderXML<OutboxRecords>;
template class BasicOutBoxFolderXML<OutboxTypistRecords>;

COutBoxFolderXML::COutBoxFolderXML() = default;
COutBoxFolderXML::~COutBoxFolderXML() = default;

COutBoxTypistFolderXML::COutBoxTypistFolderXML() = default;
COutBoxTypistFolderXML::~COutBoxTypistFolderXML() = default;

int COutBoxTypistFolderXML::DelLinkXML(const Item& key, const Item& values) {
  using Records = OutboxTypistRecords;
  return Items<Records>::ChangeEach(
      Site<Records>(*this, this->directory), outbox::TypistOutbox::kUnlinkSteps, key, values,
      [this](const DomNodeList& list, const Item& k, std::int32_t& index) {
        return FindMatchingNode(list, k, index);
      });
}

}  // namespace Foldwise
// NOLINTEND(performance-unnecessary-value-param)
