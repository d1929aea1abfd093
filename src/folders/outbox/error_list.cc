#include "folders/outbox/error_list.h"

#include <cctype>
#include <limits>

#include "dom/dom_scan.h"
#include "foldwise/errors.h"
#include "storage/xml_file.h"

namespace Foldwise {
namespace outbox {

std::int64_t NextErrorNumber(const std::string& text) {
  // Read as the C library reads a decimal integer: leading blanks, a sign, digits. A number
  // too large to count on saturates instead of wrapping to a small or negative one.
  std::string::size_type i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return 2;
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
  }
  return (negative ? -value : value) + 1;
}

void AppendErrInfo(DomDocument& doc, DomNode target, const std::string& date,
                   const std::string& time, const std::string& message) {
  std::string number = "1";
  DomNode list = FirstChildElement(target, kErrorList);
  if (!list) {
    // The list follows the target's last child directly; its closing line is the target's.
    list = target.AppendChild(doc.CreateElement(kErrorList));
    AppendTextElement(doc, list, "error_num", number, kDepthDetail);
    AppendIndent(doc, target, kDepthEntry);
  } else {
    // A list without its counter is damaged; the null node raises ComError here.
    DomNode counter = FirstChildElement(list, "error_num");
    if (counter.IsNull()) throw ComError(kErrorPointer, "error_info_list without error_num");
    number = std::to_string(NextErrorNumber(counter.Text()));
    counter.SetText(number);
  }
  AppendIndent(doc, list, kDepthDetail);
  DomNode error = list.AppendChild(doc.CreateElement("error_info"));
  AppendTextElement(doc, error, "no", number, kDepthErrorField);
  AppendTextElement(doc, error, "date", date, kDepthErrorField);
  AppendTextElement(doc, error, "time", time, kDepthErrorField);
  AppendTextElement(doc, error, "error_message", message, kDepthErrorField);
  AppendIndent(doc, error, kDepthDetail);
  AppendIndent(doc, list, kDepthField);
}

}  // namespace outbox
}  // namespace Foldwise
