// A data directory per test with the three folders on it, a fixed clock, a scripted network with
// one share of this machine, and fresh location singletons around each test.
#ifndef FOLDWISE_TESTS_CACHED_FOLDERS_CACHED_FOLDER_FIXTURE_H_
#define FOLDWISE_TESTS_CACHED_FOLDERS_CACHED_FOLDER_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "foldwise/cached_folders.h"
#include "foldwise/testing/fault_env.h"
#include "foldwise/xml_document.h"
#include "support/scripted_network.h"
#include "support/temp_dir.h"

namespace Foldwise {

class CachedFolderFixture : public ScriptedNetworkFixture {
 protected:
  void SetUp() override {
    ScriptedNetworkFixture::SetUp();
    CXmlDocument::InitXMLDocument();
    env.fixed_now = 1765000000;  // 2025-12-06, a moment the tests can format themselves
    net.shares = {{"docs", dir.File("shared")}};
    voice.SetXmlFalePath(dir.path().c_str());
    sent.SetXmlFalePath(dir.path().c_str());
    inbox.SetXmlFalePath(dir.path().c_str());
  }
  void TearDown() override {
    if (CXmlDocument::IsCacheActive()) CXmlDocument::DeactiveCacheDOMDocument(1);
    ScriptedNetworkFixture::TearDown();
  }

  std::string Text(const std::string& name) const { return testing::ReadText(dir.File(name)); }
  bool Has(const std::string& name) const { return testing::FileExists(dir.File(name)); }

  testing::TempDir dir;
  testing::FaultEnv env;
  ScopedEnv useEnv{&env};
  CVoiceFolderXML voice;
  CSentItemsFolderXML sent;
  CInBoxTypistFolderXML inbox;
};

}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_CACHED_FOLDERS_CACHED_FOLDER_FIXTURE_H_
