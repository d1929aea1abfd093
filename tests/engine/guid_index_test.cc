// The guid index both brackets use: the order its candidates keep through adds and removals, and
// which thread sees, keeps and drops a kept index. That folded guids find every case variant is
// the documents bracket tests'; that candidates are checked by the caller's match makes extra
// candidates harmless, so only missing or misordered ones are faults.
#include "engine/guid_index.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "dom/dom_scan.h"

namespace Foldwise {
namespace {

constexpr char kItems[] =
    "<root><item_list><item n='1'><guid>ab-1</guid></item><item n='2'><guid>AB-1</guid></item>"
    "<item n='3'><guid>ab-2</guid></item></item_list></root>";

std::shared_ptr<DomDocument> Load() {
  std::shared_ptr<DomDocument> document = DomDocument::Create();
  EXPECT_TRUE(document->LoadXml(kItems));
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

TEST(GuidIndexTest, AddAndRemoveKeepTheCandidatesInFilingOrder) {
  const std::shared_ptr<DomDocument> document = Load();
  const DomNode first = FirstChildElement(ItemList(*document), "item");
  const DomNode second = NextSiblingElement(first, "item");
  const DomNode third = NextSiblingElement(second, "item");
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

std::unique_ptr<GuidIndex> BuildFolded(const DomDocument&, DomNode scope) {
  auto index = std::make_unique<GuidIndex>(GuidCase::kIgnoreAsciiCase);
  for (DomNode item = FirstChildElement(scope, "item"); item;
       item = NextSiblingElement(item, "item")) {
    index->Add(item, FirstChildElement(item, "guid").Text());
  }
  return index;
}

class KeptGuidIndexTest : public ::testing::Test {
 protected:
  void TearDown() override {
    DropGuidIndexes(document.get());
    DropThreadGuidIndexes();
  }
  // What GuidIndexOf gives under |owner| on another thread, without building.
  GuidIndex* SeenElsewhere(IndexOwner owner) {
    GuidIndex* seen = nullptr;
    std::thread([&] { seen = GuidIndexOf(document, list, owner, nullptr); }).join();
    return seen;
  }
  GuidIndex* Kept(IndexOwner owner) { return GuidIndexOf(document, list, owner, nullptr); }

  std::shared_ptr<DomDocument> document = Load();
  DomNode list = ItemList(*document);
};

TEST_F(KeptGuidIndexTest, AThreadsIndexIsItsOwn) {
  // Step 1: built once, then kept; another thread neither sees it nor drops it.
  GuidIndex* index = GuidIndexOf(document, list, IndexOwner::kThread, &BuildFolded);
  ASSERT_NE(nullptr, index);
  EXPECT_EQ("1 2 ", Names(index->Find("AB-1")));
  EXPECT_EQ(nullptr, SeenElsewhere(IndexOwner::kThread));
  std::thread([&] {
    DropGuidIndexes(document.get());
    DropThreadGuidIndexes();
  }).join();
  EXPECT_EQ(index, Kept(IndexOwner::kThread));

  // Step 2: the end of its thread's bracket drops it; so does a change that is not kept.
  DropThreadGuidIndexes();
  EXPECT_EQ(nullptr, Kept(IndexOwner::kThread));
  index = GuidIndexOf(document, list, IndexOwner::kThread, &BuildFolded);
  {
    IndexKeeper keeper(document.get());
    keeper.Keep();
  }
  EXPECT_EQ(index, Kept(IndexOwner::kThread));
  { const IndexKeeper keeper(document.get()); }
  EXPECT_EQ(nullptr, Kept(IndexOwner::kThread));
}

TEST_F(KeptGuidIndexTest, ADocumentsIndexServesEveryThread) {
  // Step 1: made on one thread, seen on another; the end of a thread's bracket leaves it, and it
  // is no thread's index.
  GuidIndex* index = GuidIndexOf(document, list, IndexOwner::kDocument, &BuildFolded);
  ASSERT_NE(nullptr, index);
  EXPECT_EQ(index, SeenElsewhere(IndexOwner::kDocument));
  DropThreadGuidIndexes();
  EXPECT_EQ(index, Kept(IndexOwner::kDocument));
  EXPECT_EQ(nullptr, Kept(IndexOwner::kThread));

  // Step 2: another thread's drop drops it.
  std::thread([&] { DropGuidIndexes(document.get()); }).join();
  EXPECT_EQ(nullptr, Kept(IndexOwner::kDocument));

  // Step 3: a document that ends takes its index along, even if a new one takes its address.
  ASSERT_NE(nullptr, GuidIndexOf(document, list, IndexOwner::kDocument, &BuildFolded));
  document = Load();
  list = ItemList(*document);
  EXPECT_EQ(nullptr, Kept(IndexOwner::kDocument));
}

}  // namespace
}  // namespace Foldwise
