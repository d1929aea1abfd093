#include "foldwise/testing/fault_env.h"

#include <cerrno>
#include <string_view>

namespace Foldwise {
namespace testing {
namespace {

// Counts a call a fault made fail and gives its error.
int Fired(FaultEnv* env, int error) {
  ++env->faults_injected;
  return error;
}

// Passes data to the real file until the fault fires, so a half-written temporary file exists
// on disk exactly as it would after a crash or a full disk.
class FaultWritableFile : public WritableFile {
 public:
  FaultWritableFile(FaultEnv* env, std::unique_ptr<WritableFile> target)
      : env_(env), target_(std::move(target)) {}

  int Append(std::string_view data) override {
    if (env_->fail_write) return Fired(env_, EIO);
    if (env_->disk_full_after >= 0) {
      const auto room = static_cast<std::uint64_t>(env_->disk_full_after);
      if (written_ + data.size() > room) {
        const std::string_view part = data.substr(0, room > written_ ? room - written_ : 0);
        if (!part.empty()) target_->Append(part);
        written_ += part.size();
        return Fired(env_, ENOSPC);
      }
    }
    written_ += data.size();
    return target_->Append(data);
  }
  int Sync() override {
    ++env_->syncs;
    return env_->fail_sync ? Fired(env_, EIO) : target_->Sync();
  }
  int Close() override { return target_->Close(); }

 private:
  FaultEnv* env_;
  std::unique_ptr<WritableFile> target_;
  std::uint64_t written_ = 0;
};

bool Exists(Env* env, const std::string& path) {
  FileStatus status;
  return env->GetFileStatus(path, &status) == 0;
}

}  // namespace

int FaultEnv::GetFileStatus(const std::string& path, FileStatus* status) {
  ++status_checks;
  return EnvWrapper::GetFileStatus(path, status);
}

int FaultEnv::Access(const std::string& path, int mode) {
  ++status_checks;
  return EnvWrapper::Access(path, mode);
}

int FaultEnv::ReadFile(const std::string& path, std::string* contents, int lock_timeout_ms) {
  ++reads;
  if (fail_read) return Fired(this, EIO);
  if (lock_busy && lock_timeout_ms != kNoLock) return Fired(this, EWOULDBLOCK);
  return EnvWrapper::ReadFile(path, contents, lock_timeout_ms);
}

int FaultEnv::NewWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) {
  if (fail_new_file) return Fired(this, EACCES);
  if (read_only_directory && !Exists(target(), path)) return Fired(this, EACCES);
  std::unique_ptr<WritableFile> real;
  const int error = EnvWrapper::NewWritableFile(path, &real);
  if (error != 0) return error;
  ++files_written;
  *file = std::make_unique<FaultWritableFile>(this, std::move(real));
  return 0;
}

int FaultEnv::RenameFile(const std::string& from, const std::string& to) {
  if (fail_rename) return Fired(this, EXDEV);
  if (read_only_directory) return Fired(this, EACCES);
  return EnvWrapper::RenameFile(from, to);
}

int FaultEnv::RemoveFile(const std::string& path) {
  ++removals;
  if (fail_remove || read_only_directory) return Fired(this, EACCES);
  return EnvWrapper::RemoveFile(path);
}

int FaultEnv::SyncDirectory(const std::string& dir) {
  ++directory_syncs;
  if (fail_sync_directory) return Fired(this, EIO);
  return EnvWrapper::SyncDirectory(dir);
}

int FaultEnv::LockFile(const std::string& path, bool exclusive, int timeout_ms,
                       std::unique_ptr<FileLock>* lock) {
  if (lock_busy || (file_busy && exclusive)) return Fired(this, EWOULDBLOCK);
  // A missing file would be created to be locked, which a directory without new names refuses.
  if (read_only_directory && exclusive && !Exists(target(), path)) return Fired(this, EACCES);
  const int error = EnvWrapper::LockFile(path, exclusive, timeout_ms, lock);
  if (error == 0) ++locks;
  if (error == 0 && exclusive) ++exclusive_locks;
  return error;
}

int FaultEnv::ProbeExclusiveOpen(const std::string& path) {
  ++probes;
  if (file_busy) return Fired(this, EWOULDBLOCK);
  return EnvWrapper::ProbeExclusiveOpen(path);
}

int FaultEnv::MakeWorldAccessible(const std::string& path) {
  if (fail_access_rights) return Fired(this, EPERM);
  return EnvWrapper::MakeWorldAccessible(path);
}

std::time_t FaultEnv::Now() { return fixed_now != 0 ? fixed_now : EnvWrapper::Now(); }

}  // namespace testing
}  // namespace Foldwise
