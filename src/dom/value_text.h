// How a value's text is kept so that saving and loading give it back exactly.
//
// Loading drops text nodes made only of raw whitespace, because that is how the files are
// indented, and turns every raw carriage return into a line feed. A value made only of
// whitespace, or holding a carriage return, is therefore written with character references,
// which loading keeps as they are. In memory such a value is held in a CDATA node: the files
// are never written with CDATA by this library, and indentation is always plain text, so the
// node type tells a value from indentation without a look at the text.
#ifndef FOLDWISE_DOM_VALUE_TEXT_H_
#define FOLDWISE_DOM_VALUE_TEXT_H_

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace Foldwise {
namespace value_text {

bool IsWhitespaceOnly(std::string_view text);

// Whether a value needs character references to survive a save and a load.
bool NeedsReferences(std::string_view text);

// Whether |node| holds such a value (a CDATA node, see above); a CDATA section a file came
// with that needs no references is written back as CDATA.
bool IsReferencedValue(pugi::xml_node node);

// Appends |text| escaped as element content, with the references NeedsReferences calls for.
void AppendReferenced(std::string_view text, std::string* out);

// After a load of a text that held character references: every text node they made into a
// value needing them becomes a CDATA node, so it is written the same way again.
void MarkReferencedValues(pugi::xml_node root);

}  // namespace value_text
}  // namespace Foldwise

#endif  // FOLDWISE_DOM_VALUE_TEXT_H_
