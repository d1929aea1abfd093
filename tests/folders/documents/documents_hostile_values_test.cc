// Hostile values against the key-based operations of the documents folders and the typist's
// sent items: keys compare ignoring case but never match more than their own text, and a value
// round-trips exactly or is refused by ComError with the file (and a host's held tree) unchanged.
#include <string>
#include <vector>

#include "documents_fixture.h"
#include "foldwise/errors.h"
#include "support/hostile_values.h"

namespace Foldwise {
namespace {

using testing::HostileValue;

class DocumentsHostileValuesTest : public DocumentsFixture {
 protected:
  // "guid/document" of the first entry |key| finds ("untouched/" when none).
  template <typename Key>
  std::string Found(const Key& key) {
    const auto out = Get(key);
    return out.guid + "/" + out.document_file_name;
  }

  void Baseline() {
    typist.MakeXML();
    sent.MakeXML();
    DOCUMENTS_TYPIST_ITEM_XML_DATA base = TypistItem("g1", "one.doc");
    typist.SetItemListXML(1, &base);
    ASSERT_TRUE(sent.AddItemXML(SentItem("g1", "one.doc")));
  }

  void CheckStorable(const HostileValue& value) {
    Baseline();
    typist.AddItemXML(TypistItem(value.text, value.text));
    ASSERT_TRUE(sent.AddItemXML(SentItem(value.text, value.text)));
    const std::string both = value.text + "/" + value.text;
    EXPECT_EQ(both, Found(TypistItem(value.text, "")));
    EXPECT_EQ(both, Found(TypistItem("", value.text)));
    EXPECT_EQ(both, Found(SentItem(value.text, "")));
    // Only the exact text (letter case aside) is found.
    for (const std::string& near : {value.text + "x", " " + value.text}) {
      EXPECT_EQ("untouched/", Found(TypistItem(near, ""))) << near;
      EXPECT_EQ("untouched/", Found(SentItem(near, ""))) << near;
    }
    // Changes and deletions by the value's key touch its entry alone.
    DOCUMENTS_TYPIST_ITEM_XML_DATA values;
    values.document_file_name = "changed.doc";
    typist.ChangeItemXML(TypistItem(value.text, ""), values);
    EXPECT_EQ(value.text + "/changed.doc", Found(TypistItem(value.text, "")));
    typist.DelItemXML(TypistItem(value.text, ""));
    EXPECT_TRUE(sent.DelItemXML(SentItem(value.text, "")));
    EXPECT_EQ("untouched/", Found(TypistItem(value.text, "")));
    EXPECT_EQ("g1/one.doc", Found(TypistItem("G1", "")));
    EXPECT_EQ("g1/one.doc", Found(SentItem("G1", "")));
    EXPECT_EQ("untouched/", Found(SentItem(value.text, "")));
  }

  void CheckRefused(const HostileValue& value) {
    Baseline();
    const std::string typistBefore = Text(kTypistFile);
    const std::string sentBefore = Text(kSentFile);
    EXPECT_THROW(typist.AddItemXML(TypistItem(value.text, "h.doc")), ComError);
    EXPECT_THROW(sent.AddItemXML(SentItem("h", value.text)), ComError);
    DOCUMENTS_TYPIST_ITEM_XML_DATA values;
    values.document_file_name = "changed.doc";
    values.status = value.text;
    EXPECT_THROW(typist.ChangeItemXML(TypistItem("g1", ""), values), ComError);
    EXPECT_EQ(typistBefore, Text(kTypistFile));
    const std::string listing = TypistListing();
    // Inside a host's bracket a refused list or change leaves the held tree as it was, so
    // closing with a save writes what was there.
    ASSERT_EQ(0, typist.OpenXML());
    DOCUMENTS_TYPIST_ITEM_XML_DATA list[] = {TypistItem("ok", "ok.doc"), TypistItem("bad", "b")};
    list[1].dictation_file_path = value.text;
    EXPECT_THROW(typist.SetItemListXML(2, list), ComError);
    EXPECT_THROW(typist.ChangeItemXML(TypistItem("g1", ""), values), ComError);
    typist.CloseXML(1);
    // The host's save rewrites the file without its indentation, and with nothing else changed.
    EXPECT_EQ(listing, TypistListing());
    EXPECT_EQ("g1/one.doc", Found(TypistItem("g1", "")));
    // A key with the value finds nothing, and so changes nothing.
    EXPECT_EQ("untouched/", Found(TypistItem(value.text, "")));
    typist.DelItemXML(TypistItem(value.text, ""));
    EXPECT_FALSE(sent.DelItemXML(SentItem(value.text, "")));
    EXPECT_EQ("untouched/", Found(SentItem(value.text, "")));
    EXPECT_EQ(sentBefore, Text(kSentFile));
  }
};

TEST_F(DocumentsHostileValuesTest, EveryValueRoundTripsOrIsRefusedWithNothingChanged) {
  testing::ForEachHostileValue([this](const HostileValue& value) { CheckStorable(value); },
                               [this](const HostileValue& value) { CheckRefused(value); });
}

}  // namespace
}  // namespace Foldwise
