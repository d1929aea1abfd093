// Direct walks over a document's elements, for the lookups that run once per item of a folder
// file: no query is compiled and no name or text is copied. Every function takes a null node and
// answers null, empty or false, so walks chain without checks.
#ifndef FOLDWISE_DOM_DOM_SCAN_H_
#define FOLDWISE_DOM_DOM_SCAN_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "dom/dom.h"

namespace Foldwise {

// The first child element of |parent| called |name| (any element when |name| is null).
DomNode FirstChildElement(DomNode parent, const char* name);
// The next sibling element of |node| called |name| (any element when |name| is null).
DomNode NextSiblingElement(DomNode node, const char* name);
// The node's name as a C string, pointing into its document: valid until the node is renamed or
// removed. "" for a null node.
const char* NameText(DomNode node);
// The node's name, pointing into its document: valid until the node is renamed or removed.
std::string_view NameOf(DomNode node);
// The document node of the document |node| belongs to.
DomNode DocumentOf(DomNode node);

// When DomNode::Text() of |node| is the value of its only child, a text not beginning with
// whitespace or a CDATA section, as a stored field's is: that value, pointing into the document
// (valid until the value is set or the node removed), and true. False otherwise.
bool PlainTextOf(DomNode node, std::string_view* text);

// Assigns DomNode::Text() of |node| to |out|, without a copy in between when the text is a
// single value, as a stored field's is.
void AssignText(DomNode node, std::string* out);

// Assigns to *texts[i] the text AssignText gives of the first child element of |parent| called
// names[i], or empties it when there is none; the names differ from one another. One walk over the
// children serves every name, where a lookup per name would walk them once per field of every item
// a listing reads.
void AssignChildTexts(DomNode parent, const char* const* names, std::string* const* texts,
                      std::size_t count);

// Whether the text of |node| as an XPath comparison sees it equals |text|: every text and CDATA
// node below |node| joined in document order, indentation included.
bool StringValueEquals(DomNode node, std::string_view text);
// When |node|'s text in that sense is the value of a single text or CDATA node, that value
// (pointing into the document, valid until the value is set or the node removed) and true; false
// when the text is spread over several nodes. An element without text gives "" and true.
bool SingleTextOf(DomNode node, std::string_view* text);

}  // namespace Foldwise

#endif  // FOLDWISE_DOM_DOM_SCAN_H_
