// A folder file that does not parse, or parses without the folder's elements, is never changed
// by any operation: each reports the failure its contract gives and leaves the bytes alone.
// MakeXML, which writes a fresh file whatever was there, first sets a damaged one aside.
#include <functional>
#include <string>
#include <vector>

#include "documents_fixture.h"

namespace Foldwise {
namespace {

const std::vector<std::string> kUnparseable = {
    "<?xml version='1.0'?>\r\n<!--Quillnote X-->\r\n<root><item_list><item><guid>g1</gu",  // cut
    "not xml at all",
};
// Parses, but holds no item_list: only MakeXML and the host's own save may replace it.
const std::vector<std::string> kDamaged = {kUnparseable[0], kUnparseable[1],
                                           "<?xml version='1.0'?><root><other/></root>"};

class DamagedFileTest : public DocumentsFixture {
 protected:
  // Runs every operation in |operations| on each damaged content of |file| and checks that the
  // file keeps its bytes.
  void ExpectUntouched(const char* file, const std::vector<std::function<void()>>& operations,
                       const std::vector<std::string>& contents = kDamaged) {
    for (const std::string& content : contents) {
      for (std::size_t i = 0; i < operations.size(); ++i) {
        Write(file, content);
        operations[i]();
        EXPECT_EQ(content, Text(file)) << file << ", operation " << i << ", content " << content;
      }
    }
  }

  // MakeXML writes a fresh file over one that does not parse only after setting that one aside
  // with its bytes; opening it fails and changes nothing.
  void ExpectSetAsideByMake(const char* file, const std::function<void()>& make) {
    for (const std::string& content : kUnparseable) {
      Write(file, content);
      make();
      EXPECT_NE(content, Text(file)) << file;
      EXPECT_EQ(std::vector<std::string>{content}, testing::TakeSetAsideContents(dir.path(), file))
          << file;
    }
  }
};

TEST_F(DamagedFileTest, AuthorFolder) {
  const DOCUMENTS_ITEM_XML_DATA key = AuthorItem("g1", "a.doc");
  DOCUMENTS_ITEMLIST_XML_DATA entry;
  entry.guid = "g2";
  ExpectUntouched(
      kAuthorFile,
      {[&] { author.AddItemFtpXML(key, {}, 1); }, [&] { author.AddItemSmtpXML(key, {}, 1); },
       [&] { author.SetItemListXML(1, &entry); }, [&] { author.DelItemXML(key); },
       [&] { author.ChangeItemXML(key, AuthorItem("x", "y")); },
       [&] { author.ChangeItemListXML(key, entry); }, [&] { author.DelItemDictationXML(key); },
       [&] { author.DelItemDictationXML(key, key); },
       [&] {
         DOCUMENTS_ITEMLIST_XML_DATA out;
         out.guid = "untouched";
         author.GetItemXML(key, &out);
         EXPECT_EQ("untouched", out.guid);
       },
       [&] {
         long count = -1;
         DOCUMENTS_ITEMLIST_XML_DATA* list = nullptr;
         author.GetItemListXML(&count, &list);
         EXPECT_EQ(0, count);
         EXPECT_EQ(nullptr, list);
       },
       // A mirror into a damaged author file adds nothing.
       [&] {
         typist.MakeXML();
         typist.AddItemXML(TypistItem("t1", "t.doc"));
       }});
  // Opening reports the failure when the file does not parse.
  ExpectUntouched(kAuthorFile, {[&] {
                    EXPECT_EQ(-1, author.OpenXML());
                    author.CloseXML(1);
                  }},
                  kUnparseable);
  ExpectSetAsideByMake(kAuthorFile, [&] { author.MakeXML(); });
}

TEST_F(DamagedFileTest, TypistFolder) {
  const DOCUMENTS_TYPIST_ITEM_XML_DATA key = TypistItem("g1", "a.doc");
  DOCUMENTS_TYPIST_ITEM_XML_DATA entry = TypistItem("g2", "b.doc");
  ExpectUntouched(
      kTypistFile,
      {[&] { typist.AddItemXML(entry); }, [&] { typist.SetItemListXML(1, &entry); },
       [&] { typist.DelItemXML(key); }, [&] { typist.ChangeItemXML(key, entry); },
       [&] { typist.DelItemDictationXML(key); }, [&] { typist.DelItemDictationXML(key, entry); },
       [&] {
         long count = -1;
         DOCUMENTS_TYPIST_ITEM_XML_DATA* list = nullptr;
         typist.GetItemListXML(&count, &list);
         EXPECT_EQ(0, count);
       },
       [&] {
         author.MakeXML();
         author.AddItemFtpXML(AuthorItem("a1", "a.doc"), {}, 0);
         author.DelItemXML(AuthorItem("a1", ""));
       }});
  ExpectUntouched(kTypistFile, {[&] {
                    EXPECT_EQ(-1, typist.OpenXML());
                    typist.CloseXML(1);
                  }},
                  kUnparseable);
  ExpectSetAsideByMake(kTypistFile, [&] { typist.MakeXML(); });
}

TEST_F(DamagedFileTest, SentItemsFolder) {
  SENTITEMS_TYPIST_ITEM_XML_DATA key;
  key.guid = "g1";
  SENTITEMS_TYPIST_ITEMLIST_XML_DATA entry;
  entry.guid = "g2";
  entry.protocol = "mail";
  ExpectSetAsideByMake(kSentFile, [&] { sent.MakeXML(); });
  ExpectUntouched(kSentFile,
                  {[&] { sent.AddItemFtpXML(key, {}); }, [&] { sent.AddItemSmtpXML(key, {}); },
                   [&] { EXPECT_FALSE(sent.AddItemXML(key)); },
                   [&] { EXPECT_FALSE(sent.SetItemListXML(1, &entry)); },
                   [&] { EXPECT_FALSE(sent.DelItemXML(key)); },
                   [&] { EXPECT_FALSE(sent.ChangeItemXML(key, entry)); },
                   [&] { EXPECT_FALSE(sent.ChangeItemXML(key, key)); },
                   [&] { sent.DelItemDictationXML(key, key); },
                   [&] {
                     long count = -1;
                     SENTITEMS_TYPIST_ITEMLIST_XML_DATA* list = nullptr;
                     sent.GetItemListXML(&count, &list);
                     EXPECT_EQ(0, count);
                   }});
}

}  // namespace
}  // namespace Foldwise
