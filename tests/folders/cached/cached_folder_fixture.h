// A data directory per test, a fixed clock, a scripted network with one share of this machine,
// and fresh location singletons around each test.
#ifndef FOLDWISE_TESTS_CACHED_FOLDERS_CACHED_FOLDER_FIXTURE_H_
#define FOLDWISE_TESTS_CACHED_FOLDERS_CACHED_FOLDER_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "foldwise/cached_folders.h"
#include "foldwise/location.h"
#include "foldwise/network_services.h"
#include "foldwise/testing/fake_network_services.h"
#include "foldwise/testing/fault_env.h"
#include "foldwise/xml_document.h"
#include "support/temp_dir.h"

namespace Foldwise {

class CachedFolderFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetLocation();
    CXmlDocument::InitXMLDocument();
    env.fixed_now = 1765000000;  // 2025-12-06, a moment the tests can format themselves
    net.shares = {{"docs", dir.File("shared")}};
  }
  void TearDown() override {
    if (CXmlDocument::IsCacheActive()) CXmlDocument::DeactiveCacheDOMDocument(1);
    ForgetLocation();
  }
  static void ForgetLocation() {
    NetworkPathResolver::DiscardInstance();
    CLocalComputerName::DiscardInstance();
    SharePathConverter::ForgetRememberedHostName();
  }

  std::string Text(const std::string& name) const { return testing::ReadText(dir.File(name)); }
  bool Has(const std::string& name) const { return testing::FileExists(dir.File(name)); }

  testing::TempDir dir;
  testing::FaultEnv env;
  ScopedEnv useEnv{&env};
  testing::FakeNetworkServices net;
  ScopedNetworkServices useNet{&net};
};

}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_CACHED_FOLDERS_CACHED_FOLDER_FIXTURE_H_
