// Mirroring between the two documents folders: what travels, when nothing does, and the guard
// that keeps a mirrored change from coming back.
#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "documents_fixture.h"

namespace Foldwise {
namespace {

class SyncTest : public DocumentsFixture {
 protected:
  void BothFolders() {
    author.MakeXML();
    typist.MakeXML();
  }
};

TEST_F(SyncTest, AddsTravelBothWaysOnlyWhenTheOtherFileExists) {
  // Step 1: without a typist file nothing is mirrored, and no file is made.
  author.AddItemFtpXML(AuthorItem("g1", "a.doc"), {}, 0);
  EXPECT_FALSE(Has(kTypistFile));

  // Step 2: with it, an author add arrives as a typist item with an empty status.
  typist.MakeXML();
  DOCUMENTS_ITEM_XML_DATA item = AuthorItem("g2", "b.doc", "b.wav");
  item.protocol = "mail";
  item.date = "today";
  author.AddItemSmtpXML(item, {"f", "s", "b"}, 1);
  EXPECT_EQ("g2/b.doc;/;", TypistListing());
  EXPECT_NE(std::string::npos, Text(kTypistFile)
                                   .find("<dictation_file_name>b.wav</dictation_file_name>\n\t\t\t"
                                         "<dictation_file_path/>\n\t\t\t<status/>\n\t\t</item>"));

  // Step 3: a typist add arrives as an author item without delivery details.
  DOCUMENTS_TYPIST_ITEM_XML_DATA entry = TypistItem("t1", "t.doc");
  entry.status = "typed";
  entry.To = "author";
  typist.AddItemXML(entry);
  EXPECT_EQ("g1/a.doc;g2/b.doc;t1/t.doc;/;", AuthorListing());
  EXPECT_NE(std::string::npos, Text(kAuthorFile)
                                   .find("<guid>t1</guid>\n\t\t\t<document_file_name>t.doc"
                                         "</document_file_name>\n\t\t\t<protocol/>\n\t\t\t<date/>"
                                         "\n\t\t\t<time/>\n\t\t\t<dictation_file_name/>"));

  // Step 4: entries the other side already holds by guid or by document name are skipped; so
  // are entries with an empty guid or document name (the stored list ends with an empty entry).
  DOCUMENTS_ITEMLIST_XML_DATA list[4];
  static_cast<DOCUMENTS_ITEM_XML_DATA&>(list[0]) = AuthorItem("t1", "other.doc");
  static_cast<DOCUMENTS_ITEM_XML_DATA&>(list[1]) = AuthorItem("new", "T.DOC");
  static_cast<DOCUMENTS_ITEM_XML_DATA&>(list[2]) = AuthorItem("", "nameless.doc");
  static_cast<DOCUMENTS_ITEM_XML_DATA&>(list[3]) = AuthorItem("g9", "");
  author.SetItemListXML(4, list);
  EXPECT_EQ("g2/b.doc;t1/t.doc;new/T.DOC;/;", TypistListing());
  typist.AddItemXML(TypistItem("", "x.doc"));
  typist.AddItemXML(TypistItem("g8", ""));
  EXPECT_EQ(std::string::npos, AuthorListing().find("x.doc"));
  EXPECT_EQ(std::string::npos, AuthorListing().find("g8"));
}

TEST_F(SyncTest, ChangesDeletionsAndDictationRemovalsTravelBothWays) {
  BothFolders();
  author.AddItemFtpXML(AuthorItem("g1", "a.doc", "a.wav"), {}, 0);
  typist.AddItemXML(TypistItem("t1", "t.doc", "t.wav"));
  ASSERT_EQ("g1/a.doc;t1/t.doc;/;", TypistListing());

  // Changes: identity fields travel, found by the target's own identity match.
  DOCUMENTS_ITEM_XML_DATA values = AuthorItem("G1-NEW", "");
  values.protocol = "not mirrored";
  author.ChangeItemXML(AuthorItem("g1", ""), values);
  EXPECT_EQ("G1-NEW/a.doc;t1/t.doc;/;", TypistListing());
  typist.ChangeItemXML(TypistItem("T1", ""), TypistItem("", "renamed.doc"));
  EXPECT_EQ("G1-NEW/a.doc;t1/renamed.doc;/;", AuthorListing());

  // Dictation removal: the typist keeps empty elements, the author loses them.
  author.DelItemDictationXML(AuthorItem("", "a.doc"));
  EXPECT_NE(std::string::npos, Text(kTypistFile).find("<dictation_file_name/>"));
  DOCUMENTS_TYPIST_ITEM_XML_DATA removal = TypistItem("t1-changed", "");
  removal.status = "done";
  typist.DelItemDictationXML(TypistItem("t1", ""), removal);
  EXPECT_EQ(std::string::npos, Text(kAuthorFile).find("t.wav"));
  EXPECT_NE(std::string::npos,
            Text(kTypistFile).find("<dictation_file_name/><dictation_file_path/><status>done"));
  // The guid set by the two-record removal stays on its own side.
  EXPECT_EQ("G1-NEW/a.doc;t1/renamed.doc;/;", AuthorListing());

  // Deletions.
  author.DelItemXML(AuthorItem("g1-new", ""));
  EXPECT_EQ("t1-changed/renamed.doc;/;", TypistListing());
  typist.DelItemXML(TypistItem("", "RENAMED.DOC"));
  EXPECT_EQ("/;", AuthorListing());
}

TEST_F(SyncTest, AMirroredChangeIsNotMirroredBack) {
  BothFolders();
  // Two equal author entries arrive as two typist entries (the stored list is read once).
  DOCUMENTS_ITEMLIST_XML_DATA twins[2];
  static_cast<DOCUMENTS_ITEM_XML_DATA&>(twins[0]) = AuthorItem("g1", "a.doc");
  static_cast<DOCUMENTS_ITEM_XML_DATA&>(twins[1]) = AuthorItem("g1", "a.doc");
  author.SetItemListXML(2, twins);
  ASSERT_EQ("g1/a.doc;g1/a.doc;/;", TypistListing());

  // Deleting one on the author side deletes one on the typist side; an echo would delete the
  // author's second one.
  author.DelItemXML(AuthorItem("g1", ""));
  EXPECT_EQ("g1/a.doc;/;", AuthorListing());
  EXPECT_EQ("g1/a.doc;/;", TypistListing());
}

TEST_F(SyncTest, ARaisingTargetLeavesLaterMirrorsWorking) {
  BothFolders();
  // The author side holds its change in memory; the typist's save fails and raises.
  ASSERT_EQ(0, author.OpenXML());
  env.fail_rename = true;
  EXPECT_THROW(author.AddItemFtpXML(AuthorItem("g1", "a.doc"), {}, 0), ComError);
  env.fail_rename = false;
  author.CloseXML(1);
  EXPECT_EQ("g1/a.doc;/;", AuthorListing());
  EXPECT_EQ("/;", TypistListing());

  // The next change is mirrored again.
  author.AddItemFtpXML(AuthorItem("g2", "b.doc"), {}, 0);
  EXPECT_EQ("g2/b.doc;/;", TypistListing());
}

// Holds the first read of one file until released, so that another thread can run a whole
// mirror while this one is inside its own.
class GateEnv : public EnvWrapper {
 public:
  GateEnv(Env* target, std::string gated) : EnvWrapper(target), gated_(std::move(gated)) {}
  int ReadFile(const std::string& path, std::string* contents, int lock_timeout_ms) override {
    if (path == gated_ && !passed_.exchange(true)) {
      inside.set_value();
      release_.wait_for(std::chrono::seconds(10));
    }
    return EnvWrapper::ReadFile(path, contents, lock_timeout_ms);
  }
  void Release() { releaser_.set_value(); }

  std::promise<void> inside;

 private:
  std::string gated_;
  std::atomic<bool> passed_{false};
  std::promise<void> releaser_;
  std::shared_future<void> release_{releaser_.get_future().share()};
};

TEST_F(SyncTest, TwoThreadsMirroringAtOnceDoNotSilenceEachOther) {
  testing::TempDir other;
  CDocumentsFolderXML otherAuthor;
  CDocumentsTypistFolderXML otherTypist;
  otherAuthor.SetDirectory(other.path());
  otherTypist.SetDirectory(other.path());
  BothFolders();
  otherAuthor.MakeXML();
  otherTypist.MakeXML();

  GateEnv gate(&env, dir.File(kTypistFile));
  ScopedEnv useGate(&gate);
  std::future<void> inside = gate.inside.get_future();
  // Thread one stops inside its mirror, reading the typist file of the first directory.
  std::thread first([this] { author.AddItemFtpXML(AuthorItem("g1", "a.doc"), {}, 0); });
  ASSERT_EQ(std::future_status::ready, inside.wait_for(std::chrono::seconds(10)));
  // Meanwhile thread two mirrors in the second directory.
  std::thread second([&otherAuthor] {
    otherAuthor.AddItemFtpXML(DocumentsFixture::AuthorItem("o1", "o.doc"), {}, 0);
  });
  second.join();
  gate.Release();
  first.join();

  EXPECT_EQ("g1/a.doc;/;", TypistListing());
  long count = 0;
  DOCUMENTS_TYPIST_ITEM_XML_DATA* list = nullptr;
  otherTypist.GetItemListXML(&count, &list);
  ASSERT_EQ(2, count);
  EXPECT_EQ("o1", list[0].guid);
  otherTypist.DelItemListXML(list);
}

}  // namespace
}  // namespace Foldwise
