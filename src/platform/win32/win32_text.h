// The Win32 boundary: UTF-8 texts of the library to UTF-16 texts of the system and back, and
// Win32 error codes to the errno values the Env reports.
#ifndef FOLDWISE_PLATFORM_WIN32_WIN32_TEXT_H_
#define FOLDWISE_PLATFORM_WIN32_WIN32_TEXT_H_

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

namespace Foldwise {
namespace platform {

// False when |text| is not valid UTF-8 (or does not fit the system's lengths).
bool Widen(std::string_view text, std::wstring* wide);
// False when |wide| holds an unpaired surrogate.
bool Narrow(std::wstring_view wide, std::string* text);

// The errno value that stands for a Win32 error code; busy files and held locks both become
// EWOULDBLOCK, the Env's "held elsewhere".
int ErrnoFromWin32(DWORD error);
inline int LastErrno() { return ErrnoFromWin32(::GetLastError()); }

// Closes a handle on every path.
class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE release() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle;
  }
  void reset(HANDLE handle = INVALID_HANDLE_VALUE) {
    if (valid()) ::CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

// Every handle of this layer lets the others read, write, and rename or delete the file: a
// reader must never keep a save from replacing it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Opens |path| (UTF-16) with |access| and |disposition|, every kind of sharing allowed.
HANDLE OpenShared(const std::wstring& path, DWORD access, DWORD disposition, DWORD flags = 0);

}  // namespace platform
}  // namespace Foldwise

#endif  // FOLDWISE_PLATFORM_WIN32_WIN32_TEXT_H_
