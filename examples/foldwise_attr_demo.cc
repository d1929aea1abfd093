// Creates a data directory, turns the folder attributes on and prints them back.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "foldwise/foldwise.h"

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "foldwise-demo-data";
  ::mkdir(dir.c_str(), 0777);

  Foldwise::CXmlDocument::InitXMLDocument();
  Foldwise::CFolderAttrXML attributes;
  attributes.SetDirectory(dir);
  if (!attributes.EnableEncryption(1, 123) || !attributes.EnableConfidentiality(1, 5)) {
    std::fprintf(stderr, "cannot write the folder attributes in %s\n", dir.c_str());
    return 1;
  }
  std::printf("data directory:  %s\n", dir.c_str());
  std::printf("FolderAttr.xml:  %s\n", attributes.IsExistXml() ? "present" : "missing");
  std::printf("encryption:      %s, version %d\n", attributes.IsEncryption() ? "on" : "off",
              attributes.GetEncryptionVer());
  std::printf("confidentiality: %s, version %d\n", attributes.IsConfidentiality() ? "on" : "off",
              attributes.GetConfidentialityVer());
  Foldwise::CXmlDocument::UninitXMLDocument();
  return 0;
}
