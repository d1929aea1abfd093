#include "folders/outbox/item_codec.h"

namespace Foldwise {
namespace outbox {

void RemoveDeliveryNodes(DomNode owner) {
  // The whitespace around the removed elements stays: the next load drops it anyway.
  RemoveChildElements(owner, "mail");
  RemoveChildElements(owner, "ftp");
  RemoveChildElements(owner, kErrorList);
}

}  // namespace outbox
}  // namespace Foldwise
