// Every allocation of an operation failing in turn: the n-th operator new of the process and the
// n-th block pugixml asks for. The cached folders never throw and the folder attributes neither;
// the DOM layer turns an exhausted allocator into ComError kErrorOutOfMemory. The file on disk
// stays whole: either the old content or the new one.
//
// A binary of its own, because it replaces the global operator new (as pugixml's own tests
// replace its allocation functions); the library itself leaves both alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <pugixml.hpp>
#include <string>

#include "dom/dom.h"
#include "foldwise/cached_folders.h"
#include "foldwise/env.h"
#include "foldwise/errors.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/xml_document.h"
#include "support/temp_dir.h"

namespace {

// Allocations left before the one that fails (only that one); negative when none is to fail.
// One thread only.
long allocationsLeft = -1;
bool failed = false;

bool NextAllocationFails() {
  if (allocationsLeft < 0) return false;
  if (allocationsLeft == 0) {
    allocationsLeft = -1;
    failed = true;
    return true;
  }
  --allocationsLeft;
  return false;
}

void* Allocate(std::size_t size) {
  if (NextAllocationFails()) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

void* PugiAllocate(std::size_t size) { return Allocate(size); }

}  // namespace

void* operator new(std::size_t size) {
  void* block = Allocate(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace Foldwise {
namespace {

using testing::ReadText;
using testing::TempDir;

class AllocationFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pugi::set_memory_management_functions(PugiAllocate, std::free);
    CXmlDocument::InitXMLDocument();
    voice_.SetXmlFalePath(dir_.path().c_str());
    attributes_.SetDirectory(dir_.path() + "/");
  }
  void TearDown() override { allocationsLeft = -1; }

  // Runs |operation| with the n-th allocation failing, for n = 0, 1, ... until a run needs no
  // failure; |check| looks at the outcome of each run with allocations working again.
  template <typename Operation, typename Check>
  void FailEachAllocation(Operation operation, Check check) {
    for (long n = 0;; ++n) {
      SCOPED_TRACE("failing allocation " + std::to_string(n));
      failed = false;
      allocationsLeft = n;
      int result = -1;
      bool threw = false;
      try {
        result = operation();
      } catch (...) {
        threw = true;
      }
      allocationsLeft = -1;
      ASSERT_FALSE(threw);
      check(result);
      if (!failed) {
        EXPECT_EQ(1, result);  // the run that had all it asked for succeeds
        return;
      }
    }
  }

  std::string VoiceFile() const { return dir_.File("VoiceFolder.xml"); }

  TempDir dir_;
  CVoiceFolderXML voice_;
  CFolderAttrXML attributes_;
};

TEST_F(AllocationFailureTest, CachedFolderOperationsReturnZero) {
  VOICE_ITEM_XML_DATA first;
  first.guid = "first";
  first.dictation_file_name = "first.wav";
  ASSERT_EQ(1, voice_.AddItemXML(first, 0));

  // Step 1: a list replacing the file: the record copies fail too.
  VOICE_ITEM_XML_DATA list[2];
  list[0].guid = "x";
  list[0].dictation_file_name = "x.wav";
  list[1].guid = "y";
  list[1].dictation_file_name = "y.wav";
  FailEachAllocation([&] { return voice_.SetItemListXML(2, list); },
                     [&](int result) {
                       // The plain file may be written before the encrypted one's step fails.
                       const int count = voice_.GetItemCountXML(nullptr);
                       if (result == 1) {
                         EXPECT_EQ(2, count);
                       }
                       EXPECT_TRUE(count == 1 || count == 2) << count;
                     });

  // Step 2: adds. An allocation that fails after the rename still reports 0, so a failed run
  // may have added; the file always parses and a reported add is always there.
  VOICE_ITEM_XML_DATA added;
  added.guid = "z";
  added.dictation_file_name = "z.wav";
  int before = voice_.GetItemCountXML(nullptr);
  FailEachAllocation([&] { return voice_.AddItemXML(added, 0); },
                     [&](int result) {
                       const int count = voice_.GetItemCountXML(nullptr);
                       EXPECT_TRUE(count == before + result || (result == 0 && count == before + 1))
                           << before << " -> " << count;
                       before = count;
                     });

  // Step 3: listings hand out nothing when they fail.
  FailEachAllocation(
      [&] {
        long count = -1;
        VOICE_ITEMLIST_XML_DATA* items = nullptr;
        const int result = voice_.GetItemListXML(&count, &items);
        CVoiceFolderXML::ReleaseItemList(items);
        return result;
      },
      [](int) {});
}

TEST_F(AllocationFailureTest, AttributeSwitchesReturnZero) {
  FailEachAllocation([&] { return attributes_.EnableEncryption(1, 101); },
                     [&](int result) {
                       if (result == 1) {
                         EXPECT_EQ(1, attributes_.IsEncryption());
                       }
                       if (result == 0) attributes_.EnableEncryption(0, 0);
                     });
  FailEachAllocation([&] { return attributes_.IsEncryption(); }, [](int) {});
}

TEST_F(AllocationFailureTest, DomLayerRaisesOutOfMemory) {
  const std::shared_ptr<DomDocument> doc = DomDocument::Create();
  ASSERT_TRUE(doc->LoadXml("<root><item_list><item><guid>a</guid></item></item_list></root>"));
  const std::string query = "/root/item_list/item[guid='a']";
  for (long n = 0; n < 64; ++n) {
    allocationsLeft = n;
    failed = false;
    try {
      const DomNodeList found = doc->AsNode().SelectNodes(query);
      allocationsLeft = -1;
      EXPECT_EQ(1u, found.size());
    } catch (const ComError& e) {
      allocationsLeft = -1;
      EXPECT_EQ(kErrorOutOfMemory, e.code());
    }
    if (!failed) break;
  }
  allocationsLeft = 0;
  try {
    (void)DomDocument::Create();
    allocationsLeft = -1;
    ADD_FAILURE() << "no allocation failed";
  } catch (const ComError& e) {
    allocationsLeft = -1;
    EXPECT_EQ(kErrorOutOfMemory, e.code());
  }
}

}  // namespace
}  // namespace Foldwise
