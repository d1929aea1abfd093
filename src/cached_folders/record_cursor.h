// The cursor through which the item-file engine reads and writes host records, and the rule
// that turns a key record into the XPath query selecting the matching items.
#ifndef FOLDWISE_CACHED_FOLDERS_RECORD_CURSOR_H_
#define FOLDWISE_CACHED_FOLDERS_RECORD_CURSOR_H_

#include <string>

#include "foldwise/dom.h"
#include "foldwise/xml_file.h"

namespace Foldwise {

// Record types: 2 * ItemKind - 1 for the list-form record, 2 * ItemKind for the plain one.
constexpr int ListRecordType(int kind) { return 2 * kind - 1; }
constexpr int PlainRecordType(int kind) { return 2 * kind; }

// Carries an array of host records (never owned), the current position in it and whether value
// macros are expanded. New `item` elements are built on a private scratch document, which is
// never loaded, saved or cached. Lives for one folder operation.
class RecordCursor : public XmlDocumentFile {
 public:
  RecordCursor();
  ~RecordCursor() override;
  RecordCursor(const RecordCursor&) = delete;
  RecordCursor& operator=(const RecordCursor&) = delete;

  // Starts over on |count| records of |recordType| at |records|: macros off, index 0.
  void Bind(int recordType, int count, void* records);
  void SetMacros(int flag) { macros = flag; }
  int IsExhausted() const { return index < 0 || index >= count ? 1 : 0; }
  // Moves to the next record; past the last one the cursor is exhausted for good.
  void Advance();

  // A new unattached `item` element built from the current record, or null when the cursor is
  // exhausted or the record type has no serializer. DOM failures of the serializer raise
  // ComError.
  DomNode WriteRecord(int advance);
  // Fills the current record from |node|; 0 when exhausted or without serializer.
  int ReadRecord(DomNode node, int advance);
  // The query selecting the stored items whose fields equal every non-empty field of the
  // current record; empty when the record cannot be written. Raises ComError for a value the
  // query cannot carry.
  std::string BuildQuery();
  // One predicate per leaf below |element|, each comparing the leaf's path under |prefix| with
  // its text. Raises ComError when a text contains an apostrophe: it would end the literal and
  // let the rest of the value rewrite the query.
  std::string BuildPredicates(DomNode element, const std::string& prefix);

  // |value| with the macros expanded when they are on: "%DELETE%" becomes empty, "%DATE%" and
  // "%TIME%" today's short date and the current time in the locale's forms. Only a whole value
  // is a macro.
  std::string TranslateValue(const std::string& value) const;

  // An unattached element on the scratch document. Raises ComError when there is none.
  DomNode NewElement(const char* name);

 private:
  int count = 0;
  int index = -1;
  int macros = 0;
  int recordType = 0;
  void* records = nullptr;
};

}  // namespace Foldwise

#endif  // FOLDWISE_CACHED_FOLDERS_RECORD_CURSOR_H_
