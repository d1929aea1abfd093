// The cursor through which the item-file engine reads and writes host records.
#ifndef FOLDWISE_ENGINE_RECORD_CURSOR_H_
#define FOLDWISE_ENGINE_RECORD_CURSOR_H_

#include <string>

#include "dom/dom.h"
#include "storage/xml_file.h"

namespace Foldwise {

// Carries a position in an array of host records, and whether value macros are expanded. New
// `item` elements are built on a private scratch document, which is never loaded, saved or
// cached. Lives for one folder operation. The records and their type belong to the derived
// TypedCursor (engine/item_codec.h), which knows how to write and read them.
class RecordCursor : public XmlDocumentFile {
 public:
  RecordCursor();
  ~RecordCursor() override;
  RecordCursor(const RecordCursor&) = delete;
  RecordCursor& operator=(const RecordCursor&) = delete;

  void SetMacros(int flag) { macros = flag; }
  int IsExhausted() const { return index < 0 || index >= count ? 1 : 0; }
  // Moves to the next record; past the last one the cursor is exhausted for good.
  void Advance();

  // A new unattached `item` element built from the current record, or null when the cursor is
  // exhausted or has no scratch document. DOM failures raise ComError.
  DomNode WriteRecord(int advance);
  // Empties the current record and fills it from |node|; 0 when exhausted.
  int ReadRecord(DomNode node, int advance);
  // |value| with the macros expanded when they are on: "%DELETE%" becomes empty, "%DATE%" and
  // "%TIME%" today's short date and the current time in the locale's forms. Only a whole value
  // is a macro.
  std::string TranslateValue(const std::string& value) const;

  // An unattached element on the scratch document. Raises ComError when there is none.
  DomNode NewElement(const char* name);

 protected:
  // Starts over on |count| records: macros off, index 0.
  void Start(int recordCount);
  // A new `item` element built from record |at|, its children at depth |depth| + 1.
  virtual DomNode WriteAt(int at, int depth) = 0;
  // Empties record |at| and fills it from |item|.
  virtual void ReadAt(int at, DomNode item) = 0;
  // On while ReadPass reads items of one document that nothing changes meanwhile.
  virtual void SetReadPass(bool on) { (void)on; }

 private:
  friend class ReadPass;

  int count = 0;
  int index = -1;
  int macros = 0;
};

// Marks the reads of one pass over an unchanging document, so that what its items share is
// looked up once; ends the pass however the reads end.
class ReadPass {
 public:
  explicit ReadPass(RecordCursor& cursor) : cursor_(cursor) { cursor_.SetReadPass(true); }
  ~ReadPass() { cursor_.SetReadPass(false); }
  ReadPass(const ReadPass&) = delete;
  ReadPass& operator=(const ReadPass&) = delete;

 private:
  RecordCursor& cursor_;
};

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_RECORD_CURSOR_H_
