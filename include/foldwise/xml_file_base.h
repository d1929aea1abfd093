// The root of every folder class: the data directory its files live in.
//
// The documents and outbox folders derive from it directly and keep their DOM documents
// themselves; the folders whose files go through the document cache keep their engine inside.
//
// Thread safety: an object is not synchronised; use one object per thread or lock around it.
#ifndef FOLDWISE_XML_FILE_BASE_H_
#define FOLDWISE_XML_FILE_BASE_H_

#include <string>
#include <vector>

#include "foldwise/export.h"

namespace Foldwise {

class FOLDWISE_EXPORT XmlFileBase {
 public:
  XmlFileBase();
  virtual ~XmlFileBase();
  XmlFileBase(const XmlFileBase&) = default;
  XmlFileBase& operator=(const XmlFileBase&) = default;

  // Stores |dir| with every trailing separator removed.
  void SetDirectory(const std::string& dir);
  const std::string& GetDirectoryText() const { return directory; }

  // Opens |path| to every user (mode 0666) and makes it writable. 1 when the file can then be
  // opened for reading and writing, 0 when it is missing or a step fails.
  int SetFileAccess(const std::string& path);

 protected:
  std::string directory;
};

// The files of |dir| that an operation set aside because they did not parse
// (<file>.damaged-<UTC time>), sorted by name; empty when there are none or |dir| cannot be read.
FOLDWISE_EXPORT std::vector<std::string> ListDamagedFiles(const std::string& dir);

}  // namespace Foldwise

#endif  // FOLDWISE_XML_FILE_BASE_H_
