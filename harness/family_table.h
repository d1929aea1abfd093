// Every operation of every folder family, run through the public API on a data directory: the
// one table the fault table, the save-guarantee checks, both fuzz targets and the kill loop
// share. Each operation builds its records through Texts, so a caller can name the texts of a
// field or put one text under test into any key or value the operation takes.
#ifndef FOLDWISE_HARNESS_FAMILY_TABLE_H_
#define FOLDWISE_HARNESS_FAMILY_TABLE_H_

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "harness/record_texts.h"

namespace Foldwise {
namespace harness {

enum Family {
  kVoice,
  kSentItems,
  kTypistInbox,
  kAttributes,
  kDocuments,
  kTypistDocuments,
  kTypistSentItems,
  kOutbox,
  kTypistOutbox,
  kDocumentsSync,  // both documents files in one directory, changed through the synchroniser
  kFamilyCount
};

const char* FamilyName(Family family);

// How an operation of a family reports a save that did not happen.
enum class SaveFailure {
  kReturnsZero,    // cached folders and the attribute file: the result is 0
  kRaisesComError  // documents, typist sent items and outboxes: ComError reaches the host
};
SaveFailure FailureOf(Family family);

enum class Effect {
  kReads,    // changes no file; the result is whether it found something
  kChanges,  // may write the folder
  kStores,   // writes every value text it is given into a new or matched entry
};

struct Operation {
  Family family;
  std::string name;
  Effect effect;
  // Runs the operation on the data directory |dir|: its result, or -1 for one without.
  std::function<int(const std::string& dir, Texts& texts)> run;
};

// Every operation, family by family.
const std::vector<Operation>& AllOperations();
// The one named |name| of |family|; aborts when there is none (a typo in a harness).
const Operation& FindOperation(Family family, const std::string& name);

// Brings an empty data directory to the family's good state: a few entries, and in the
// outboxes an error and a server.
void SetupFamily(Family family, const std::string& dir);

// One stored entry as the folder reads it back: its text fields by name (paths left out, as
// they come back converted), and its error count. Outbox servers follow the items.
struct Stored {
  std::map<std::string, std::string> texts;
  int errors = 0;
  bool server = false;
  std::vector<std::string> errorTexts;  // every text of its error list
};
// Every entry of the family's folder in |dir|, read through the library. The attribute file
// reads as two entries, "encryption" and "confidentiality", status "on" and the version as the
// error count when switched on.
std::vector<Stored> ReadFamily(Family family, const std::string& dir);

}  // namespace harness
}  // namespace Foldwise

#endif  // FOLDWISE_HARNESS_FAMILY_TABLE_H_
