#include "storage/damaged_file.h"

#include <algorithm>
#include <cstdio>

#include "dom/dom.h"
#include "foldwise/env.h"
#include "foldwise/xml_file_base.h"
#include "platform/file_hold.h"
#include "storage/xml_file.h"

namespace Foldwise {

std::string DamagedFileName(const std::string& path, std::time_t when) {
  std::tm utc{};
  gmtime_r(&when, &utc);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", utc.tm_year + 1900,
                utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
  return path + kDamagedSuffix + stamp;
}

bool MakeWayForNewFile(const std::string& path) {
  if (!HasContent(path)) return true;
  Env* env = Env::Current();
  std::string text;
  if (platform::ReadFileForLoad(env, path, &text) != 0) return false;
  DomDocument probe;
  if (probe.LoadXml(text)) return true;
  const std::string base = DamagedFileName(path, env->Now());
  std::string aside = base;
  FileStatus status;
  for (int n = 2; env->GetFileStatus(aside, &status) == 0; ++n) {
    aside = base + "-" + std::to_string(n);
  }
  if (env->RenameFile(path, aside) != 0) return false;
  const std::string::size_type slash = path.find_last_of('/');
  (void)env->SyncDirectory(slash == std::string::npos ? "." : path.substr(0, slash + 1));
  return true;
}

std::vector<std::string> ListDamagedFiles(const std::string& dir) {
  std::vector<std::string> names;
  if (Env::Current()->GetChildren(dir, &names) != 0) return {};
  names.erase(std::remove_if(names.begin(), names.end(),
                             [](const std::string& name) {
                               return name.find(kDamagedSuffix) == std::string::npos;
                             }),
              names.end());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace Foldwise
