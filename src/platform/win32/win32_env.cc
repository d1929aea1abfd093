// The Win32 Env: files through CreateFileW, locks through LockFileEx (win32_locks.h), the date
// and time of the user's locale. Paths arrive as UTF-8 and go to the system as UTF-16.
#include <aclapi.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "foldwise/env.h"
#include "platform/win32/win32_locks.h"
#include "platform/win32/win32_text.h"

namespace Foldwise {
namespace {

using platform::Clock;
using platform::LastErrno;
using platform::OpenShared;
using platform::ScopedHandle;
using platform::Widen;

class Win32WritableFile : public WritableFile {
 public:
  explicit Win32WritableFile(HANDLE handle) : handle_(handle) {}
  ~Win32WritableFile() override { Close(); }

  int Append(std::string_view data) override {
    while (!data.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
      DWORD written = 0;
      if (!::WriteFile(handle_.get(), data.data(), chunk, &written, nullptr)) return LastErrno();
      data.remove_prefix(written);
    }
    return 0;
  }
  int Sync() override { return ::FlushFileBuffers(handle_.get()) ? 0 : LastErrno(); }
  int Close() override {
    const HANDLE handle = handle_.release();
    if (handle == INVALID_HANDLE_VALUE) return 0;
    return ::CloseHandle(handle) ? 0 : LastErrno();
  }

 private:
  ScopedHandle handle_;
};

Clock::time_point DeadlineAfter(int timeout_ms) {
  return Clock::now() + std::chrono::milliseconds(std::max(timeout_ms, 0));
}

// Whether the file's security lets this user open it with |access|: the open asks the system.
int CheckOpen(const std::wstring& path, DWORD access) {
  ScopedHandle handle(OpenShared(path, access, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
  if (handle.valid()) return 0;
  const DWORD error = ::GetLastError();
  // Opened exclusively elsewhere: in use, yet open to this user.
  return error == ERROR_SHARING_VIOLATION ? 0 : platform::ErrnoFromWin32(error);
}

// A SYSTEMTIME of |when| in local time, for the locale's formatting functions.
bool LocalSystemTime(std::time_t when, SYSTEMTIME* st) {
  std::tm local{};
  if (::localtime_s(&local, &when) != 0) return false;
  *st = SYSTEMTIME{};
  st->wYear = static_cast<WORD>(local.tm_year + 1900);
  st->wMonth = static_cast<WORD>(local.tm_mon + 1);
  st->wDayOfWeek = static_cast<WORD>(local.tm_wday);
  st->wDay = static_cast<WORD>(local.tm_mday);
  st->wHour = static_cast<WORD>(local.tm_hour);
  st->wMinute = static_cast<WORD>(local.tm_min);
  st->wSecond = static_cast<WORD>(local.tm_sec);
  return true;
}

bool NarrowFormatted(const wchar_t* buffer, int n, std::string* out) {
  if (n <= 1) return false;
  return platform::Narrow(std::wstring_view(buffer, static_cast<std::size_t>(n - 1)), out);
}

class Win32Env : public Env {
 public:
  int GetFileStatus(const std::string& path, FileStatus* status) override {
    std::wstring wide;
    if (!Widen(path, &wide)) return EINVAL;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_FILE_NOT_FOUND) return kErrorFileNotFound;
      if (error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_DRIVE ||
          error == ERROR_BAD_NETPATH || error == ERROR_BAD_NET_NAME) {
        return kErrorPathNotFound;
      }
      return platform::ErrnoFromWin32(error);
    }
    status->size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    status->read_only = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    return 0;
  }

  int Access(const std::string& path, int mode) override {
    std::wstring wide;
    if (!Widen(path, &wide)) return EINVAL;
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastErrno();
    const bool directory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if ((mode & kAccessWrite) && !directory && (attributes & FILE_ATTRIBUTE_READONLY)) {
      return EACCES;
    }
    DWORD access = 0;
    if (mode & kAccessRead) access |= FILE_GENERIC_READ;
    if ((mode & kAccessWrite) && !directory) access |= FILE_GENERIC_WRITE;
    return access == 0 ? 0 : CheckOpen(wide, access);
  }

  int ReadFile(const std::string& path, std::string* contents, int lock_timeout_ms) override {
    contents->clear();
    std::wstring wide;
    if (!Widen(path, &wide)) return EINVAL;
    ScopedHandle handle;
    if (lock_timeout_ms != kNoLock) {
      const int error = platform::OpenLockedForRead(wide, DeadlineAfter(lock_timeout_ms), &handle);
      if (error != 0) return error;
    } else {
      handle.reset(OpenShared(wide, GENERIC_READ, OPEN_EXISTING));
      if (!handle.valid()) return LastErrno();
    }
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(handle.get(), &size) && size.QuadPart > 0) {
      contents->reserve(static_cast<std::size_t>(size.QuadPart));
    }
    std::vector<char> buffer(65536);
    for (;;) {
      DWORD n = 0;
      if (!::ReadFile(handle.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &n,
                      nullptr)) {
        return LastErrno();
      }
      if (n == 0) break;
      contents->append(buffer.data(), n);
    }
    return 0;
  }

  int NewWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) override {
    std::wstring wide;
    if (!Widen(path, &wide)) return EINVAL;
    ScopedHandle handle(OpenShared(wide, GENERIC_WRITE, CREATE_ALWAYS));
    if (!handle.valid()) return LastErrno();
    // The handle stays with |handle| until the file object exists, so a failed allocation
    // closes it.
    *file = std::make_unique<Win32WritableFile>(handle.get());
    handle.release();
    return 0;
  }

  int RenameFile(const std::string& from, const std::string& to) override {
    std::wstring wide_from;
    std::wstring wide_to;
    if (!Widen(from, &wide_from) || !Widen(to, &wide_to)) return EINVAL;
    return platform::ReplaceWin32File(wide_from, wide_to);
  }

  int RemoveFile(const std::string& path) override {
    std::wstring wide;
    if (!Widen(path, &wide)) return EINVAL;
    return ::DeleteFileW(wide.c_str()) ? 0 : LastErrno();
  }

  int SyncDirectory(const std::string& dir) override {
    // NTFS journals the rename itself; flushing the directory handle asks for it explicitly
    // where the file system supports that.
    std::wstring wide;
    if (!Widen(dir, &wide)) return EINVAL;
    ScopedHandle handle(
        OpenShared(wide, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
    if (!handle.valid()) return LastErrno();
    return ::FlushFileBuffers(handle.get()) ? 0 : LastErrno();
  }

  int LockFile(const std::string& path, bool exclusive, int timeout_ms,
               std::unique_ptr<FileLock>* lock) override {
    std::wstring wide;
    if (!Widen(path, &wide)) return EINVAL;
    return platform::LockWin32File(wide, exclusive, DeadlineAfter(timeout_ms), lock);
  }

  int ProbeExclusiveOpen(const std::string& path) override {
    std::wstring wide;
    if (!Widen(path, &wide)) return EINVAL;
    // No sharing at all: any other open of the file, and so any lock on it, makes this fail.
    ScopedHandle handle(::CreateFileW(wide.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle.valid() ? 0 : LastErrno();
  }

  int GetChildren(const std::string& dir, std::vector<std::string>* names) override {
    names->clear();
    std::wstring pattern;
    if (!Widen(dir, &pattern)) return EINVAL;
    if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found;
    const HANDLE first = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                            FindExSearchNameMatch, nullptr, 0);
    if (first == INVALID_HANDLE_VALUE) {
      const DWORD error = ::GetLastError();
      return error == ERROR_FILE_NOT_FOUND ? 0 : platform::ErrnoFromWin32(error);
    }
    // Closed on every path: an allocation failure while collecting names must not leak it.
    const std::unique_ptr<void, BOOL(WINAPI*)(HANDLE)> listing(first, ::FindClose);
    do {
      const std::wstring_view name(found.cFileName);
      if (name == L"." || name == L"..") continue;
      std::string narrow;
      if (platform::Narrow(name, &narrow)) names->push_back(std::move(narrow));
    } while (::FindNextFileW(listing.get(), &found));
    return 0;
  }

  bool IsProcessAlive(int pid) override {
    if (pid <= 0) return false;
    ScopedHandle process(
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid)));
    if (!process.valid()) return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    return ::GetExitCodeProcess(process.get(), &code) && code == STILL_ACTIVE;
  }

  int MakeWorldAccessible(const std::string& path) override {
    std::wstring wide;
    if (!Widen(path, &wide)) return EINVAL;
    const int error = ClearReadOnly(wide);
    if (error != 0) return error;
    return GrantEveryone(wide);
  }

  int MakeWritable(const std::string& path) override {
    std::wstring wide;
    if (!Widen(path, &wide)) return EINVAL;
    return ClearReadOnly(wide);
  }

  std::time_t Now() override { return std::time(nullptr); }

  bool FormatShortDate(std::time_t when, std::string* out) override {
    out->clear();
    SYSTEMTIME st;
    if (!LocalSystemTime(when, &st)) return false;
    wchar_t buffer[128];
    const int n = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer,
                                    128, nullptr);
    return NarrowFormatted(buffer, n, out);
  }

  bool FormatTime(std::time_t when, std::string* out) override {
    out->clear();
    SYSTEMTIME st;
    if (!LocalSystemTime(when, &st)) return false;
    wchar_t buffer[128];
    const int n = ::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, nullptr, buffer, 128);
    return NarrowFormatted(buffer, n, out);
  }

 private:
  static int ClearReadOnly(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastErrno();
    if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) return 0;
    return ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) ? 0
                                                                                     : LastErrno();
  }

  // Adds read and write for Everyone to the file's access list, the stand-in of the original
  // world-access list. File systems without access lists (FAT, some network shares) have
  // nothing to grant.
  static int GrantEveryone(const std::wstring& path) {
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!::AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0,
                                    &everyone)) {
      return LastErrno();
    }
    const std::unique_ptr<void, PVOID(WINAPI*)(PSID)> sid(everyone, ::FreeSid);
    PACL old_acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    std::vector<wchar_t> name(path.begin(), path.end());
    name.push_back(L'\0');
    DWORD result = ::GetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                           nullptr, nullptr, &old_acl, nullptr, &descriptor);
    if (result != ERROR_SUCCESS) return Unsupported(result) ? 0 : platform::ErrnoFromWin32(result);
    const std::unique_ptr<void, HLOCAL(WINAPI*)(HLOCAL)> owned_descriptor(descriptor, ::LocalFree);
    EXPLICIT_ACCESSW grant{};
    grant.grfAccessPermissions = FILE_GENERIC_READ | FILE_GENERIC_WRITE | DELETE;
    grant.grfAccessMode = GRANT_ACCESS;
    grant.grfInheritance = NO_INHERITANCE;
    grant.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    grant.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    grant.Trustee.ptstrName = static_cast<LPWSTR>(everyone);
    PACL new_acl = nullptr;
    result = ::SetEntriesInAclW(1, &grant, old_acl, &new_acl);
    if (result != ERROR_SUCCESS) return platform::ErrnoFromWin32(result);
    const std::unique_ptr<void, HLOCAL(WINAPI*)(HLOCAL)> owned_acl(new_acl, ::LocalFree);
    result = ::SetNamedSecurityInfoW(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                     nullptr, nullptr, new_acl, nullptr);
    if (result != ERROR_SUCCESS) return Unsupported(result) ? 0 : platform::ErrnoFromWin32(result);
    return 0;
  }

  static bool Unsupported(DWORD error) {
    return error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION ||
           error == ERROR_CALL_NOT_IMPLEMENTED;
  }
};

}  // namespace

Env* Env::Default() { return Win32(); }

Env* Env::Win32() {
  static Win32Env env;  // stateless, so safe to use until the very end of the process
  return &env;
}

}  // namespace Foldwise
