// A data directory per test on the real file system and a scripted network, so stored paths never
// depend on this machine's shares.
#ifndef FOLDWISE_TESTS_FOLDERS_DOCUMENTS_DOCUMENTS_FIXTURE_H_
#define FOLDWISE_TESTS_FOLDERS_DOCUMENTS_DOCUMENTS_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "foldwise/documents_folders.h"
#include "foldwise/testing/fault_env.h"
#include "support/scripted_network.h"
#include "support/temp_dir.h"

namespace Foldwise {

constexpr char kAuthorFile[] = "DocumentsFolder.xml";
constexpr char kTypistFile[] = "DocumentsTypistFolder.xml";
constexpr char kSentFile[] = "SentItemsTypistFolder.xml";

class DocumentsFixture : public ScriptedNetworkFixture {
 protected:
  void SetUp() override {
    ScriptedNetworkFixture::SetUp();
    author.SetDirectory(dir.path());
    typist.SetDirectory(dir.path());
    sent.SetDirectory(dir.path());
  }

  std::string Text(const std::string& name) const { return testing::ReadText(dir.File(name)); }
  bool Has(const std::string& name) const { return testing::FileExists(dir.File(name)); }
  void Write(const std::string& name, const std::string& text) const {
    testing::WriteText(dir.File(name), text);
  }

  static DOCUMENTS_ITEM_XML_DATA AuthorItem(const std::string& guid, const std::string& document,
                                            const std::string& dictation = "") {
    DOCUMENTS_ITEM_XML_DATA item;
    item.guid = guid;
    item.document_file_name = document;
    item.dictation_file_name = dictation;
    return item;
  }
  static SENTITEMS_TYPIST_ITEM_XML_DATA SentItem(const std::string& guid,
                                                 const std::string& document) {
    SENTITEMS_TYPIST_ITEM_XML_DATA item;
    item.guid = guid;
    item.document_file_name = document;
    return item;
  }
  static DOCUMENTS_TYPIST_ITEM_XML_DATA TypistItem(const std::string& guid,
                                                   const std::string& document,
                                                   const std::string& dictation = "") {
    DOCUMENTS_TYPIST_ITEM_XML_DATA item;
    item.guid = guid;
    item.document_file_name = document;
    item.dictation_file_name = dictation;
    return item;
  }

  // The first entry |key| finds in each folder, "untouched" as its guid when none.
  DOCUMENTS_ITEMLIST_XML_DATA Get(const DOCUMENTS_ITEM_XML_DATA& key) {
    return Found<DOCUMENTS_ITEMLIST_XML_DATA>(author, key);
  }
  DOCUMENTS_TYPIST_ITEM_XML_DATA Get(const DOCUMENTS_TYPIST_ITEM_XML_DATA& key) {
    return Found<DOCUMENTS_TYPIST_ITEM_XML_DATA>(typist, key);
  }
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA Get(const SENTITEMS_TYPIST_ITEM_XML_DATA& key) {
    return Found<SENTITEMS_TYPIST_ITEMLIST_XML_DATA>(sent, key);
  }
  template <typename Out, typename Folder, typename Key>
  static Out Found(Folder& folder, const Key& key) {
    Out out;
    out.guid = "untouched";
    folder.GetItemXML(key, &out);
    return out;
  }

  // A documents folder's list as "guid/document" texts, trailing empty entries included.
  template <typename Folder>
  static std::string Listing(Folder& folder) {
    long count = -1;
    typename Folder::Entry* list = nullptr;
    folder.GetItemListXML(&count, &list);
    std::string text;
    for (long i = 0; i < count; ++i) text += list[i].guid + "/" + list[i].document_file_name + ";";
    folder.DelItemListXML(list);
    return text;
  }
  std::string AuthorListing() { return Listing(author); }
  std::string TypistListing() { return Listing(typist); }

  testing::TempDir dir;
  testing::FaultEnv env;
  ScopedEnv useEnv{&env};
  CDocumentsFolderXML author;
  CDocumentsTypistFolderXML typist;
  CSentItemsTypistFolderXML sent;
};

}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_FOLDERS_DOCUMENTS_DOCUMENTS_FIXTURE_H_
