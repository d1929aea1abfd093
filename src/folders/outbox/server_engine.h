// The server list of both outboxes: servers identified by protocol and name, each with its own
// numbered error list.
#ifndef FOLDWISE_FOLDERS_OUTBOX_SERVER_ENGINE_H_
#define FOLDWISE_FOLDERS_OUTBOX_SERVER_ENGINE_H_

#include <cstdint>
#include <string>
#include <utility>

#include "dom/dom_scan.h"
#include "folders/outbox/error_list.h"
#include "folders/outbox/item_codec.h"
#include "folders/outbox/item_engine.h"
#include "folders/outbox/outbox_frame.h"
#include "folders/outbox/outbox_schema.h"

namespace Foldwise {
namespace outbox {

template <typename Schema>
struct ServerOps {
  using SrvInfo = typename Schema::SrvInfo;
  using SrvInfoList = typename Schema::SrvInfoList;
  using ErrInfo = typename Schema::ErrInfo;

  template <typename Work>
  static bool Run(const OutboxSite& site, Work&& work) {
    return RunFrame(site, FileClaim::kBeforeSaving, kServerList, std::forward<Work>(work));
  }

  // The first server whose given texts match |key|'s ignoring case; none for an all-empty key.
  static DomNode FindServerNode(const DomNode& list, const SrvInfo& key) {
    if (key.protocol.empty() && key.server.empty()) return DomNode();
    for (DomNode server = list.FirstChild(); server; server = server.NextSibling()) {
      bool matches = true;
      for (const auto& field : kServerFields<SrvInfo>) {
        const std::string& value = key.*field.member;
        if (value.empty()) continue;
        const DomNode child = FirstChildElement(server, field.name);
        if (!child || !SameIgnoringCase(child.Text(), value)) {
          matches = false;
          break;
        }
      }
      if (matches) return server;
    }
    return DomNode();
  }

  template <typename Act>
  static void OnFoundServer(const OutboxSite& site, const SrvInfo& key, Act&& act) {
    Run(site, [&](DomDocument& doc, DomNode list) {
      const DomNode server = FindServerNode(list, key);
      return server ? act(doc, server) : Outcome::kUnchanged;
    });
  }

  static void Add(const OutboxSite& site, const SrvInfo& record) {
    Run(site, [&](DomDocument& doc, DomNode list) {
      DomNode server = AppendElement(doc, list, "server_info", kDepthEntry);
      AppendTextElement(doc, server, "protocol", record.protocol, kDepthField);
      if (!record.server.empty()) {
        AppendTextElement(doc, server, "server", record.server, kDepthField);
      }
      AppendIndent(doc, server, kDepthEntry);
      AppendIndent(doc, list, kDepthListInRoot);
      return Outcome::kChanged;
    });
  }

  static void AddErrInfo(const OutboxSite& site, const SrvInfo& key, const ErrInfo& error) {
    OnFoundServer(site, key, [&](DomDocument& doc, DomNode server) {
      AppendErrInfo(doc, server, error);
      return Outcome::kChanged;
    });
  }

  static void ClearErrInfo(const OutboxSite& site, const SrvInfo& key) {
    OnFoundServer(site, key, [](DomDocument&, DomNode server) {
      if (!FirstChildElement(server, kErrorList)) return Outcome::kUnchanged;
      RemoveChildElements(server, kErrorList);
      return Outcome::kChanged;
    });
  }

  static void Delete(const OutboxSite& site, const SrvInfo& key) {
    OnFoundServer(site, key, [](DomDocument&, DomNode server) {
      DomNode parent = server.ParentNode();
      if (!parent) return Outcome::kUnchanged;
      parent.RemoveChild(server);
      return Outcome::kChanged;
    });
  }

  // Sets the given texts; a server whose protocol or name really changed loses its error
  // history. A server added without a name cannot be given one here.
  static void Change(const OutboxSite& site, const SrvInfo& key, const SrvInfo& values) {
    OnFoundServer(site, key, [&](DomDocument&, DomNode server) {
      bool changed = false;
      for (const auto& field : kServerFields<SrvInfo>) {
        const std::string& value = values.*field.member;
        if (value.empty()) continue;
        DomNode child = FirstChildElement(server, field.name);
        if (!child) return Outcome::kFailed;
        if (child.Text() == value) continue;
        child.SetText(value);
        changed = true;
      }
      if (changed) RemoveDeliveryNodes(server);
      return Outcome::kChanged;
    });
  }

  static void Read(const DomNode& server, SrvInfoList* out) {
    out->protocol = server.ChildText("protocol");
    out->server = server.ChildText("server");
    ReadErrInfoList(server, &out->error_count, &out->error_list);
  }

  static void Get(const OutboxSite& site, const SrvInfo& key, SrvInfoList* out) {
    if (out == nullptr) return;
    OnFoundServer(site, key, [&](DomDocument&, DomNode server) {
      Read(server, out);
      return Outcome::kUnchanged;
    });
  }

  // Unlike the item list, the outputs are written only once the server list has been found.
  static void GetList(const OutboxSite& site, std::int32_t* count, SrvInfoList** list) {
    if (count == nullptr || list == nullptr) return;
    Run(site, [&](DomDocument&, DomNode servers) {
      ReadEntries(servers, count, list, &Read);
      return Outcome::kUnchanged;
    });
  }
};

}  // namespace outbox
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_OUTBOX_SERVER_ENGINE_H_
