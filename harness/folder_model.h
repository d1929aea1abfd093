// The kill loop's view of the folders: a random operation language over every folder family, an
// in-memory model of what each folder file holds, and the code that runs an operation through
// the library or reads a file's state back through it.
#ifndef FOLDWISE_HARNESS_FOLDER_MODEL_H_
#define FOLDWISE_HARNESS_FOLDER_MODEL_H_

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "harness/family_table.h"

namespace Foldwise {
namespace harness {

// The families the kill loop drives: every one of the table but the synchroniser, whose two
// files the documents families already cover.
constexpr int kModelFamilies = kDocumentsSync;

enum class Kind { kAdd, kDelete, kChange, kSetList, kSwitch, kBracket };

struct Op {
  Family family = kVoice;
  Kind kind = Kind::kAdd;
  std::string guid, name, status;
  int flag = 0, version = 0;  // the attribute switches: which one, on or off
  std::vector<Op> parts;      // a new list, or the operations of a cache bracket
};

// Operation |index| of the run seeded with |seed|: the driver and the checker derive the same.
Op GenerateOp(std::uint64_t seed, int index);
std::string Describe(const Op& op);

struct Entry {
  std::string guid, name, status;
  int errors = 0;
};

// What every folder file holds, by file (relative to the data root). Lists of missing files are
// empty; the attribute switches are rendered as a one-entry list.
using Model = std::map<std::string, std::vector<Entry>>;

// Every folder file of every family, relative to the data root.
std::vector<std::string> FolderFiles();
// The family a folder file belongs to.
Family FamilyOf(const std::string& file);
// Whether the family's files go through the document cache (and so only change at a flush).
bool IsCachedFamily(const std::string& file);
// The model after |op|, and after each of its first parts for a bracket (|steps|, optional).
void Apply(const Op& op, Model* model, std::vector<Model>* steps = nullptr);
std::string Render(const std::vector<Entry>& entries);

// Creates the family directories under |root| and runs |op| through the library.
void PrepareRoot(const std::string& root);
void Execute(const Op& op, const std::string& root);
// The state of |file| under |root| read through the library from a copy in |scratch|.
std::vector<Entry> ReadFile(const std::string& root, const std::string& file,
                            const std::string& scratch);

}  // namespace harness
}  // namespace Foldwise

#endif  // FOLDWISE_HARNESS_FOLDER_MODEL_H_
