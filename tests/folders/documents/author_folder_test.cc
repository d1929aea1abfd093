// DocumentsFolder.xml: the file as written, identity matching, listing counts, delivery details
// and the open/close bracket.
#include <string>

#include "documents_fixture.h"

namespace Foldwise {
namespace {

class AuthorFolderTest : public DocumentsFixture {
 protected:
  std::string Head() const {
    return "<?xml version=\"1.0\"?>\r\n<!--Quillnote DocumentsFolderXML-->\r\n<root><item_list>"
           "<document_file_path>" +
           dir.path() + "</document_file_path>";
  }
};

TEST_F(AuthorFolderTest, FirstAddAndAnAppendedFieldByteForByte) {
  // Step 1: the first add makes the file from the template and appends one indented item.
  DOCUMENTS_ITEM_XML_DATA item = AuthorItem("g1", "a.doc", "a.wav");
  item.protocol = "ftp";
  item.date = "06.12.2026";
  item.time = "11:00";
  item.dictation_file_path = dir.path() + "/dictations//";
  author.AddItemFtpXML(item, {"srv", "in"}, 1);
  const std::string item_text =
      "\n\t\t<item>\n\t\t\t<guid>g1</guid>\n\t\t\t<document_file_name>a.doc</document_file_name>"
      "\n\t\t\t<protocol>ftp</protocol>\n\t\t\t<ftp>\n\t\t\t\t<server>srv</server>\n\t\t\t\t"
      "<folder>in</folder>\n\t\t\t</ftp>\n\t\t\t<date>06.12.2026</date>\n\t\t\t<time>11:00</time>"
      "\n\t\t\t<dictation_file_name>a.wav</dictation_file_name>\n\t\t\t<dictation_file_path>" +
      dir.path() + "/dictations</dictation_file_path>\n\t\t</item>\n\t";
  EXPECT_EQ(Head() + item_text + "</item_list></root>\r\n", Text(kAuthorFile));

  // Step 2: a change that brings back a removed field appends it at the end of the item,
  // followed by its indent text; the reloaded tree carries no other indentation.
  author.DelItemDictationXML(AuthorItem("g1", ""));
  DOCUMENTS_ITEM_XML_DATA values;
  values.dictation_file_name = "b.wav";
  author.ChangeItemXML(AuthorItem("G1", ""), values);
  EXPECT_EQ(Head() +
                "<item><guid>g1</guid><document_file_name>a.doc</document_file_name>"
                "<protocol>ftp</protocol><ftp><server>srv</server><folder>in</folder></ftp>"
                "<date>06.12.2026</date><time>11:00</time>"
                "<dictation_file_name>b.wav</dictation_file_name>\n\t\t\t</item></item_list>"
                "</root>\r\n",
            Text(kAuthorFile));
}

TEST_F(AuthorFolderTest, IdentityMatching) {
  author.AddItemSmtpXML(AuthorItem("g1", "One.doc", "one.wav"), {}, 0);
  author.AddItemSmtpXML(AuthorItem("g2", "Two.doc", "two.wav"), {}, 0);

  // Guid and document keys, the empty key and the first match are the model test's; here every
  // non-empty field, the dictation's too, must agree ignoring case.
  EXPECT_EQ("untouched", Get(DOCUMENTS_ITEM_XML_DATA()).guid);
  EXPECT_EQ("untouched", Get(AuthorItem("", "two.doc", "one.wav")).guid);
  EXPECT_EQ("g1", Get(AuthorItem("", "ONE.doc", "ONE.WAV")).guid);

  // A key with only document_file_path compares it with the folder-level path: the first item
  // when they agree (case and trailing separators aside), nothing otherwise.
  DOCUMENTS_ITEM_XML_DATA byPath;
  byPath.document_file_path = dir.path() + "//";
  for (char& c : byPath.document_file_path) c = static_cast<char>(std::toupper(c));
  EXPECT_EQ("g1", Get(byPath).guid);
  byPath.document_file_path = dir.path() + "/other";
  EXPECT_EQ("untouched", Get(byPath).guid);

  // Dictation paths compare in storage form without trailing separators.
  DOCUMENTS_ITEM_XML_DATA withPath = AuthorItem("g3", "three.doc");
  withPath.dictation_file_path = "/Data/Dict";
  author.AddItemFtpXML(withPath, {}, 0);
  DOCUMENTS_ITEM_XML_DATA pathKey;
  pathKey.dictation_file_path = "/data/dict\\";
  EXPECT_EQ("g3", Get(pathKey).guid);

  // Reading fills document_file_path from the folder level and leaves no delivery details.
  const DOCUMENTS_ITEMLIST_XML_DATA read = Get(AuthorItem("g3", ""));
  EXPECT_EQ(dir.path(), read.document_file_path);
  EXPECT_EQ("/Data/Dict", read.dictation_file_path);
  EXPECT_EQ(kDeliveryNone, read.delivery_kind);
}

TEST_F(AuthorFolderTest, ListCountsIncludeNonItemChildren) {
  long count = -1;
  DOCUMENTS_ITEMLIST_XML_DATA* list = nullptr;
  // A fresh folder: the folder-level path alone gives one empty entry.
  author.MakeXML();
  author.GetItemListXML(&count, &list);
  ASSERT_EQ(1, count);
  ASSERT_NE(nullptr, list);
  EXPECT_EQ("", list[0].guid + list[0].document_file_path);
  author.DelItemListXML(list);

  // Two items: three entries, the items first in document order.
  author.AddItemFtpXML(AuthorItem("g1", "a.doc"), {}, 0);
  author.AddItemFtpXML(AuthorItem("g2", "b.doc"), {}, 0);
  EXPECT_EQ("g1/a.doc;g2/b.doc;/;", AuthorListing());

  // While the host holds the folder open, indent text created since the load counts too.
  ASSERT_EQ(0, author.OpenXML());
  author.AddItemFtpXML(AuthorItem("g3", "c.doc"), {}, 0);
  EXPECT_EQ("g1/a.doc;g2/b.doc;g3/c.doc;/;/;/;", AuthorListing());
  author.CloseXML(0);
  author.DelItemListXML(nullptr);
}

TEST_F(AuthorFolderTest, DeliveryDetails) {
  DOCUMENTS_ITEM_XML_DATA item = AuthorItem("m", "m.doc");
  item.protocol = "mail";
  // Only withDetails 1 writes the subtree.
  for (int withDetails : {0, 2, -1}) author.AddItemSmtpXML(item, {"f", "s", "b"}, withDetails);
  EXPECT_EQ(std::string::npos, Text(kAuthorFile).find("<mail>"));
  item.guid = "m1";
  author.AddItemSmtpXML(item, {"f", "s", "b"}, 1);
  EXPECT_NE(std::string::npos, Text(kAuthorFile).find("<mail>\n\t\t\t\t<from>f</from>"));
  EXPECT_EQ("s", Get(AuthorItem("m1", "")).smtp.subject);

  // A protocol that is "ftp" in other letters reads back without details.
  DOCUMENTS_ITEMLIST_XML_DATA entries[2];
  static_cast<DOCUMENTS_ITEM_XML_DATA&>(entries[0]) = AuthorItem("f", "f.doc");
  entries[0].protocol = "FTP";
  entries[0].delivery_kind = kDeliveryFtp;
  entries[0].ftp = {"srv", "dir"};
  static_cast<DOCUMENTS_ITEM_XML_DATA&>(entries[1]) = AuthorItem("k", "k.doc");
  entries[1].delivery_kind = 3;  // no such kind: no subtree
  author.SetItemListXML(2, entries);
  DOCUMENTS_ITEMLIST_XML_DATA read = Get(AuthorItem("f", ""));
  EXPECT_EQ(kDeliveryNone, read.delivery_kind);
  EXPECT_EQ("", read.ftp.server);
  EXPECT_NE(std::string::npos, Text(kAuthorFile)
                                   .find("k.doc</document_file_name>\n\t\t\t<protocol/>"
                                         "\n\t\t\t<date/>"));

  // The list change replaces the details whatever the protocol says; kind 0 removes them.
  DOCUMENTS_ITEMLIST_XML_DATA values;
  values.protocol = "ftp";
  values.delivery_kind = kDeliveryFtp;
  values.ftp = {"new", "place"};
  author.ChangeItemListXML(AuthorItem("m1", ""), values);
  read = Get(AuthorItem("m1", ""));
  EXPECT_EQ("new|place", read.ftp.server + "|" + read.ftp.folder);
  values.delivery_kind = kDeliveryNone;
  author.ChangeItemListXML(AuthorItem("m1", ""), values);
  const std::string text = Text(kAuthorFile);
  EXPECT_EQ(std::string::npos, text.find("<mail>"));
  EXPECT_EQ(std::string::npos, text.find("<server>new</server>"));
}

TEST_F(AuthorFolderTest, ChangesAndDictationRemoval) {
  author.AddItemFtpXML(AuthorItem("g9", "a.doc", "a.wav"), {}, 0);
  // The two-record removal gives a new guid and removes the dictation elements. (A change that
  // brings a removed field back is the byte test's.)
  author.DelItemDictationXML(AuthorItem("g9", ""), AuthorItem("g10", ""));
  const std::string text = Text(kAuthorFile);
  EXPECT_NE(std::string::npos, text.find("<guid>g10</guid>"));
  EXPECT_EQ(std::string::npos, text.find("dictation_file"));

  // An item without document_file_name: the change that sets it is abandoned.
  Write(kAuthorFile,
        "<?xml version='1.0'?><root><item_list><item><guid>g11</guid></item>"
        "</item_list></root>");
  const std::string stored = Text(kAuthorFile);
  author.ChangeItemXML(AuthorItem("g11", ""), AuthorItem("g12", "x.doc"));
  EXPECT_EQ(stored, Text(kAuthorFile));
  // In the host's bracket too: the abandoned change leaves the held document as it was, so the
  // bracket's save writes no part of it (the guid before the missing field included).
  ASSERT_EQ(0, author.OpenXML());
  author.ChangeItemXML(AuthorItem("g11", ""), AuthorItem("g12", "x.doc"));
  author.CloseXML(1);
  EXPECT_EQ(std::string::npos, Text(kAuthorFile).find("g12"));
  EXPECT_NE(std::string::npos, Text(kAuthorFile).find("<guid>g11</guid>"));
}

TEST_F(AuthorFolderTest, OpenCloseBracket) {
  // Step 1: opening twice answers 0, then 1; the template is on disk, the change is not.
  EXPECT_EQ(0, author.OpenXML());
  EXPECT_EQ(1, author.OpenXML());
  const std::string made = Text(kAuthorFile);
  EXPECT_EQ(
      "<?xml version=\"1.0\"?>\r\n<!--Quillnote DocumentsFolderXML-->\r\n<root>\n\t"
      "<item_list>\n\t\t<document_file_path>" +
          dir.path() + "</document_file_path></item_list>\n</root>\r\n",
      made);
  author.AddItemFtpXML(AuthorItem("g1", "a.doc"), {}, 0);
  author.DelItemXML(AuthorItem("", "nothing.doc"));
  EXPECT_EQ(made, Text(kAuthorFile));

  // Step 2: CloseXML(1) writes the held document; a second close does nothing.
  author.CloseXML(1);
  EXPECT_NE(std::string::npos, Text(kAuthorFile).find("<guid>g1</guid>"));
  const std::string saved = Text(kAuthorFile);
  author.CloseXML(1);
  EXPECT_EQ(saved, Text(kAuthorFile));

  // Step 3: closing without saving drops the held changes.
  ASSERT_EQ(0, author.OpenXML());
  author.DelItemXML(AuthorItem("g1", ""));
  author.CloseXML(0);
  EXPECT_EQ(saved, Text(kAuthorFile));

  // Step 4: a file that does not parse is not opened, and the close leaves it; a zero-length
  // file is replaced by the template on open, as MakeXML writes it.
  Write(kAuthorFile, "not xml");
  EXPECT_EQ(-1, author.OpenXML());
  author.CloseXML(1);
  EXPECT_EQ("not xml", Text(kAuthorFile));
  Write(kAuthorFile, "");
  ASSERT_EQ(0, author.OpenXML());
  author.CloseXML(0);
  EXPECT_EQ(made, Text(kAuthorFile));
  author.MakeXML();
  EXPECT_EQ(made, Text(kAuthorFile));

  // Step 5: a copy shares the held document, so its changes show in the original's save.
  ASSERT_EQ(0, author.OpenXML());
  CDocumentsFolderXML copy = author;
  copy.AddItemFtpXML(AuthorItem("c1", "copy.doc"), {}, 0);
  author.CloseXML(1);
  EXPECT_NE(std::string::npos, Text(kAuthorFile).find("copy.doc"));
}

// Inside the host's bracket keyed operations find their item through an index of the held
// document. The model test runs deletes and changes of guids in brackets, with keys in either
// letter case; here an add after the index is made, and the list form's change of a guid.
TEST_F(AuthorFolderTest, KeyedOperationsInsideTheBracketSeeItsAddsAndNewGuids) {
  author.AddItemFtpXML(AuthorItem("g1", "a.doc"), {}, 0);
  author.AddItemFtpXML(AuthorItem("g2", "c.doc"), {}, 0);
  ASSERT_EQ(0, author.OpenXML());
  EXPECT_EQ("c.doc", Get(AuthorItem("G2", "")).document_file_name);
  author.AddItemFtpXML(AuthorItem("g3", "d.doc"), {}, 0);
  EXPECT_EQ("d.doc", Get(AuthorItem("G3", "")).document_file_name);
  DOCUMENTS_ITEMLIST_XML_DATA listValues;
  listValues.guid = "g7";
  author.ChangeItemListXML(AuthorItem("g2", ""), listValues);
  EXPECT_EQ("untouched", Get(AuthorItem("g2", "")).guid);
  EXPECT_EQ("c.doc", Get(AuthorItem("g7", "")).document_file_name);
  author.CloseXML(1);
  EXPECT_EQ("g1/a.doc;g7/c.doc;g3/d.doc;/;", AuthorListing());
}

TEST_F(AuthorFolderTest, FailedSaveRaisesAndKeepsTheHeldChange) {
  ASSERT_EQ(0, author.OpenXML());
  author.AddItemFtpXML(AuthorItem("g1", "a.doc"), {}, 0);
  env.fail_rename = true;
  EXPECT_THROW(author.CloseXML(1), ComError);
  env.fail_rename = false;
  // Still open: the host can try again.
  EXPECT_EQ(1, author.OpenXML());
  author.CloseXML(1);
  EXPECT_EQ("g1/a.doc;/;", AuthorListing());
}

}  // namespace
}  // namespace Foldwise
