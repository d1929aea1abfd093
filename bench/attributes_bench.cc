// The folder attributes: one small file of two switches, read and toggled alone and in a host's
// cache bracket of 100 toggles. Its size does not depend on the folder, so it runs at one size.
#include "bench_support.h"
#include "foldwise/folder_attributes.h"
#include "foldwise/xml_document.h"

namespace Foldwise {
namespace bench {
namespace {

CFolderAttrXML& Open(const Folder& folder) {
  static CFolderAttrXML xml;
  xml.SetDirectory(folder.dir());
  return xml;
}

const bool registered = [] {
  AddFamily("attributes", "FolderAttr.xml",
            [](const std::string& dir) {
              CFolderAttrXML xml;
              xml.SetDirectory(dir);
              if (xml.EnableEncryption(1, 2) != 1 || xml.EnableConfidentiality(1, 3) != 1) {
                Fail("sample attributes");
              }
            },
            {1});
  AddOperation({"attributes", "get", "parse", false, [](Folder& folder) {
                  if (Open(folder).GetEncryptionVer() != 2) Fail("get");
                }});
  AddOperation({"attributes", "change", "save", false, [](Folder& folder) {
                  if (Open(folder).EnableConfidentiality(1, folder.Flip() ? 4 : 3) != 1) {
                    Fail("change");
                  }
                }});
  AddOperation({"attributes", "bracket100", "save", false, [](Folder& folder) {
                  CFolderAttrXML& xml = Open(folder);
                  CXmlDocument::ActiveCacheDOMDocument();
                  for (int k = 0; k < 100; ++k) {
                    if (xml.EnableConfidentiality(1, 3 + k % 2) != 1) Fail("bracket change");
                  }
                  CXmlDocument::DeactiveCacheDOMDocument(0);
                }});
  return true;
}();

}  // namespace
}  // namespace bench
}  // namespace Foldwise
