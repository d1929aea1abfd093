#include "xml_scan.h"

#include <cstring>
#include <set>
#include <string>
#include <utility>

namespace foldwise_tool {
namespace {

// Raised inside the scanner to stop at the first fault; caught in ScanXml.
struct ScanError {
  std::size_t offset;
  std::string message;
};

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameStart(char c) {
  const auto u = static_cast<unsigned char>(c);
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80;
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

class Scanner {
 public:
  explicit Scanner(const std::string& text) : text_(text) {}

  XmlElement Document() {
    if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
    if (Starts("<?xml") && pos_ + 5 < text_.size() && IsSpace(text_[pos_ + 5])) {
      ProcessingInstruction();
    }
    Misc();
    if (AtEnd()) Fail(pos_, "no root element");
    if (!Starts("<") || Starts("</")) Fail(pos_, "expected the root element");
    XmlElement root = Element();
    Misc();
    if (!AtEnd()) Fail(pos_, "content after the root element");
    return root;
  }

 private:
  [[noreturn]] void Fail(std::size_t at, std::string message) {
    throw ScanError{at, std::move(message)};
  }
  bool AtEnd() const { return pos_ >= text_.size(); }
  bool Starts(const char* s) const { return text_.compare(pos_, std::strlen(s), s) == 0; }
  void SkipSpace() {
    while (!AtEnd() && IsSpace(text_[pos_])) ++pos_;
  }
  // Moves past |end|, failing with |what| when the text ends first.
  void SkipPast(const char* end, std::size_t start, const char* what) {
    const std::size_t found = text_.find(end, pos_);
    if (found == std::string::npos) Fail(start, std::string("unterminated ") + what);
    pos_ = found + std::strlen(end);
  }

  // Comments, processing instructions and white space between top-level nodes.
  void Misc() {
    for (;;) {
      SkipSpace();
      if (Starts("<!--")) {
        Comment();
      } else if (Starts("<?")) {
        ProcessingInstruction();
      } else if (Starts("<!DOCTYPE")) {
        SkipPast(">", pos_, "document type declaration");
      } else {
        return;
      }
    }
  }

  void Comment() {
    const std::size_t start = pos_;
    pos_ += 4;
    const std::size_t end = text_.find("--", pos_);
    if (end == std::string::npos) Fail(start, "unterminated comment");
    if (text_.compare(end, 3, "-->") != 0) Fail(end, "\"--\" inside a comment");
    pos_ = end + 3;
  }

  void ProcessingInstruction() {
    const std::size_t start = pos_;
    pos_ += 2;
    if (AtEnd() || !IsNameStart(text_[pos_])) Fail(pos_, "processing instruction without a name");
    SkipPast("?>", start, "processing instruction");
  }

  std::string Name() {
    if (AtEnd() || !IsNameStart(text_[pos_])) Fail(pos_, "expected a name");
    const std::size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  // "&...;" at pos_: a predefined entity or a character reference.
  void Reference() {
    const std::size_t start = pos_;
    const std::size_t end = text_.find(';', pos_);
    if (end == std::string::npos || end - start > 12) Fail(start, "'&' that starts no reference");
    const std::string body = text_.substr(start + 1, end - start - 1);
    static const std::set<std::string> kNamed = {"lt", "gt", "amp", "apos", "quot"};
    bool valid = kNamed.count(body) != 0;
    if (!valid && body.size() > 1 && body[0] == '#') {
      const bool hex = body[1] == 'x';
      const std::string digits = body.substr(hex ? 2 : 1);
      valid = !digits.empty() && digits.find_first_not_of(hex ? "0123456789abcdefABCDEF"
                                                              : "0123456789") == std::string::npos;
    }
    if (!valid) Fail(start, "unknown reference &" + body + ";");
    pos_ = end + 1;
  }

  void Attributes() {
    std::set<std::string> seen;
    for (;;) {
      const std::size_t before = pos_;
      SkipSpace();
      if (AtEnd()) return;
      if (Starts(">") || Starts("/>")) return;
      if (pos_ == before) Fail(pos_, "expected white space before an attribute");
      const std::size_t at = pos_;
      const std::string name = Name();
      if (!seen.insert(name).second) Fail(at, "attribute " + name + " given twice");
      SkipSpace();
      if (!Starts("=")) Fail(pos_, "expected '=' after attribute " + name);
      ++pos_;
      SkipSpace();
      if (AtEnd() || (text_[pos_] != '"' && text_[pos_] != '\'')) {
        Fail(pos_, "expected a quoted value for attribute " + name);
      }
      const char quote = text_[pos_++];
      while (!AtEnd() && text_[pos_] != quote) {
        if (text_[pos_] == '<') Fail(pos_, "'<' inside an attribute value");
        if (text_[pos_] == '&') {
          Reference();
        } else {
          ++pos_;
        }
      }
      if (AtEnd()) Fail(at, "unterminated value of attribute " + name);
      ++pos_;
    }
  }

  XmlElement Element() {
    // Folder files nest six levels deep; a bound keeps a hostile file from exhausting the stack.
    constexpr int kMaxDepth = 200;
    if (++depth_ > kMaxDepth) Fail(pos_, "elements nested too deep");
    XmlElement element;
    element.offset = pos_;
    ++pos_;
    element.name = Name();
    Attributes();
    if (AtEnd()) Fail(element.offset, "unterminated start tag <" + element.name + ">");
    if (Starts("/>")) {
      pos_ += 2;
    } else {
      ++pos_;  // '>'
      Content(element);
    }
    --depth_;
    return element;
  }

  // Everything up to and including the end tag of |element|.
  void Content(XmlElement& element) {
    for (;;) {
      if (AtEnd()) {
        Fail(text_.size(), "the file ends inside <" + element.name + "> (opened at " +
                               LineColumn(text_, element.offset) + ")");
      }
      if (Starts("</")) {
        const std::size_t at = pos_;
        pos_ += 2;
        const std::string name = Name();
        SkipSpace();
        if (!Starts(">")) Fail(pos_, "expected '>' to end </" + name + ">");
        ++pos_;
        if (name != element.name) {
          Fail(at, "</" + name + "> closes <" + element.name + "> (opened at " +
                       LineColumn(text_, element.offset) + ")");
        }
        return;
      }
      if (Starts("<!--")) {
        Comment();
      } else if (Starts("<![CDATA[")) {
        SkipPast("]]>", pos_, "CDATA section");
      } else if (Starts("<?")) {
        ProcessingInstruction();
      } else if (Starts("<")) {
        element.children.push_back(Element());
      } else if (Starts("&")) {
        Reference();
      } else if (Starts("]]>")) {
        Fail(pos_, "\"]]>\" in text");
      } else {
        ++pos_;
      }
    }
  }

  const std::string& text_;
  std::size_t pos_ = 0;
  int depth_ = 0;
};

}  // namespace

XmlScan ScanXml(const std::string& text) {
  XmlScan scan;
  try {
    scan.root = Scanner(text).Document();
    scan.ok = true;
  } catch (const ScanError& e) {
    scan.errorOffset = e.offset;
    scan.error = e.message;
  }
  return scan;
}

std::string LineColumn(const std::string& text, std::size_t offset) {
  std::size_t line = 1;
  std::size_t column = 1;
  for (std::size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else {
      ++column;
    }
  }
  return std::to_string(line) + ":" + std::to_string(column);
}

}  // namespace foldwise_tool
