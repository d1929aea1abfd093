// A data directory per test holding both outboxes, a scripted network with one connected drive,
// and record builders for the usual deliveries.
#ifndef FOLDWISE_TESTS_FOLDERS_OUTBOX_OUTBOX_FIXTURE_H_
#define FOLDWISE_TESTS_FOLDERS_OUTBOX_OUTBOX_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "foldwise/outbox_folders.h"
#include "foldwise/testing/fault_env.h"
#include "support/scripted_network.h"
#include "support/temp_dir.h"

namespace Foldwise {

class OutboxFixture : public ScriptedNetworkFixture {
 protected:
  void SetUp() override {
    ScriptedNetworkFixture::SetUp();
    // \\server\share is connected as Z:, so paths under it are stored in their Z: form.
    net.connected_drives = {{"\\\\server\\share", "Z:"}};
    author.SetDirectory(dir.path());
    typist.SetDirectory(dir.path());
  }

  std::string AuthorFile() const { return dir.File("OutBoxFolder.xml"); }
  std::string TypistFile() const { return dir.File("OutBoxTypistFolder.xml"); }
  std::string AuthorText() const { return testing::ReadText(AuthorFile()); }
  std::string TypistText() const { return testing::ReadText(TypistFile()); }

  static OUTBOX_ITEM_XML_DATA Item(const std::string& guid, const std::string& name,
                                   const std::string& path, const std::string& protocol) {
    OUTBOX_ITEM_XML_DATA item;
    item.guid = guid;
    item.dictation_file_name = name;
    item.dictation_file_path = path;
    item.protocol = protocol;
    item.date = "06.12.2026";
    item.time = "11:58";
    return item;
  }
  static OUTBOX_ITEM_XML_DATA Key(const std::string& guid, const std::string& name = "",
                                  const std::string& path = "") {
    return Item(guid, name, path, "");
  }
  static OUTBOX_SMTP_XML_DATA Mail(const std::string& to, const std::string& subject = "Letter") {
    OUTBOX_SMTP_XML_DATA mail;
    mail.to = to;
    mail.subject = subject;
    mail.body = "Please type.";
    return mail;
  }
  static OUTBOX_FTP_XML_DATA Ftp(const std::string& server, const std::string& folder) {
    return {server, folder};
  }
  static OUTBOX_ERRINFO_XML_DATA Error(const std::string& message) {
    return {"06.12.2026", "12:00", message};
  }

  // The author's first item |key| finds ("<none>" for a guid when none), its errors released.
  OUTBOX_ITEMLIST_XML_DATA Found(const OUTBOX_ITEM_XML_DATA& key) {
    OUTBOX_ITEMLIST_XML_DATA out;
    out.guid = "<none>";
    author.GetItemXML(key, &out);
    author.DelDataErrInfoXML(out.error_list);
    out.error_list = nullptr;
    return out;
  }

  testing::TempDir dir;
  testing::FaultEnv env;
  ScopedEnv useEnv{&env};
  COutBoxFolderXML author;
  COutBoxTypistFolderXML typist;
};

}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_FOLDERS_OUTBOX_OUTBOX_FIXTURE_H_
