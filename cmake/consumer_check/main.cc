// Links against the installed library and round-trips one folder attribute.
#include <foldwise/foldwise.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : "consumer-data";
  ::mkdir(dir.c_str(), 0777);
  Foldwise::CFolderAttrXML attributes;
  attributes.SetDirectory(dir);
  const bool ok = attributes.EnableEncryption(1, 123) == 1 &&
                  attributes.GetEncryptionVer() == 123 && attributes.EnableEncryption(0, 0) == 1 &&
                  attributes.IsExistXml() == 0;
  std::puts(ok ? "consumer: ok" : "consumer: FAILED");
  return ok ? 0 : 1;
}
