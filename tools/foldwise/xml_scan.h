// A small well-formedness check of XML text that keeps the element tree with the position of
// every element. It knows what folder files use: declaration, comments, processing
// instructions, elements, attributes, text, CDATA and character references. It does not read
// document type definitions.
#ifndef FOLDWISE_TOOLS_FOLDWISE_XML_SCAN_H_
#define FOLDWISE_TOOLS_FOLDWISE_XML_SCAN_H_

#include <cstddef>
#include <string>
#include <vector>

namespace foldwise_tool {

struct XmlElement {
  std::string name;
  std::size_t offset = 0;  // of its '<'
  std::vector<XmlElement> children;
};

struct XmlScan {
  bool ok = false;
  XmlElement root;  // valid when ok
  std::size_t errorOffset = 0;
  std::string error;  // valid when !ok
};

XmlScan ScanXml(const std::string& text);

// "line:column" (both from 1, column in bytes) of |offset| in |text|.
std::string LineColumn(const std::string& text, std::size_t offset);

}  // namespace foldwise_tool

#endif  // FOLDWISE_TOOLS_FOLDWISE_XML_SCAN_H_
