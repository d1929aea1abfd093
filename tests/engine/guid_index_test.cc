// The guid index both brackets use: what it gives as candidates under each way of comparing
// guids, and which thread sees, keeps and drops a kept index.
#include "engine/guid_index.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "dom/dom_scan.h"

namespace Foldwise {
namespace {

constexpr char kItems[] =
    "<root><item_list>"
    "<item n='1'><guid>ab-1</guid></item>"
    "<item n='2'><guid>AB-1</guid></item>"
    "<item n='3'><guid>ab-2</guid></item>"
    "<item n='4'><guid>\xC3\xA9</guid></item>"
    "<item n='5'><guid/></item>"
    "</item_list></root>";

std::shared_ptr<DomDocument> Load(const char* text) {
  std::shared_ptr<DomDocument> document = DomDocument::Create();
  EXPECT_TRUE(document->LoadXml(text));
  return document;
}

DomNode ItemList(const DomDocument& document) {
  return FirstChildElement(FirstChildElement(document.AsNode(), "root"), "item_list");
}

// The items' `n` attributes, so a failure names them.
std::string Names(const DomNodeList& nodes) {
  std::string names;
  for (const DomNode& node : nodes) names += node.GetAttribute("n") + " ";
  return names;
}

// Every item of the list under its first guid, in document order, as the builders do.
void FileAll(GuidIndex* index, DomNode itemList) {
  for (DomNode item = FirstChildElement(itemList, "item"); item;
       item = NextSiblingElement(item, "item")) {
    index->Add(item, FirstChildElement(item, "guid").Text());
  }
}

TEST(GuidIndexTest, CandidatesFollowTheWayGuidsCompare) {
  const std::shared_ptr<DomDocument> document = Load(kItems);
  const DomNode list = ItemList(*document);

  // Step 1: exact guids keep case variants apart.
  GuidIndex exact(GuidCase::kExact);
  FileAll(&exact, list);
  EXPECT_EQ("1 ", Names(exact.Find("ab-1")));
  EXPECT_EQ("2 ", Names(exact.Find("AB-1")));
  EXPECT_EQ("", Names(exact.Find("Ab-2")));

  // Step 2: folded guids give every case variant, in the order they were filed; only ASCII
  // letters fold.
  GuidIndex folded(GuidCase::kIgnoreAsciiCase);
  FileAll(&folded, list);
  EXPECT_EQ("1 2 ", Names(folded.Find("aB-1")));
  EXPECT_EQ("3 ", Names(folded.Find("AB-2")));
  EXPECT_EQ("4 ", Names(folded.Find("\xC3\xA9")));
  EXPECT_EQ("", Names(folded.Find("\xC3\x89")));

  // Step 3: an empty guid is never filed.
  EXPECT_EQ("", Names(folded.Find("")));
}

TEST(GuidIndexTest, AddAndRemoveKeepTheCandidatesTrue) {
  const std::shared_ptr<DomDocument> document = Load(kItems);
  const DomNode first = FirstChildElement(ItemList(*document), "item");
  const DomNode second = NextSiblingElement(first, "item");
  GuidIndex index(GuidCase::kIgnoreAsciiCase);

  // Step 1: an item filed twice under one guid (two guid elements alike) is one candidate.
  index.Add(first, "ab-1");
  index.Add(first, "AB-1");
  index.Add(second, "ab-1");
  EXPECT_EQ("1 2 ", Names(index.Find("ab-1")));

  // Step 2: removing takes out that item alone, and only under the guid named.
  index.Remove(first, "zz");
  EXPECT_EQ("1 2 ", Names(index.Find("ab-1")));
  index.Remove(first, "Ab-1");
  EXPECT_EQ("2 ", Names(index.Find("ab-1")));
  index.Remove(second, "ab-1");
  EXPECT_EQ("", Names(index.Find("ab-1")));

  // Step 3: an item filed again comes after those still filed, and the order outlives the
  // removal of the first.
  const DomNode third = NextSiblingElement(second, "item");
  index.Add(second, "ab-1");
  index.Add(first, "ab-1");
  index.Add(third, "ab-1");
  EXPECT_EQ("2 1 3 ", Names(index.Find("ab-1")));
  index.Remove(second, "ab-1");
  EXPECT_EQ("1 3 ", Names(index.Find("ab-1")));
  index.Remove(third, "ab-1");
  index.Add(second, "ab-1");
  EXPECT_EQ("1 2 ", Names(index.Find("ab-1")));
}

int builds = 0;

std::unique_ptr<GuidIndex> BuildFolded(const DomDocument&, DomNode scope) {
  ++builds;
  auto index = std::make_unique<GuidIndex>(GuidCase::kIgnoreAsciiCase);
  FileAll(index.get(), scope);
  return index;
}

std::unique_ptr<GuidIndex> BuildNothing(const DomDocument&, DomNode) {
  ++builds;
  return nullptr;
}

// What GuidIndexOf gives |document| under |owner| on another thread, without building.
GuidIndex* SeenElsewhere(const std::shared_ptr<DomDocument>& document, DomNode scope,
                         IndexOwner owner) {
  GuidIndex* seen = nullptr;
  std::thread([&] { seen = GuidIndexOf(document, scope, owner, nullptr); }).join();
  return seen;
}

class KeptGuidIndexTest : public ::testing::Test {
 protected:
  void SetUp() override { builds = 0; }
  void TearDown() override {
    DropGuidIndexes(document.get());
    DropThreadGuidIndexes();
  }

  std::shared_ptr<DomDocument> document = Load(kItems);
  DomNode list = ItemList(*document);
};

TEST_F(KeptGuidIndexTest, AThreadsIndexIsItsOwn) {
  // Step 1: built once, then kept; nothing is built without a builder.
  EXPECT_EQ(nullptr, GuidIndexOf(document, list, IndexOwner::kThread, nullptr));
  GuidIndex* index = GuidIndexOf(document, list, IndexOwner::kThread, &BuildFolded);
  ASSERT_NE(nullptr, index);
  EXPECT_EQ("1 2 ", Names(index->Find("AB-1")));
  EXPECT_EQ(index, GuidIndexOf(document, list, IndexOwner::kThread, &BuildFolded));
  EXPECT_EQ(index, GuidIndexOf(document, list, IndexOwner::kThread, nullptr));
  EXPECT_EQ(1, builds);

  // Step 2: another thread neither sees it nor drops it.
  EXPECT_EQ(nullptr, SeenElsewhere(document, list, IndexOwner::kThread));
  std::thread([&] {
    DropGuidIndexes(document.get());
    DropThreadGuidIndexes();
  }).join();
  EXPECT_EQ(index, GuidIndexOf(document, list, IndexOwner::kThread, nullptr));

  // Step 3: another node of the document has an index of its own.
  const DomNode root = FirstChildElement(document->AsNode(), "root");
  EXPECT_EQ(nullptr, GuidIndexOf(document, root, IndexOwner::kThread, nullptr));

  // Step 4: the end of its thread's bracket drops it.
  DropThreadGuidIndexes();
  EXPECT_EQ(nullptr, GuidIndexOf(document, list, IndexOwner::kThread, nullptr));
}

TEST_F(KeptGuidIndexTest, ADocumentsIndexServesEveryThread) {
  // Step 1: made on one thread, seen on another; the end of a thread's bracket leaves it.
  GuidIndex* index = GuidIndexOf(document, list, IndexOwner::kDocument, &BuildFolded);
  ASSERT_NE(nullptr, index);
  EXPECT_EQ(index, SeenElsewhere(document, list, IndexOwner::kDocument));
  DropThreadGuidIndexes();
  EXPECT_EQ(index, GuidIndexOf(document, list, IndexOwner::kDocument, nullptr));
  // Nor is it a thread's index.
  EXPECT_EQ(nullptr, GuidIndexOf(document, list, IndexOwner::kThread, nullptr));

  // Step 2: another thread's drop drops it; the next lookup builds afresh.
  std::thread([&] { DropGuidIndexes(document.get()); }).join();
  EXPECT_EQ(nullptr, GuidIndexOf(document, list, IndexOwner::kDocument, nullptr));
  ASSERT_NE(nullptr, GuidIndexOf(document, list, IndexOwner::kDocument, &BuildFolded));
  EXPECT_EQ(2, builds);

  // Step 3: a document that ends takes its index along: a new one is built afresh.
  document = Load(kItems);
  list = ItemList(*document);
  EXPECT_EQ(nullptr, GuidIndexOf(document, list, IndexOwner::kDocument, nullptr));
}

TEST_F(KeptGuidIndexTest, UnindexableItemsAreRememberedAndKeeperDrops) {
  // Step 1: items the builder turns down are looked at once, not on every lookup.
  EXPECT_EQ(nullptr, GuidIndexOf(document, list, IndexOwner::kThread, &BuildNothing));
  EXPECT_EQ(nullptr, GuidIndexOf(document, list, IndexOwner::kThread, &BuildNothing));
  EXPECT_EQ(1, builds);
  DropGuidIndexes(document.get());

  // Step 2: a change kept keeps the index; one that is not drops it.
  GuidIndex* index = GuidIndexOf(document, list, IndexOwner::kThread, &BuildFolded);
  {
    IndexKeeper keeper(document.get());
    keeper.Keep();
  }
  EXPECT_EQ(index, GuidIndexOf(document, list, IndexOwner::kThread, nullptr));
  { const IndexKeeper keeper(document.get()); }
  EXPECT_EQ(nullptr, GuidIndexOf(document, list, IndexOwner::kThread, nullptr));
}

}  // namespace
}  // namespace Foldwise
