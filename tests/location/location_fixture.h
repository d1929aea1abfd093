// The location services on a scripted network, with helpers that check a failure's output.
#ifndef FOLDWISE_TESTS_LOCATION_LOCATION_FIXTURE_H_
#define FOLDWISE_TESTS_LOCATION_LOCATION_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "foldwise/location.h"
#include "support/scripted_network.h"

namespace Foldwise {

class LocationFixture : public ScriptedNetworkFixture {
 protected:
  static NetworkPathResolver& Resolver() { return NetworkPathResolver::GetInstance(); }

  // The resolver's local form of |path|, or "<fails>" after checking that a failure leaves
  // the output empty.
  static std::string Local(const std::string& path, int mayConnect = 0) {
    std::string out = "stale";
    if (Resolver().ToLocalPath(path, out, mayConnect)) return out;
    EXPECT_EQ("", out) << path;
    return "<fails>";
  }
  static std::string Shared(const std::string& path) {
    std::string out = "stale";
    if (Resolver().ToSharePath(path, out)) return out;
    EXPECT_EQ("", out) << path;
    return "<fails>";
  }
  static std::string Stored(const std::string& path) {
    std::string out = "stale";
    if (SharePathConverter().ResolveStoredPath(path, out)) return out;
    EXPECT_EQ("", out) << path;
    return "<fails>";
  }
};

}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_LOCATION_LOCATION_FIXTURE_H_
