#include "foldwise/testing/fault_env.h"

#include <cerrno>
#include <string_view>

namespace Foldwise {
namespace testing {
namespace {

// Passes data to the real file until the fault fires, so a half-written temporary file exists
// on disk exactly as it would after a crash or a full disk.
class FaultWritableFile : public WritableFile {
 public:
  FaultWritableFile(FaultEnv* env, std::unique_ptr<WritableFile> target)
      : env_(env), target_(std::move(target)) {}

  int Append(std::string_view data) override {
    if (env_->fail_write) return EIO;
    if (env_->disk_full_after >= 0) {
      const auto room = static_cast<std::uint64_t>(env_->disk_full_after);
      if (written_ + data.size() > room) {
        const std::string_view part = data.substr(0, room > written_ ? room - written_ : 0);
        if (!part.empty()) target_->Append(part);
        written_ += part.size();
        return ENOSPC;
      }
    }
    written_ += data.size();
    return target_->Append(data);
  }
  int Sync() override { return env_->fail_sync ? EIO : target_->Sync(); }
  int Close() override { return target_->Close(); }

 private:
  FaultEnv* env_;
  std::unique_ptr<WritableFile> target_;
  std::uint64_t written_ = 0;
};

}  // namespace

int FaultEnv::ReadFile(const std::string& path, std::string* contents) {
  ++reads;
  if (fail_read) return EIO;
  return EnvWrapper::ReadFile(path, contents);
}

int FaultEnv::NewWritableFile(const std::string& path, std::unique_ptr<WritableFile>* file) {
  if (fail_new_file) return EACCES;
  std::unique_ptr<WritableFile> real;
  const int error = EnvWrapper::NewWritableFile(path, &real);
  if (error != 0) return error;
  ++files_written;
  *file = std::make_unique<FaultWritableFile>(this, std::move(real));
  return 0;
}

int FaultEnv::RenameFile(const std::string& from, const std::string& to) {
  if (fail_rename) return EXDEV;
  return EnvWrapper::RenameFile(from, to);
}

int FaultEnv::RemoveFile(const std::string& path) {
  ++removals;
  if (fail_remove) return EACCES;
  return EnvWrapper::RemoveFile(path);
}

int FaultEnv::ProbeExclusiveOpen(const std::string& path) {
  if (file_busy) return EWOULDBLOCK;
  return EnvWrapper::ProbeExclusiveOpen(path);
}

int FaultEnv::MakeWorldAccessible(const std::string& path) {
  if (fail_access_rights) return EPERM;
  return EnvWrapper::MakeWorldAccessible(path);
}

std::time_t FaultEnv::Now() { return fixed_now != 0 ? fixed_now : EnvWrapper::Now(); }

}  // namespace testing
}  // namespace Foldwise
