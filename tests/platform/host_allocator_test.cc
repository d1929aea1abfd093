// A host that uses pugixml itself, with allocation functions of its own, set before or after the
// library starts: its functions stay in force and every block it allocates comes back to it.
#include <gtest/gtest.h>

#include <mutex>
#include <pugixml.hpp>
#include <set>
#include <string>

#include "foldwise/cached_folders.h"
#include "foldwise/xml_document.h"
#include "support/temp_dir.h"

namespace Foldwise {
namespace {

// The host's allocator: it knows every block it handed out.
struct HostHeap {
  std::mutex lock;
  std::set<void*> live;
  int allocations = 0;
  int foreign_frees = 0;  // blocks the host never handed out, freed through its function
};

HostHeap& Heap() {
  static HostHeap heap;
  return heap;
}

void* HostAllocate(size_t size) {
  void* block = std::malloc(size);
  std::lock_guard<std::mutex> guard(Heap().lock);
  Heap().live.insert(block);
  ++Heap().allocations;
  return block;
}

void HostDeallocate(void* block) {
  {
    std::lock_guard<std::mutex> guard(Heap().lock);
    if (Heap().live.erase(block) == 0) ++Heap().foreign_frees;
  }
  std::free(block);
}

class HostAllocatorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_allocate_ = pugi::get_memory_allocation_function();
    saved_deallocate_ = pugi::get_memory_deallocation_function();
    voice_.SetXmlFalePath(dir_.path().c_str());
    std::lock_guard<std::mutex> guard(Heap().lock);
    Heap().allocations = 0;
    Heap().foreign_frees = 0;
  }
  void TearDown() override {
    pugi::set_memory_management_functions(saved_allocate_, saved_deallocate_);
  }

  // Library work that creates, loads, changes, saves and drops documents, inside a bracket too.
  void UseTheLibrary(int round) {
    VOICE_ITEM_XML_DATA item;
    item.guid = "g" + std::to_string(round);
    item.dictation_file_name = item.guid + ".dss";
    ASSERT_EQ(1, voice_.AddItemXML(item, 0));
    CXmlDocument::ActiveCacheDOMDocument();
    item.guid += "-cached";
    ASSERT_EQ(1, voice_.AddItemXML(item, 0));
    EXPECT_EQ(2 * round + 2, voice_.GetItemCountXML(nullptr));
    CXmlDocument::DeactiveCacheDOMDocument(0);
  }

  // Host work with pugixml: a document that lives across the library's work.
  void HostParsesAround(int round) {
    pugi::xml_document host;
    ASSERT_TRUE(host.load_string("<host><a>1</a></host>"));
    UseTheLibrary(round);
    host.child("host").append_child("b").text().set("a text long enough to need its own block");
    EXPECT_EQ(HostAllocate, pugi::get_memory_allocation_function());
    EXPECT_EQ(HostDeallocate, pugi::get_memory_deallocation_function());
  }

  void ExpectEveryHostBlockCameBack() {
    std::lock_guard<std::mutex> guard(Heap().lock);
    EXPECT_GT(Heap().allocations, 0);
    EXPECT_TRUE(Heap().live.empty()) << Heap().live.size() << " host blocks freed elsewhere";
    EXPECT_EQ(0, Heap().foreign_frees);
  }

  testing::TempDir dir_;
  CVoiceFolderXML voice_;
  pugi::allocation_function saved_allocate_ = nullptr;
  pugi::deallocation_function saved_deallocate_ = nullptr;
};

TEST_F(HostAllocatorTest, FunctionsSetBeforeTheLibraryStarts) {
  pugi::set_memory_management_functions(HostAllocate, HostDeallocate);
  CXmlDocument::InitXMLDocument();
  HostParsesAround(0);
  HostParsesAround(1);
  CXmlDocument::UninitXMLDocument();
  ExpectEveryHostBlockCameBack();
}

TEST_F(HostAllocatorTest, FunctionsSetAfterTheLibraryStarted) {
  CXmlDocument::InitXMLDocument();
  UseTheLibrary(0);
  // No document of either side is alive here, as pugixml asks of a change of functions.
  pugi::set_memory_management_functions(HostAllocate, HostDeallocate);
  HostParsesAround(1);
  HostParsesAround(2);
  CXmlDocument::UninitXMLDocument();
  ExpectEveryHostBlockCameBack();
}

}  // namespace
}  // namespace Foldwise
