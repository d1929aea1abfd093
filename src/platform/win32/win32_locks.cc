#include "platform/win32/win32_locks.h"

#include <winternl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cwctype>
#include <map>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
#include <vector>

namespace Foldwise {
namespace platform {
namespace {

// The locked byte: beyond the end of any folder file, so no read or write of content meets it.
constexpr DWORD kLockOffsetHigh = 0x40000000;

// Renaming by handle with POSIX semantics replaces a file others hold open (Windows 10 1809 and
// later, NTFS); older systems, other file systems and Wine answer ERROR_INVALID_PARAMETER or
// ERROR_NOT_SUPPORTED, and the handover below does the work there.
constexpr int kFileRenameInfoEx = 22;
// The information class of a file's index on its volume (FILE_INTERNAL_INFORMATION).
constexpr int kFileInternalInformation = 6;
constexpr DWORD kRenameReplaceIfExists = 0x1;
constexpr DWORD kRenamePosixSemantics = 0x2;

bool TryLock(HANDLE handle, bool exclusive) {
  OVERLAPPED at{};
  at.OffsetHigh = kLockOffsetHigh;
  const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
  return ::LockFileEx(handle, flags, 0, 1, 0, &at) != 0;
}

void Unlock(HANDLE handle) {
  OVERLAPPED at{};
  at.OffsetHigh = kLockOffsetHigh;
  ::UnlockFileEx(handle, 0, 1, 0, &at);
}

// The same file names compare equal: full path, one separator kind, case folded.
std::wstring KeyOf(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  DWORD n = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
  if (n >= full.size()) {
    full.resize(n);
    n = ::GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
  }
  full.resize(n == 0 || n > full.size() ? 0 : n);
  if (full.empty()) full = path;
  for (wchar_t& c : full) c = c == L'/' ? L'\\' : static_cast<wchar_t>(std::towlower(c));
  return full;
}

class Win32FileLock;

// This process's locks by file, and the files a rename is replacing right now.
struct Registry {
  std::mutex mu;
  std::multimap<std::wstring, Win32FileLock*> locks;
  std::set<std::wstring> replacing;
};
Registry& Locks() {
  static Registry* registry = new Registry;  // used until the very end of the process
  return *registry;
}

bool BeingReplaced(const std::wstring& key) {
  Registry& r = Locks();
  std::lock_guard<std::mutex> guard(r.mu);
  return r.replacing.count(key) != 0;
}

// The file's index on its volume. Both handles compared come from the same path, so they are
// on the same volume; the file information call that adds the volume's serial number costs a
// millisecond each under Wine, on every lock.
bool FileIndex(HANDLE handle, LARGE_INTEGER* index) {
  IO_STATUS_BLOCK io{};
  return ::NtQueryInformationFile(handle, &io, index, sizeof *index,
                                  static_cast<FILE_INFORMATION_CLASS>(kFileInternalInformation)) >=
         0;
}

bool SameFile(HANDLE held, const std::wstring& path) {
  LARGE_INTEGER a{};
  LARGE_INTEGER b{};
  if (!FileIndex(held, &a)) return false;
  ScopedHandle named(OpenShared(path, FILE_READ_ATTRIBUTES, OPEN_EXISTING));
  return named.valid() && FileIndex(named.get(), &b) && a.QuadPart == b.QuadPart;
}

class Win32FileLock : public FileLock {
 public:
  Win32FileLock(HANDLE handle, std::wstring path, bool created)
      : handle_(handle), path_(std::move(path)), key_(KeyOf(path_)), created_(created) {
    Registry& r = Locks();
    std::lock_guard<std::mutex> guard(r.mu);
    r.locks.emplace(key_, this);
  }
  ~Win32FileLock() override {
    Registry& r = Locks();
    {
      std::lock_guard<std::mutex> guard(r.mu);
      for (auto it = r.locks.lower_bound(key_); it != r.locks.end() && it->first == key_; ++it) {
        if (it->second == this) {
          r.locks.erase(it);
          break;
        }
      }
    }
    if (!handle_.valid()) return;
    // A file created only to have something to lock goes again when nothing was written to
    // it. Deleted while still locked, so nobody locks the file on its way out.
    LARGE_INTEGER size{};
    if (created_ && ::GetFileSizeEx(handle_.get(), &size) && size.QuadPart == 0 &&
        SameFile(handle_.get(), path_)) {
      ::DeleteFileW(path_.c_str());
    }
  }

  void Adopt(HANDLE handle) { handle_.reset(handle); }
  // Called under the registry's lock.
  void ReleaseForReplace() {
    if (handle_.valid()) Unlock(handle_.get());
    handle_.reset();
  }
  void Rekey(const std::wstring& path, const std::wstring& key) {
    path_ = path;
    key_ = key;
  }
  const std::wstring& key() const { return key_; }

 private:
  ScopedHandle handle_;
  std::wstring path_;
  std::wstring key_;
  bool created_;
};

// The lock object for the locked |handle|, made before |handle| lets go: an allocation failure
// on the way must close it, or its lock would outlive the operation.
std::unique_ptr<FileLock> Adopt(ScopedHandle* handle, const std::wstring& path, bool created) {
  auto lock = std::make_unique<Win32FileLock>(INVALID_HANDLE_VALUE, path, created);
  lock->Adopt(handle->release());
  return lock;
}

void Pause(std::chrono::milliseconds* pause, Clock::time_point deadline) {
  const auto now = Clock::now();
  if (now >= deadline) return;
  std::this_thread::sleep_for(std::min<Clock::duration>(*pause, deadline - now));
  *pause = std::min(*pause * 2, std::chrono::milliseconds(16));
}

// Opening failures that end by themselves: an exclusive open (IsFileFree) or a deletion in
// progress elsewhere.
bool IsTransient(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Opens |path| for an exclusive lock: read and write, or read only for a file this user may not
// write (a save still replaces it by the rename); a missing file is created.
HANDLE OpenForExclusive(const std::wstring& path, bool* created, DWORD* error) {
  *created = false;
  HANDLE handle = OpenShared(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING);
  if (handle != INVALID_HANDLE_VALUE) return handle;
  *error = ::GetLastError();
  if (*error == ERROR_FILE_NOT_FOUND) {
    handle = OpenShared(path, GENERIC_READ | GENERIC_WRITE | DELETE, CREATE_NEW);
    if (handle != INVALID_HANDLE_VALUE) *created = true;
  } else if (*error == ERROR_ACCESS_DENIED) {
    handle = OpenShared(path, GENERIC_READ, OPEN_EXISTING);
  } else {
    return INVALID_HANDLE_VALUE;
  }
  if (handle == INVALID_HANDLE_VALUE) *error = ::GetLastError();
  return handle;
}

// Set once a rename with POSIX semantics was refused as unknown: the system has none, and the
// handover below serves every later rename without the extra open.
std::atomic<bool> posix_rename_unknown{false};

int PosixRename(const std::wstring& from, const std::wstring& to) {
  if (posix_rename_unknown.load(std::memory_order_relaxed)) return ENOSYS;
  ScopedHandle source(OpenShared(from, DELETE | SYNCHRONIZE, OPEN_EXISTING));
  if (!source.valid()) return LastErrno();
  const std::size_t name_bytes = to.size() * sizeof(wchar_t);
  std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + name_bytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  // The union's first member, the flags of the extended information class.
  *reinterpret_cast<DWORD*>(info) = kRenameReplaceIfExists | kRenamePosixSemantics;
  info->RootDirectory = nullptr;
  info->FileNameLength = static_cast<DWORD>(name_bytes);
  std::copy(to.begin(), to.end(), info->FileName);
  if (!::SetFileInformationByHandle(source.get(),
                                    static_cast<FILE_INFO_BY_HANDLE_CLASS>(kFileRenameInfoEx), info,
                                    static_cast<DWORD>(buffer.size()))) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_INVALID_PARAMETER || error == ERROR_INVALID_FUNCTION ||
        error == ERROR_NOT_SUPPORTED) {
      posix_rename_unknown.store(true, std::memory_order_relaxed);
    }
    return ErrnoFromWin32(error);
  }
  return 0;
}

bool Move(const std::wstring& from, const std::wstring& to) {
  return ::MoveFileExW(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

// The locks this process took on |from| (the save's lock on its temporary) now name |to|.
void Rekey(const std::wstring& from, const std::wstring& to) {
  const std::wstring from_key = KeyOf(from);
  const std::wstring to_key = KeyOf(to);
  Registry& r = Locks();
  std::lock_guard<std::mutex> guard(r.mu);
  std::vector<Win32FileLock*> moved;
  for (auto it = r.locks.lower_bound(from_key); it != r.locks.end() && it->first == from_key;) {
    moved.push_back(it->second);
    it = r.locks.erase(it);
  }
  for (Win32FileLock* lock : moved) {
    lock->Rekey(to, to_key);
    r.locks.emplace(to_key, lock);
  }
}

}  // namespace

int LockWin32File(const std::wstring& path, bool exclusive, Clock::time_point deadline,
                  std::unique_ptr<FileLock>* lock) {
  if (!exclusive) {
    ScopedHandle handle;
    const int error = OpenLockedForRead(path, deadline, &handle);
    if (error != 0) return error;
    *lock = Adopt(&handle, path, false);
    return 0;
  }
  const std::wstring key = KeyOf(path);
  auto pause = std::chrono::milliseconds(1);
  int busy = EWOULDBLOCK;
  for (;;) {
    if (!BeingReplaced(key)) {
      bool created = false;
      DWORD error = ERROR_SUCCESS;
      ScopedHandle handle(OpenForExclusive(path, &created, &error));
      if (!handle.valid()) {
        // Another taker created it first: open it at once.
        if (error == ERROR_FILE_EXISTS && Clock::now() < deadline) continue;
        if (error == ERROR_ACCESS_DENIED) {
          busy = EACCES;  // a deletion in progress, or no right at all: seen at the deadline
        } else if (!IsTransient(error)) {
          return ErrnoFromWin32(error);
        }
      } else if (TryLock(handle.get(), true)) {
        // Not the file to lock when a save replaced it meanwhile, or is replacing it now.
        if (!BeingReplaced(key) && SameFile(handle.get(), path)) {
          *lock = Adopt(&handle, path, created);
          return 0;
        }
        Unlock(handle.get());
      } else {
        busy = EWOULDBLOCK;
      }
    }
    if (Clock::now() >= deadline) return busy;
    Pause(&pause, deadline);
  }
}

int OpenLockedForRead(const std::wstring& path, Clock::time_point deadline, ScopedHandle* handle) {
  const std::wstring key = KeyOf(path);
  auto pause = std::chrono::milliseconds(1);
  for (;;) {
    if (!BeingReplaced(key)) {
      handle->reset(OpenShared(path, GENERIC_READ, OPEN_EXISTING));
      if (!handle->valid()) {
        const DWORD error = ::GetLastError();
        if (!IsTransient(error)) return ErrnoFromWin32(error);
      } else if (TryLock(handle->get(), false)) {
        if (!BeingReplaced(key)) return 0;
        Unlock(handle->get());
      }
      // No handle stays open while waiting: it would keep a save from renaming over the file.
      handle->reset();
    }
    if (Clock::now() >= deadline) return EWOULDBLOCK;
    Pause(&pause, deadline);
  }
}

int ReplaceWin32File(const std::wstring& from, const std::wstring& to) {
  if (Move(from, to)) {
    Rekey(from, to);
    return 0;
  }
  DWORD error = ::GetLastError();
  if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
    return ErrnoFromWin32(error);
  }
  // A read-only file is refused by every kind of rename; no handover changes that.
  const DWORD attributes = ::GetFileAttributesW(to.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return EACCES;
  }
  if (PosixRename(from, to) == 0) {
    Rekey(from, to);
    return 0;
  }
  const std::wstring key = KeyOf(to);
  Registry& r = Locks();
  {
    std::lock_guard<std::mutex> guard(r.mu);
    r.replacing.insert(key);
    for (auto it = r.locks.lower_bound(key); it != r.locks.end() && it->first == key; ++it) {
      it->second->ReleaseForReplace();
    }
  }
  // Readers elsewhere hold the file open for the moments of their reads.
  const Clock::time_point deadline =
      Clock::now() + std::chrono::milliseconds(kDefaultLockTimeoutMs);
  auto pause = std::chrono::milliseconds(1);
  bool moved = Move(from, to);
  while (!moved) {
    error = ::GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
        Clock::now() >= deadline) {
      break;
    }
    Pause(&pause, deadline);
    moved = Move(from, to);
  }
  {
    std::lock_guard<std::mutex> guard(r.mu);
    r.replacing.erase(key);
  }
  if (!moved) return ErrnoFromWin32(error);
  Rekey(from, to);
  return 0;
}

}  // namespace platform
}  // namespace Foldwise
