// Small tree and text steps every outbox operation is made of, beside the engine's indented
// appends and case-blind comparison: removals, guarded text and key paths in storage form. Stored
// paths go in and out through the engine's path policy (SharePaths).
#ifndef FOLDWISE_FOLDERS_OUTBOX_OUTBOX_NODES_H_
#define FOLDWISE_FOLDERS_OUTBOX_OUTBOX_NODES_H_

#include <string>
#include <string_view>
#include <unordered_map>

#include "dom/dom.h"
#include "engine/path_policy.h"
#include "engine/tree_text.h"

namespace Foldwise {
namespace outbox {

// Depths of the indentation written before an element, as the files nest them.
constexpr int kDepthListInRoot = 1;
constexpr int kDepthEntry = 2;   // item, server_info
constexpr int kDepthField = 3;   // children of item and server_info
constexpr int kDepthDetail = 4;  // children of mail, ftp, error_info_list
constexpr int kDepthErrorField = 5;

// Removes every child element of |parent| named |name|; the text around it stays.
void RemoveChildElements(DomNode parent, const char* name);
// Sets the text of |element|; false when the DOM refuses, so the caller can report it.
bool TrySetText(DomNode element, std::string_view text);

// |text| without trailing separators.
std::string Trimmed(std::string text);

// While one exists on a thread, StorageFormOfKey answers repeated key paths from memory: a
// matching hook called once per item would otherwise ask the network for the same key path
// once per item of the file.
class KeyFormMemo {
 public:
  KeyFormMemo();
  ~KeyFormMemo();
  KeyFormMemo(const KeyFormMemo&) = delete;
  KeyFormMemo& operator=(const KeyFormMemo&) = delete;

 private:
  friend std::string StorageFormOfKey(const std::string& path);
  KeyFormMemo* previous_;
  std::unordered_map<std::string, std::string> forms_;
};
// StorageForm of a key path, memoised while a KeyFormMemo is open on this thread.
std::string StorageFormOfKey(const std::string& path);

}  // namespace outbox
}  // namespace Foldwise

#endif  // FOLDWISE_FOLDERS_OUTBOX_OUTBOX_NODES_H_
