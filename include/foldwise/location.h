// Location services: the cached local computer name and the conversion of paths between their
// local, mapped-drive and network (UNC) forms, so that a path stored on one machine of a
// workgroup can be used on every other one.
//
// Every networking call goes through NetworkServices::Current() (foldwise/network_services.h).
//
// Thread safety: CLocalComputerName's queries and periods may run concurrently. The resolver's
// conversions are not synchronised by themselves: threads that share it either open a cache
// period each (which serialises them) or hold a lock of the host's around their calls. Creating
// and discarding either instance is set-up work, with no other thread inside. A
// SharePathConverter is used by one thread; the host name they remember is shared safely.
#ifndef FOLDWISE_LOCATION_H_
#define FOLDWISE_LOCATION_H_

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "foldwise/export.h"

namespace Foldwise {

// Process-wide cache of this machine's host name. Outside a caching period every query asks
// the socket layer; inside one, the name read when the period opened is answered from memory.
class FOLDWISE_EXPORT CLocalComputerName {
 public:
  virtual ~CLocalComputerName();
  CLocalComputerName(const CLocalComputerName&) = delete;
  CLocalComputerName& operator=(const CLocalComputerName&) = delete;

  // The single instance, created on first use by whichever thread comes first. A reference must
  // not be used after DiscardInstance.
  static CLocalComputerName& GetInstance();
  // Destroys the instance, if any; references obtained before must not be used afterwards.
  static void DiscardInstance();

  // Opens a caching period; the period that brings the count from 0 to 1 reads the name.
  void ActivateCache();
  // Closes one period. Unbalanced calls drive the count below 0, which disables caching until
  // as many activations have brought it above 0 again.
  void DeactivateCache();
  // Writes the host name with its NUL into |name|. 0 on success, -1 on failure; while cached,
  // -1 and nothing written when the name and its NUL do not fit into |len| bytes.
  int GetLocalComputerName(char* name, int len);

 private:
  CLocalComputerName();

  std::mutex lock;
  int activeCount = 0;
  char cachedName[256] = {};
  int cachedResult = 0;
};

// Process-wide converter between network paths and paths usable on this machine. It knows this
// machine's shares, the connected network drives and the connections it made itself.
class FOLDWISE_EXPORT NetworkPathResolver {
 public:
  virtual ~NetworkPathResolver();
  NetworkPathResolver(const NetworkPathResolver&) = delete;
  NetworkPathResolver& operator=(const NetworkPathResolver&) = delete;

  // The single instance, created on first use by whichever thread comes first. A reference must
  // not be used after DiscardInstance.
  static NetworkPathResolver& GetInstance();
  // The instance when one exists (else null), kept alive while the caller holds it.
  static std::shared_ptr<NetworkPathResolver> ExistingInstance();
  // Whether the instance exists now.
  static bool HasInstance();
  // Destroys the instance and forgets it; the connections it made stay in place.
  static void DiscardInstance();

  // Opens a cache period: takes the period lock (held until EndCachePeriod, so periods of
  // different threads run one after the other) and empties the connected-drive memo.
  void BeginCachePeriod();
  // Closes the cache period and releases the lock; called by the thread that opened it.
  void EndCachePeriod();

  // The conversions take the period lock, as they share the memo, the connections and the host
  // name with every other thread; a thread inside its own period passes.

  // Network path to a path usable here (a share of this machine, a connected drive, or, when
  // |mayConnect| is non-zero, a drive connected now); drive, POSIX and relative paths pass.
  // 1 and |out| without trailing separators on success, 0 and an empty |out| otherwise.
  int ToLocalPath(const std::string& path, std::string& out, int mayConnect);
  // Local path to network path; a network path passes unchanged. 1 and |out| without trailing
  // separators on success, 0 and an empty |out| otherwise.
  int ToSharePath(const std::string& path, std::string& out);
  // The form in which |path| is stored: the local form where one exists, the network form for
  // a drive this resolver connected itself; the path unchanged when it cannot be converted.
  std::string Canonicalize(const std::string& path);
  // Copies the host name with its NUL into |buffer| and sets |size| to its length. 0 when the
  // name is unknown or its length is not smaller than |size| on entry.
  int GetHostName(char* buffer, int& size);

 private:
  // A drive connection this resolver made: the local name it got and the \\server\share
  // prefix it connected.
  struct Connection {
    std::string localName;
    std::string remoteName;
  };
  enum class ShareLookup { kLocalToShare, kShareToLocal };

  NetworkPathResolver();

  // The host name, asked for when not yet known; null while it cannot be obtained.
  const std::string* KnownHostName();
  int FindShare(ShareLookup mode, const std::string& input, std::string& out);
  int FindConnectedDrive(const std::string& path, std::string& out);
  int LookUpConnectedDrive(const std::string& path, std::string& out);
  int ConnectShare(const std::string& path, std::string& out);
  const Connection* FindOwnConnection(const std::string& localPath) const;
  int OwnConnectionHolds(const std::string& uncPath) const;

  std::vector<Connection> connections;
  std::string hostName;
  int hostNameKnown = 0;
  std::recursive_mutex lock;
  int cacheOn = 0;
  std::unordered_map<std::string, std::string> pathCache;
};

// Turns a stored network path into a path usable on this machine, through the connected
// network drives and this machine's administrative drive shares. Made around each read.
class FOLDWISE_EXPORT SharePathConverter {
 public:
  SharePathConverter() = default;
  virtual ~SharePathConverter() = default;

  // 1 and the local form in |out|, or the path unchanged when it names another machine's share
  // that no connected drive reaches. 0 and an empty |out| when the path is empty or malformed,
  // or the host name or the connected drives cannot be read.
  int ResolveStoredPath(const std::string& path, std::string& out);

  // Forgets the host name every converter of this process remembers after its first query, so
  // that a host or test which installs other network services sees their name.
  static void ForgetRememberedHostName();

 private:
  std::string hostName;
};

}  // namespace Foldwise

#endif  // FOLDWISE_LOCATION_H_
