// The engine of CFolderAttrXML: the attribute file as a file object of the document cache.
#ifndef FOLDWISE_FOLDERS_ATTRIBUTES_ATTRIBUTE_FILE_H_
#define FOLDWISE_FOLDERS_ATTRIBUTES_ATTRIBUTE_FILE_H_

#include <string>

#include "storage/xml_file.h"

namespace Foldwise {

// One switch of the file (`cryptical` or `confidential`) read or written in one operation. DOM
// failures turn into 0.
class AttributeFile : public XmlDocumentFile {
 public:
  explicit AttributeFile(std::string path) : path_(std::move(path)) {}

  int EnableSwitch(const char* name, int enable, int version);
  int IsSwitchOn(const char* name);
  int GetSwitchVersion(const char* name);

 protected:
  int MakeTemplate() override;
  int OnAutoDelete() override;

 private:
  std::string path_;
};

}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_ATTRIBUTES_ATTRIBUTE_FILE_H_
