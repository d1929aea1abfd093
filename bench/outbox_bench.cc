// The author's and the typist's outbox: one set of operations for both, with the error append
// and the full delivery details lookup beside the usual ones.
#include "bench_support.h"
#include "foldwise/outbox_folders.h"

namespace Foldwise {
namespace bench {
namespace {

void Fill(OUTBOX_ITEM_XML_DATA& item, const std::string& index) {
  item.dictation_file_name = "dictation" + index + ".dss";
  item.dictation_file_path = "/home/author/dictations";
}

void Fill(OUTBOX_TYPIST_ITEM_XML_DATA& item, const std::string& index) {
  item.document_file_name = "letter" + index + ".doc";
  item.document_file_path = "/home/typist/documents";
  item.dictation_file_name = "dictation" + index + ".dss";
  item.dictation_file_path = "/home/author/dictations";
}

template <typename Item>
Item Entry(const std::string& index) {
  Item item;
  item.guid = SampleGuid(index);
  Fill(item, index);
  item.protocol = "mail";
  item.date = "06.12.2026";
  item.time = "11:58";
  return item;
}

template <typename Smtp>
Smtp Mail(const std::string& index) {
  Smtp mail;
  mail.to = "typist@example.com";
  mail.subject = "Letter " + index;
  mail.body = "Please type.";
  return mail;
}

template <typename FolderXml>
FolderXml& Open(const Folder& folder) {
  static FolderXml xml;
  xml.SetDirectory(folder.dir());
  return xml;
}

template <typename FolderXml>
void Register(const std::string& family, const std::string& fileName) {
  using Item = typename FolderXml::Item;
  using ItemList = typename FolderXml::ItemList;
  using Smtp = typename FolderXml::Smtp;
  using ErrInfo = typename FolderXml::ErrInfo;
  AddFamily(family, fileName, [](const std::string& dir) {
    FolderXml xml;
    xml.SetDirectory(dir);
    xml.MakeXML();
    xml.AddItemSmtpXML(Entry<Item>(kIndexMark), Mail<Smtp>(kIndexMark));
  });
  auto op = [&family](const std::string& name, const std::string& baseline, bool restores,
                      std::function<void(Folder&)> run) {
    AddOperation({family, name, baseline, restores, std::move(run)});
  };
  op("list", "extract", false, [](Folder& folder) {
    std::int32_t count = 0;
    ItemList* list = nullptr;
    Open<FolderXml>(folder).GetItemListXML(&count, &list);
    if (count != folder.size()) Fail("list");
    Open<FolderXml>(folder).DelItemListXML(count, list);
  });
  op("get", "parse", false, [](Folder& folder) {
    Item key;
    key.guid = Guid(folder.size() - 1);
    ItemList out;
    Open<FolderXml>(folder).GetItemXML(key, &out);
    if (out.guid != key.guid) Fail("get");
    Open<FolderXml>(folder).DelDataErrInfoXML(out.error_list);
  });
  // The last item's full delivery details: every key field of every item is compared.
  op("details", "parse", false, [](Folder& folder) {
    const std::string index = std::to_string(folder.size() - 1);
    ItemList key;
    static_cast<Item&>(key) = Entry<Item>(index);
    key.delivery_kind = kDeliveryMail;
    key.smtp = Mail<Smtp>(index);
    ItemList out;
    Open<FolderXml>(folder).GetItemXMLDetails(key, &out);
    if (out.guid != key.guid) Fail("details");
    Open<FolderXml>(folder).DelDataErrInfoXML(out.error_list);
  });
  op("add", "save", true, [](Folder& folder) {
    const std::string index = std::to_string(folder.size());
    Open<FolderXml>(folder).AddItemSmtpXML(Entry<Item>(index), Mail<Smtp>(index));
  });
  op("change", "save", false, [](Folder& folder) {
    Item key;
    key.guid = Guid(folder.size() / 2);
    Item values;
    values.date = folder.Flip() ? "07.12.2026" : "06.12.2026";
    if (Open<FolderXml>(folder).ChangeItemXML(key, values) == 0) Fail("change");
  });
  op("delete", "save", true, [](Folder& folder) {
    Item key;
    key.guid = Guid(folder.size() / 2);
    if (!Open<FolderXml>(folder).DelItemXML(key)) Fail("delete");
  });
  op("error_append", "save", true, [](Folder& folder) {
    Item key;
    key.guid = Guid(folder.size() - 1);
    Open<FolderXml>(folder).AddItemErrInfoXML(key, ErrInfo{"06.12.2026", "12:00", "refused"});
  });
}

const bool registered = [] {
  Register<COutBoxFolderXML>("outbox", "OutBoxFolder.xml");
  Register<COutBoxTypistFolderXML>("typist_outbox", "OutBoxTypistFolder.xml");
  return true;
}();

}  // namespace
}  // namespace bench
}  // namespace Foldwise
