// foldwise demo DIR: a day of the workflow, author and typist, through the public API, leaving a
// populated data directory behind.
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "foldwise/foldwise.h"
#include "tool.h"

namespace foldwise_tool {
namespace {

using namespace Foldwise;  // NOLINT(google-build-using-namespace): record and folder names

struct Dictation {
  const char* guid;
  const char* name;
  const char* document;
};

constexpr Dictation kLetter = {"{0E5C1F7A-2B1D-4C7E-9A51-3D0F6B2A1C01}", "letter-to-smith.dss",
                               "letter-to-smith.docx"};
constexpr Dictation kMinutes = {"{0E5C1F7A-2B1D-4C7E-9A51-3D0F6B2A1C02}", "board-minutes.dss",
                                "board-minutes.docx"};
constexpr Dictation kContract = {"{0E5C1F7A-2B1D-4C7E-9A51-3D0F6B2A1C03}", "contract-review.$ds",
                                 "contract-review.docx"};

void Step(const char* text) { std::printf("  %s\n", text); }

// Cached-folder operations report failure by their result; the walk stops at the first one.
void Require(int result, const char* what) {
  if (result != 1) throw std::runtime_error(std::string("the library refused to ") + what);
}

// The clock of the library's Env, formatted as the host's locale would.
struct Stamp {
  std::string date;
  std::string time;
};
Stamp Now() {
  Env* env = Env::Current();
  Stamp stamp;
  const std::time_t now = env->Now();
  env->FormatShortDate(now, &stamp.date);
  env->FormatTime(now, &stamp.time);
  return stamp;
}

VOICE_ITEM_XML_DATA VoiceKey(const Dictation& d) {
  VOICE_ITEM_XML_DATA key;
  key.guid = d.guid;
  return key;
}

class Walk {
 public:
  explicit Walk(const std::string& dir) : dir_(dir), recordings_(JoinFile(dir, "recordings")) {
    facade_.SetXmlFalePath(dir);
  }

  void AuthorSetsUp() {
    std::printf("author sets up the data directory\n");
    Require(facade_.folderAttr.EnableEncryption(1, 110), "turn encryption on");
    Require(facade_.folderAttr.EnableConfidentiality(1, 120), "turn confidentiality on");
    facade_.documents.MakeXML();
    Step("encryption and confidentiality on; an empty documents folder awaits typed documents");
  }

  void AuthorRecords() {
    std::printf("author records three dictations\n");
    for (const Dictation* d : {&kLetter, &kMinutes, &kContract}) {
      VOICE_ITEMLIST_XML_DATA entry;
      entry.item.guid = d->guid;
      entry.item.dictation_file_name = d->name;
      entry.item.dictation_file_path = recordings_;
      entry.item.status = "recorded";
      Require(facade_.voice.AddItemXML(entry, 1), "record a dictation");
      std::printf("  recorded %s%s\n", d->name, d == &kContract ? " (encrypted)" : "");
    }
  }

  void AuthorQueues() {
    std::printf("author queues them for delivery\n");
    OUTBOX_SRVINFO_XML_DATA mail{"mail", "smtp.example.org"};
    OUTBOX_SRVINFO_XML_DATA ftp{"ftp", "ftp.typing-pool.example.org"};
    facade_.outBox.AddServerInfoXML(mail);
    facade_.outBox.AddServerInfoXML(ftp);
    const Stamp now = Now();
    for (const Dictation* d : {&kLetter, &kMinutes}) {
      OUTBOX_ITEM_XML_DATA item{d->guid, d->name, recordings_, "mail", now.date, now.time};
      OUTBOX_SMTP_XML_DATA smtp;
      smtp.to = "typist@example.org";
      smtp.subject = std::string("Dictation ") + d->name;
      smtp.body = "Please type this by Friday.";
      facade_.outBox.AddItemSmtpXML(item, smtp);
      std::printf("  %s by mail to typist@example.org\n", d->name);
    }
    OUTBOX_ITEM_XML_DATA item{kContract.guid, kContract.name, recordings_,
                              "ftp",          now.date,       now.time};
    facade_.outBox.AddItemFtpXML(item, {ftp.server, "/incoming/author"});
    std::printf("  %s by FTP to %s\n", kContract.name, ftp.server.c_str());
  }

  void AuthorSends() {
    std::printf("author sends\n");
    const Stamp now = Now();
    OUTBOX_ITEM_XML_DATA contract;
    contract.guid = kContract.guid;
    facade_.outBox.AddItemErrInfoXML(contract, {now.date, now.time, "530 Login incorrect"});
    facade_.outBox.AddServerInfoErrInfoXML({"ftp", "ftp.typing-pool.example.org"},
                                           {now.date, now.time, "530 Login incorrect"});
    Step("FTP upload of contract-review.$ds failed: error recorded, it stays in the outbox");
    for (const Dictation* d : {&kLetter, &kMinutes}) {
      SENTITEMS_ITEMLIST_XML_DATA sent;
      sent.item.guid = d->guid;
      sent.item.status = "sent";
      sent.item.dictation_file_name = d->name;
      sent.item.dictation_file_path = recordings_;
      sent.item.date = "%DATE%";
      sent.item.time = "%TIME%";
      sent.delivery_kind = kDeliveryMail;
      sent.smtp.from = "author@example.org";
      sent.smtp.to = "typist@example.org";
      sent.smtp.subject = std::string("Dictation ") + d->name;
      Require(facade_.sentItems.AddItemXML(sent, 1), "file a sent item");
      OUTBOX_ITEM_XML_DATA key;
      key.guid = d->guid;
      if (!facade_.outBox.DelItemXML(key)) throw std::runtime_error("outbox entry vanished");
      VOICE_ITEM_XML_DATA key2 = VoiceKey(*d);
      VOICE_ITEM_XML_DATA values;
      values.status = "sent";
      values.sent = "%DATE%";
      Require(facade_.voice.ChangeItemXML(key2, values, 1), "mark a dictation sent");
      std::printf("  %s sent by mail, moved to sent items\n", d->name);
    }
  }

  void TypistReceivesAndTypes() {
    std::printf("typist receives and types\n");
    const Stamp now = Now();
    const std::string inbox = JoinFile(dir_, "inbox");
    for (const Dictation* d : {&kLetter, &kMinutes}) {
      INBOX_TYPIST_ITEMLIST_XML_DATA received;
      received.item.guid = d->guid;
      received.item.dictation_file_name = d->name;
      received.item.dictation_file_path = inbox;
      received.item.status = "received";
      received.item.protocol = "mail";
      received.item.date = "%DATE%";
      received.item.time = "%TIME%";
      received.delivery_kind = kDeliveryMail;
      received.smtp.from = "author@example.org";
      received.smtp.subject = std::string("Dictation ") + d->name;
      Require(facade_.inBoxTypist.AddItemXML(received, 1), "receive a dictation");

      DOCUMENTS_TYPIST_ITEM_XML_DATA typed;
      typed.guid = d->guid;
      typed.document_file_name = d->document;
      typed.document_file_path = JoinFile(dir_, "typed");
      typed.dictation_file_name = d->name;
      typed.dictation_file_path = inbox;
      typed.status = "typed";
      typed.To = "author@example.org";
      typed.Received = now.date + " " + now.time;
      facade_.documentsTypist.AddItemXML(typed);  // mirrored into the author's documents

      INBOX_TYPIST_ITEM_XML_DATA key;
      key.guid = d->guid;
      INBOX_TYPIST_ITEM_XML_DATA values;
      values.status = "typed";
      values.document_file_name = d->document;
      Require(facade_.inBoxTypist.ChangeItemXML(key, values, 0), "mark a dictation typed");
      std::printf("  received %s, typed %s\n", d->name, d->document);
    }
  }

  void TypistReturns() {
    std::printf("typist returns the documents\n");
    const Stamp now = Now();
    facade_.outBoxTypist.AddServerInfoXML({"mail", "smtp.typing-pool.example.org"});
    for (const Dictation* d : {&kLetter, &kMinutes}) {
      OUTBOX_TYPIST_ITEM_XML_DATA item{
          d->guid, d->document, JoinFile(dir_, "typed"), d->name, "", "mail", now.date, now.time};
      OUTBOX_TYPIST_SMTP_XML_DATA smtp;
      smtp.to = "Author";
      smtp.to_address = "author@example.org";
      smtp.subject = std::string("Typed: ") + d->document;
      smtp.body = "Your document is attached.";
      facade_.outBoxTypist.AddItemSmtpXML(item, smtp);
    }
    // The letter goes out; the minutes bounce and wait in the outbox.
    OUTBOX_TYPIST_ITEM_XML_DATA letter;
    letter.guid = kLetter.guid;
    SENTITEMS_TYPIST_ITEM_XML_DATA sent{
        kLetter.guid, "sent",   kLetter.document, JoinFile(dir_, "typed"), kLetter.name, "",
        "mail",       now.date, now.time};
    SENTITEMS_TYPIST_SMTP_XML_DATA mail{"typist@example.org",
                                        "author@example.org",
                                        "",
                                        "",
                                        std::string("Typed: ") + kLetter.document,
                                        ""};
    facade_.sentItemsTypist.AddItemSmtpXML(sent, mail);
    if (!facade_.outBoxTypist.DelItemXML(letter)) throw std::runtime_error("letter vanished");
    DOCUMENTS_TYPIST_ITEM_XML_DATA key;
    key.guid = kLetter.guid;
    DOCUMENTS_TYPIST_ITEM_XML_DATA values;
    values.status = "sent";
    facade_.documentsTypist.ChangeItemXML(key, values);
    std::printf("  %s sent by mail, moved to the typist's sent items\n", kLetter.document);

    OUTBOX_TYPIST_ITEM_XML_DATA minutes;
    minutes.guid = kMinutes.guid;
    facade_.outBoxTypist.AddItemErrInfoXML(minutes,
                                           {now.date, now.time, "452 mailbox full, try later"});
    facade_.outBoxTypist.AddServerInfoErrInfoXML({"mail", "smtp.typing-pool.example.org"},
                                                 {now.date, now.time, "452 mailbox full"});
    std::printf("  %s bounced: error recorded, it stays in the outbox\n", kMinutes.document);
  }

  void AuthorReceives() {
    std::printf("author receives the letter\n");
    VOICE_ITEM_XML_DATA key = VoiceKey(kLetter);
    VOICE_ITEM_XML_DATA values;
    values.status = "done";
    values.document_file_name = kLetter.document;
    Require(facade_.voice.ChangeItemXML(key, values, 0), "mark a dictation done");
    Step("letter-to-smith.dss is done; its document is in the author's documents folder");
  }

 private:
  std::string dir_;
  std::string recordings_;
  CFoldwise facade_;
};

}  // namespace

int RunDemo(const std::string& given) {
  if (given.empty()) {
    std::fprintf(stderr, "foldwise demo: no directory given\n");
    return kExitError;
  }
  std::error_code error;
  std::filesystem::create_directories(given, error);
  const std::string dirError = CheckDirectory(given);
  if (!dirError.empty()) {
    std::fprintf(stderr, "foldwise demo: %s\n", dirError.c_str());
    return kExitError;
  }
  const std::string dir = std::filesystem::absolute(given).lexically_normal().string();
  if (CFoldwise::ExistsXML(dir.c_str()) != 0 ||
      Env::Current()->Access(JoinFile(dir, "FolderAttr.xml"), kAccessExists) == 0) {
    std::fprintf(stderr, "foldwise demo: %s already holds folder files; give a new directory\n",
                 given.c_str());
    return kExitError;
  }

  CXmlDocument::InitXMLDocument();
  int status = kExitOk;
  try {
    Walk walk(dir);
    walk.AuthorSetsUp();
    walk.AuthorRecords();
    walk.AuthorQueues();
    walk.AuthorSends();
    walk.TypistReceivesAndTypes();
    walk.TypistReturns();
    walk.AuthorReceives();
  } catch (const ComError& e) {
    std::fprintf(stderr, "foldwise demo: %s\n", e.description().c_str());
    status = kExitError;
  } catch (const std::runtime_error& e) {
    std::fprintf(stderr, "foldwise demo: %s\n", e.what());
    status = kExitError;
  }
  CXmlDocument::UninitXMLDocument();
  if (status == kExitOk) {
    std::printf("\n%s now holds every folder (ExistsXML 0x%02lx); try: foldwise status %s\n",
                given.c_str(), CFoldwise::ExistsXML(dir.c_str()), given.c_str());
  }
  return status;
}

}  // namespace foldwise_tool
