// Text steps the folder families share on their trees: the case-blind comparison their identity
// matches use, and indented appends written exactly as a new file nests them.
#ifndef FOLDWISE_ENGINE_TREE_TEXT_H_
#define FOLDWISE_ENGINE_TREE_TEXT_H_

#include <string_view>

#include "dom/dom.h"

namespace Foldwise {

// Equal after turning both into upper case (ASCII letters; other bytes compare as they are).
bool SameIgnoringCase(std::string_view a, std::string_view b);

// Appends the indent text of |depth|, then a new empty element |name|, to |parent|.
DomNode AppendElement(DomDocument& doc, DomNode parent, const char* name, int depth);
// Appends the indent text of |depth|, then a new element |name| holding |text|, to |parent|.
DomNode AppendTextElement(DomDocument& doc, DomNode parent, const char* name, std::string_view text,
                          int depth);

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_TREE_TEXT_H_
