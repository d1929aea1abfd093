// Placeholder resolver: every path is already local and stored as given. The location services
// replace it with the real conversions.
#include <memory>

#include "foldwise/location.h"
#include "foldwise/xml_file.h"

namespace Foldwise {
namespace {
std::unique_ptr<NetworkPathResolver> g_instance;
}

NetworkPathResolver::NetworkPathResolver() = default;
NetworkPathResolver::~NetworkPathResolver() = default;

NetworkPathResolver& NetworkPathResolver::GetInstance() {
  if (!g_instance) g_instance.reset(new NetworkPathResolver);
  return *g_instance;
}

bool NetworkPathResolver::HasInstance() { return g_instance != nullptr; }

void NetworkPathResolver::DiscardInstance() { g_instance.reset(); }

void NetworkPathResolver::BeginCachePeriod() {}
void NetworkPathResolver::EndCachePeriod() {}

int NetworkPathResolver::ToLocalPath(const std::string& path, std::string& out, int) {
  out = path;
  TrimTrailingSeparators(out);
  return out.empty() ? 0 : 1;
}

int NetworkPathResolver::ToSharePath(const std::string&, std::string& out) {
  out.clear();
  return 0;
}

std::string NetworkPathResolver::Canonicalize(const std::string& path) { return path; }

}  // namespace Foldwise
