// What both fuzz checks share: the process set-up, a scratch directory and the value tally.
#ifndef FOLDWISE_FUZZ_FUZZ_SUPPORT_H_
#define FOLDWISE_FUZZ_FUZZ_SUPPORT_H_

#include <map>
#include <string>

#include "foldwise/network_services.h"
#include "foldwise/testing/fake_network_services.h"
#include "fuzz/fuzz_checks.h"

namespace Foldwise {
namespace fuzz {

// In force while a check runs: no test of the network, and no real network either; a unit test
// that replays inputs gets its own services back afterwards.
struct FakeNetwork {
  testing::FakeNetworkServices net;
  ScopedNetworkServices use{&net};
};

// A directory of this process, emptied on every call (on /dev/shm when there is one: every
// save flushes, and a disk would make each input take milliseconds).
std::string FreshScratch(const std::string& name);
// Every file under |dir| with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& dir);
// Why a strict XML 1.0 reader would reject |bytes| as a whole (raw control characters, invalid
// UTF-8, references to characters XML cannot carry); empty when it would not.
std::string StrictXmlProblem(const std::string& bytes);
// Counts one text tried as a value of |operation|: whether the operation then left every file as
// it was, and whether the folder holds the text exactly.
void TallyValue(const std::string& operation, ValueClass value, bool refused, bool stored);

}  // namespace fuzz
}  // namespace Foldwise

#endif  // FOLDWISE_FUZZ_FUZZ_SUPPORT_H_
