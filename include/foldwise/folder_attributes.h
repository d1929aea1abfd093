// The folder attribute file FolderAttr.xml: the encryption and confidentiality switches of a
// data directory, each with an optional version. The file exists only while a switch is on.
//
// Thread safety: an object is not synchronised; objects on different directories may be used
// from different threads at once. The file goes through the document cache: inside a cache
// bracket (foldwise/xml_document.h) every call must come from the thread that opened it.
#ifndef FOLDWISE_FOLDER_ATTRIBUTES_H_
#define FOLDWISE_FOLDER_ATTRIBUTES_H_

#include <string>

#include "foldwise/export.h"
#include "foldwise/xml_file_base.h"

namespace Foldwise {

// The data directory is set with SetDirectory. Every operation opens the file, works on it and
// closes it again; no document is held between calls.
class FOLDWISE_EXPORT CFolderAttrXML : public XmlFileBase {
 public:
  CFolderAttrXML();
  ~CFolderAttrXML() override;
  CFolderAttrXML(const CFolderAttrXML&) = default;
  CFolderAttrXML& operator=(const CFolderAttrXML&) = default;

  // Turns encryption on (|enable| non-zero; a |version| above 0 is recorded, otherwise any
  // recorded one is removed) or off. 1 when the file was changed and saved (or deleted).
  int EnableEncryption(int enable, int version);
  // The same for confidentiality.
  int EnableConfidentiality(int enable, int version);
  // 1 when the switch is on; 0 when off, without a file, or on any failure.
  int IsEncryption();
  int IsConfidentiality();
  // The recorded version; 0 when the switch is off or no version is recorded.
  int GetEncryptionVer();
  int GetConfidentialityVer();
  // HasContent of FolderAttr.xml in the directory.
  int IsExistXml();

 private:
  std::string AttributeFilePath() const;
};

// The text stored in `ver` for |version|: "%d.%d" of version / 100 and version % 100.
FOLDWISE_EXPORT std::string EncodeAttributeVersion(int version);
// The version read back from a `ver` text: periods removed, then the leading integer.
FOLDWISE_EXPORT int DecodeAttributeVersion(const std::string& text);

}  // namespace Foldwise

#endif  // FOLDWISE_FOLDER_ATTRIBUTES_H_
