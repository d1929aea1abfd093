// A host program built only against the installed library: <foldwise/foldwise.h> and
// libfoldwise, found through find_package(foldwise) or through pkg-config. It touches every
// folder family once, copies folder objects, brackets several operations in the cache, plugs an
// Env of its own into the library and catches a ComError the library raises, so that a missing
// export or a broken install fails here rather than in a host team's build.
#include <foldwise/foldwise.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "host: FAILED: %s\n", what);
    ++failures;
  }
}

// An Env of the host's own: forwards to POSIX and refuses to create files while |refuse| is set.
class RefusingEnv : public Foldwise::EnvWrapper {
 public:
  RefusingEnv() : EnvWrapper(Foldwise::Env::Default()) {}
  int NewWritableFile(const std::string& path,
                      std::unique_ptr<Foldwise::WritableFile>* file) override {
    if (refuse) return EACCES;
    return EnvWrapper::NewWritableFile(path, file);
  }
  bool refuse = false;
};

void UseCachedFolders(const std::string& dir) {
  Foldwise::CVoiceFolderXML voice;
  voice.SetXmlFalePath(dir.c_str());
  Foldwise::VOICE_ITEM_XML_DATA item;
  item.guid = "{host-1}";
  item.dictation_file_name = "letter.dss";
  Expect(voice.AddItemXML(item, 0) == 1, "voice: add");

  // Several operations in one bracket: the file is parsed once and written once.
  Foldwise::CXmlDocument::ActiveCacheDOMDocument();
  Foldwise::CVoiceFolderXML copy = voice;  // a copy works on the same files
  Foldwise::VOICE_ITEM_XML_DATA second = item;
  second.guid = "{host-2}";
  second.dictation_file_name = "memo.dss";
  Expect(copy.AddItemXML(second, 0) == 1, "voice: add through a copy");
  Foldwise::CXmlDocument::DeactiveCacheDOMDocument(0);
  Expect(voice.GetItemCountXML(nullptr) == 2, "voice: count after the bracket");

  long count = 0;
  Foldwise::VOICE_ITEMLIST_XML_DATA* list = nullptr;
  Expect(voice.GetItemListXML(&count, &list) == 1 && count == 2, "voice: list");
  Foldwise::CVoiceFolderXML::ReleaseItemList(list);

  Foldwise::CSentItemsFolderXML sent;
  sent.SetXmlFalePath(dir.c_str());
  Foldwise::SENTITEMS_ITEM_XML_DATA sentItem;
  sentItem.guid = item.guid;
  sentItem.dictation_file_name = item.dictation_file_name;
  Expect(sent.AddItemXML(sentItem, 0) == 1 && voice.DelItemXML(item) == 1, "sent items: move");

  Foldwise::CInBoxTypistFolderXML inbox;
  inbox.SetXmlFalePath(dir.c_str());
  Foldwise::INBOX_TYPIST_ITEM_XML_DATA received;
  received.guid = item.guid;
  received.dictation_file_name = "letter.dss";
  Expect(inbox.AddItemXML(received, 0) == 1 && inbox.GetItemCountXML(nullptr) == 1, "inbox");
}

void UseDocumentsAndOutboxes(const std::string& dir) {
  Foldwise::COutBoxFolderXML outbox;
  outbox.SetDirectory(dir);
  Foldwise::OUTBOX_ITEM_XML_DATA queued;
  queued.guid = "{host-1}";
  queued.dictation_file_name = "letter.dss";
  queued.protocol = "mail";
  outbox.AddItemSmtpXML(queued, Foldwise::OUTBOX_SMTP_XML_DATA{});
  Foldwise::COutBoxFolderXML outboxCopy = outbox;
  outboxCopy.AddItemErrInfoXML(queued, {"06.12.2026", "12:00", "connection refused"});
  std::int32_t count = 0;
  Foldwise::OUTBOX_ITEMLIST_XML_DATA* list = nullptr;
  outbox.GetItemListXML(&count, &list);
  Expect(count == 1 && list != nullptr && list[0].error_count == 1, "outbox: item with error");
  outbox.DelItemListXML(count, list);

  Foldwise::COutBoxTypistFolderXML typistOutbox;
  typistOutbox.SetDirectory(dir);
  Foldwise::OUTBOX_TYPIST_ITEM_XML_DATA typed;
  typed.guid = queued.guid;
  typed.document_file_name = "letter.doc";
  typed.protocol = "ftp";
  typistOutbox.AddItemFtpXML(typed, {"ftp.example.org", "incoming"});
  Expect(typistOutbox.DelLinkXML(typed, {}) == 1, "typist outbox: unlink");

  Foldwise::CDocumentsFolderXML documents;
  documents.SetDirectory(dir);
  Foldwise::DOCUMENTS_ITEM_XML_DATA document;
  document.guid = queued.guid;
  document.document_file_name = "letter.doc";
  document.protocol = "mail";
  documents.AddItemSmtpXML(document, {"typist@example.org", "Letter", "Attached."}, 1);
  long documentCount = 0;
  Foldwise::DOCUMENTS_ITEMLIST_XML_DATA* documentList = nullptr;
  documents.GetItemListXML(&documentCount, &documentList);
  Expect(documentCount >= 1 && documentList[0].document_file_name == "letter.doc", "documents");
  documents.DelItemListXML(documentList);

  Foldwise::CDocumentsTypistFolderXML typistDocuments;
  typistDocuments.SetDirectory(dir);
  Foldwise::DOCUMENTS_TYPIST_ITEM_XML_DATA typistDocument;
  typistDocument.guid = queued.guid;
  typistDocument.document_file_name = "letter.doc";
  typistDocuments.AddItemXML(typistDocument);

  Foldwise::CSentItemsTypistFolderXML typistSent;
  typistSent.SetDirectory(dir);
  Foldwise::SENTITEMS_TYPIST_ITEM_XML_DATA done;
  done.guid = queued.guid;
  done.document_file_name = "letter.doc";
  Expect(typistSent.AddItemXML(done), "typist sent items");

  // The host's own Env refuses the save: the documents folder reports it as ComError, thrown
  // inside the library and caught here by its type.
  RefusingEnv env;
  Foldwise::ScopedEnv use(&env);
  bool caught = false;
  if (documents.OpenXML() >= 0) {
    documents.DelItemXML(document);
    env.refuse = true;
    try {
      documents.CloseXML(1);
    } catch (const Foldwise::ComError& error) {
      caught = error.code() != 0;
    }
    env.refuse = false;
    documents.CloseXML(0);
  }
  Expect(caught, "documents: a refused save reaches the host as ComError");
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "host-data";
  std::error_code ignored;  // an existing directory is fine; a missing one fails below
  std::filesystem::create_directories(dir, ignored);
  Foldwise::CXmlDocument::InitXMLDocument();

  Foldwise::CFolderAttrXML attributes;
  attributes.SetDirectory(dir);
  Expect(attributes.EnableEncryption(1, 123) == 1 && attributes.GetEncryptionVer() == 123,
         "attributes: encryption version");
  Expect(Foldwise::DecodeAttributeVersion(Foldwise::EncodeAttributeVersion(5)) == 5,
         "attributes: version text");

  UseCachedFolders(dir);
  UseDocumentsAndOutboxes(dir);

  Foldwise::CXmlDocument::UninitXMLDocument();
  std::puts(failures == 0 ? "host: ok" : "host: FAILED");
  return failures == 0 ? 0 : 1;
}
