// Both outboxes: items, their error lists, the details forms, the server list, and the typist's
// unlinking of documents from their dictation.
#include "foldwise/outbox_folders.h"
#include "harness/operation_lists.h"

namespace Foldwise {
namespace harness {
namespace {

template <typename Folder>
void AddOutbox(Operations& ops, Family family) {
  using Item = typename Folder::Item;
  using ItemList = typename Folder::ItemList;
  using Smtp = typename Folder::Smtp;
  using Ftp = typename Folder::Ftp;
  using ErrInfo = typename Folder::ErrInfo;
  using SrvInfo = typename Folder::SrvInfo;
  using SrvInfoList = typename Folder::SrvInfoList;
  auto row = [&](const char* name, Effect effect, auto work) {
    AddRow<Folder>(ops, family, name, effect, work);
  };
  auto done = [&](const char* name, auto work) {
    row(name, Effect::kChanges, [work](Folder& f, Texts& t) {
      work(f, t);
      return -1;
    });
  };
  auto key = [](Texts& t, const char* guid) { return t.Key<Item>({{"guid", guid}}); };
  auto added = [](Texts& t) {
    return t.Value<Item>({{"guid", "g3"}, {"dictation_file_name", "g3.wav"}, {"protocol", "smtp"}});
  };
  auto error = [](Texts& t) {
    return t.Value<ErrInfo>({{"date", "d"}, {"time", "t"}, {"error_message", "timeout"}});
  };
  auto server = [](Texts& t) { return t.Key<SrvInfo>({{"protocol", "ftp"}, {"server", "srv"}}); };
  auto details = [](Texts& t, const char* guid) {
    ItemList k = t.Key<ItemList>({{"guid", guid}});
    return k;
  };

  done("make", [](Folder& f, Texts&) { f.MakeXML(); });
  done("add smtp", [=](Folder& f, Texts& t) {
    f.AddItemSmtpXML(added(t), t.Value<Smtp>({{"to", "a@b"}, {"subject", "s"}}));
  });
  done("add ftp", [=](Folder& f, Texts& t) {
    f.AddItemFtpXML(added(t), t.Value<Ftp>({{"server", "srv"}, {"folder", "in"}}));
  });
  done("add error", [=](Folder& f, Texts& t) { f.AddItemErrInfoXML(key(t, "g1"), error(t)); });
  done("clear errors", [=](Folder& f, Texts& t) { f.ClearItemErrInfoXML(key(t, "g2")); });
  row("delete", Effect::kChanges,
      [=](Folder& f, Texts& t) { return static_cast<int>(f.DelItemXML(key(t, "g1"))); });
  row("change with details", Effect::kChanges, [=](Folder& f, Texts& t) {
    const Item values = t.Value<Item>({{"date", "2026-12-06"}});
    return static_cast<int>(
        f.ChangeItemXML(key(t, "g1"), values, t.Value<Smtp>({}), t.Value<Ftp>({})));
  });
  row("change by reference", Effect::kChanges, [=](Folder& f, Texts& t) {
    const Item k = key(t, "g1");
    return f.ChangeItemXML(k, t.Value<Item>({{"time", "12:00"}}));
  });
  // Reads of one item or server: 1 when |read| filled the record.
  auto found = [](Folder& f, auto out, auto read) {
    out.protocol = "\x01untouched";
    read(out);
    f.DelDataErrInfoXML(out.error_list);
    return out.protocol != "\x01untouched" ? 1 : 0;
  };
  row("get", Effect::kReads, [=](Folder& f, Texts& t) {
    return found(f, ItemList(), [&](ItemList& out) { f.GetItemXML(key(t, "g2"), &out); });
  });
  row("list", Effect::kReads, [](Folder& f, Texts&) {
    std::int32_t count = 0;
    ItemList* list = nullptr;
    f.GetItemListXML(&count, &list);
    f.DelItemListXML(count, list);
    return count > 0 ? 1 : 0;
  });
  row("get details", Effect::kReads, [=](Folder& f, Texts& t) {
    return found(f, ItemList(),
                 [&](ItemList& out) { f.GetItemXMLDetails(details(t, "g2"), &out); });
  });
  done("delete details", [=](Folder& f, Texts& t) { f.DelItemXMLDetails(details(t, "g1")); });
  done("add error details",
       [=](Folder& f, Texts& t) { f.AddItemErrInfoXMLDetails(details(t, "g1"), error(t)); });
  done("add server", [](Folder& f, Texts& t) {
    f.AddServerInfoXML(t.Value<SrvInfo>({{"protocol", "smtp"}, {"server", "mail"}}));
  });
  done("add server error",
       [=](Folder& f, Texts& t) { f.AddServerInfoErrInfoXML(server(t), error(t)); });
  done("clear server errors", [=](Folder& f, Texts& t) { f.ClearServerInfoErrInfoXML(server(t)); });
  done("delete server", [=](Folder& f, Texts& t) { f.DelServerInfoXML(server(t)); });
  done("change server", [=](Folder& f, Texts& t) {
    f.ChangeServerInfoXML(server(t), t.Value<SrvInfo>({{"server", "srv2"}}));
  });
  row("get server", Effect::kReads, [=](Folder& f, Texts& t) {
    return found(f, SrvInfoList(), [&](SrvInfoList& out) { f.GetServerInfoXML(server(t), &out); });
  });
  row("server list", Effect::kReads, [](Folder& f, Texts&) {
    std::int32_t count = 0;
    SrvInfoList* list = nullptr;
    f.GetServerInfoListXML(&count, &list);
    f.DelServerInfoListXML(count, list);
    return count > 0 ? 1 : 0;
  });
}

}  // namespace

void AddOutboxOperations(Operations& ops) {
  AddOutbox<COutBoxFolderXML>(ops, kOutbox);
  AddOutbox<COutBoxTypistFolderXML>(ops, kTypistOutbox);
  AddRow<COutBoxTypistFolderXML>(
      ops, kTypistOutbox, "unlink", Effect::kChanges, [](COutBoxTypistFolderXML& f, Texts& t) {
        using Item = OUTBOX_TYPIST_ITEM_XML_DATA;
        return f.DelLinkXML(t.Key<Item>({{"guid", "g1"}}), t.Value<Item>({}));
      });
}

}  // namespace harness
}  // namespace Foldwise
