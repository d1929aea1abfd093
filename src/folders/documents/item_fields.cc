#include "folders/documents/item_fields.h"

#include "dom/dom_scan.h"

namespace Foldwise {
namespace documents {

void DetachDictation(DomNode item, DictationRemoval removal) {
  for (const char* name : {"dictation_file_name", "dictation_file_path"}) {
    DomNode element = FirstChildElement(item, name);
    if (!element) continue;
    if (removal == DictationRemoval::kRemoveElements) {
      item.RemoveChild(element);
    } else {
      element.SetText("");
    }
  }
}

}  // namespace documents
}  // namespace Foldwise
