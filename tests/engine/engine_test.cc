// What every folder family reuses from the engine: the error boundary and its two policies, the
// two ways of reading a stored path back, and the counted arrays handed to hosts.
#include <gtest/gtest.h>

#include <string>

#include "engine/counted_array.h"
#include "engine/error_boundary.h"
#include "engine/path_policy.h"
#include "location/location_fixture.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

// A file object whose template can be made to fail.
class ProbeFile : public XmlDocumentFile {
 public:
  int MakeTemplate() override { return templateWorks ? 1 : 0; }
  bool templateWorks = true;
};

ComError DomFailure() { return ComError(kErrorDomFailure, "probe"); }

TEST(ErrorBoundaryTest, DocumentIsClosedOnEveryPathOut) {
  testing::TempDir dir;
  const std::string path = dir.File("probe.xml");
  ProbeFile file;
  bool ran = false;
  // Step: success, failure by result and failure by ComError all close the document.
  EXPECT_EQ(1, WithDocument<FailureBecomesZero>(file, path, [&] {
              ran = file.GetDocument() != nullptr;
              return 1;
            }));
  EXPECT_TRUE(ran);
  EXPECT_FALSE(file.GetDocument());
  EXPECT_EQ(0, WithDocument<FailureBecomesZero>(file, path, [] { return 0; }));
  EXPECT_FALSE(file.GetDocument());
  EXPECT_EQ(0, WithDocument<FailureBecomesZero>(file, path, []() -> int { throw DomFailure(); }));
  EXPECT_FALSE(file.GetDocument());
  EXPECT_THROW(WithDocument<ComErrorReachesHost>(file, path, []() -> int { throw DomFailure(); }),
               ComError);
  EXPECT_FALSE(file.GetDocument());

  // Step: a document that cannot be opened or made never runs the work.
  file.templateWorks = false;
  ran = false;
  const auto work = [&] {
    ran = true;
    return 1;
  };
  EXPECT_EQ(0, WithDocument<FailureBecomesZero>(file, path, work));
  EXPECT_EQ(0, WithNewDocument<FailureBecomesZero>(file, path, work));
  EXPECT_FALSE(ran);
  EXPECT_FALSE(file.GetDocument());
}

class PathPolicyTest : public LocationFixture {
 protected:
  void SetUp() override {
    LocationFixture::SetUp();
    net.shares = {{"data", "D:\\Shared"}};
  }
};

TEST_F(PathPolicyTest, FamiliesReadStoredPathsTheirOwnWay) {
  // Step: both store the local form of this machine's share, without a trailing separator.
  EXPECT_EQ("D:\\Shared\\dir", ResolverPaths::ToStored("\\\\thishost\\data\\dir\\"));
  EXPECT_EQ(SharePaths::ToStored("\\\\thishost\\data\\dir\\"),
            ResolverPaths::ToStored("\\\\thishost\\data\\dir\\"));
  EXPECT_EQ("", SharePaths::ToStored(""));

  // Step: reading back, a path that cannot be mapped stays for the item files and comes back
  // empty for the documents and outbox folders.
  EXPECT_EQ("D:\\Shared\\dir", ResolverPaths::ToLocal("\\\\thishost\\data\\dir"));
  EXPECT_EQ("\\\\thishost\\nothing\\x", ResolverPaths::ToLocal("\\\\thishost\\nothing\\x"));
  EXPECT_EQ("", SharePaths::ToLocal("\\\\thishost"));
  EXPECT_EQ("", SharePaths::ToLocal(""));
  EXPECT_EQ("C:\\kept", SharePaths::ToLocal("C:\\kept"));
}

// Counts constructions and destructions, so a release that destroys the wrong number shows.
struct Tracked {
  static int alive;
  Tracked() { ++alive; }
  Tracked(const Tracked&) = delete;
  Tracked& operator=(const Tracked&) = delete;
  ~Tracked() { --alive; }
  std::string text = "empty";
};
int Tracked::alive = 0;

TEST(CountedArrayTest, ReleaseDestroysExactlyWhatWasBuilt) {
  Tracked* list = NewCountedArray<Tracked>(5);
  EXPECT_EQ(5, Tracked::alive);
  EXPECT_EQ(5u, CountedArraySize(list));
  EXPECT_EQ("empty", list[4].text);
  list[2].text = std::string(100, 'x');  // a heap text, which the sanitizers check is freed
  ReleaseCountedArray(list);
  EXPECT_EQ(0, Tracked::alive);
  ReleaseCountedArray<Tracked>(nullptr);  // does nothing
}

}  // namespace
}  // namespace Foldwise
