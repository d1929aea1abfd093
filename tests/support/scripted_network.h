// A scripted network installed for each test, and fresh location singletons around it: the
// base of every fixture whose code reaches the location services.
#ifndef FOLDWISE_TESTS_SUPPORT_SCRIPTED_NETWORK_H_
#define FOLDWISE_TESTS_SUPPORT_SCRIPTED_NETWORK_H_

#include <gtest/gtest.h>

#include "foldwise/location.h"
#include "foldwise/network_services.h"
#include "foldwise/testing/fake_network_services.h"

namespace Foldwise {

class ScriptedNetworkFixture : public ::testing::Test {
 protected:
  void SetUp() override { ForgetLocation(); }
  void TearDown() override { ForgetLocation(); }

  static void ForgetLocation() {
    NetworkPathResolver::DiscardInstance();
    CLocalComputerName::DiscardInstance();
    SharePathConverter::ForgetRememberedHostName();
  }

  testing::FakeNetworkServices net;
  ScopedNetworkServices useNet{&net};
};

}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_SUPPORT_SCRIPTED_NETWORK_H_
