// Closes a file object's document on every path out of an operation, so that no document
// outlives the operation that opened it.
#ifndef FOLDWISE_STORAGE_DOCUMENT_CLOSER_H_
#define FOLDWISE_STORAGE_DOCUMENT_CLOSER_H_

#include "storage/xml_file.h"

namespace Foldwise {

class DocumentCloser {
 public:
  explicit DocumentCloser(XmlDocumentFile& file) : file_(file) {}
  ~DocumentCloser() { file_.CloseDocument(); }
  DocumentCloser(const DocumentCloser&) = delete;
  DocumentCloser& operator=(const DocumentCloser&) = delete;

 private:
  XmlDocumentFile& file_;
};

}  // namespace Foldwise

#endif  // FOLDWISE_STORAGE_DOCUMENT_CLOSER_H_
