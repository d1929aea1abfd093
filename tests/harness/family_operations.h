// Every changing operation of every folder family, each with the folder state it starts from:
// the rows of the fault table and of the save-guarantee checks.
#ifndef FOLDWISE_TESTS_HARNESS_FAMILY_OPERATIONS_H_
#define FOLDWISE_TESTS_HARNESS_FAMILY_OPERATIONS_H_

#include <functional>
#include <string>
#include <vector>

namespace Foldwise {
namespace harness {

// How an operation of a family reports a save that did not happen.
enum class SaveFailure {
  kReturnsZero,    // cached folders and the attribute file: the result is 0
  kRaisesComError  // documents, typist sent items and outboxes: ComError reaches the host
};

struct FamilyOperation {
  std::string family;
  std::string name;
  SaveFailure failure;
  // Brings a data directory to the family's good state (with faults off).
  std::function<void(const std::string& dir)> setup;
  // Runs the operation on the directory; its result, or -1 for an operation without one.
  std::function<int(const std::string& dir)> run;
};

std::vector<FamilyOperation> AllFamilyOperations();

}  // namespace harness
}  // namespace Foldwise

#endif  // FOLDWISE_TESTS_HARNESS_FAMILY_OPERATIONS_H_
