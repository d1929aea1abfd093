#include "storage/damaged_file.h"

#include <algorithm>
#include <cstdio>

#include "dom/dom.h"
#include "foldwise/env.h"
#include "foldwise/xml_file_base.h"
#include "platform/file_hold.h"
#include "storage/xml_file.h"

namespace Foldwise {

namespace {

// The UTC calendar date and time of |when|, by arithmetic alone: the C library's thread-safe
// breakdown is gmtime_r on POSIX and gmtime_s (arguments swapped) on Windows.
struct UtcStamp {
  long long year;
  int month, day, hour, minute, second;
};

UtcStamp UtcOf(std::time_t when) {
  const long long seconds = static_cast<long long>(when);
  long long days = seconds / 86400;
  long long rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  // Days since 1970-01-01 to a proleptic Gregorian date, counting eras of 400 years from March.
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long day_of_era = days - era * 146097;
  const long long year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const long long day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const long long shifted_month = (5 * day_of_year + 2) / 153;
  UtcStamp stamp{};
  stamp.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  stamp.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  stamp.year = year_of_era + era * 400 + (stamp.month <= 2 ? 1 : 0);
  stamp.hour = static_cast<int>(rest / 3600);
  stamp.minute = static_cast<int>(rest % 3600 / 60);
  stamp.second = static_cast<int>(rest % 60);
  return stamp;
}

}  // namespace

std::string DamagedFileName(const std::string& path, std::time_t when) {
  const UtcStamp utc = UtcOf(when);
  char stamp[48];
  std::snprintf(stamp, sizeof stamp, "%04lld%02d%02d-%02d%02d%02d", utc.year, utc.month, utc.day,
                utc.hour, utc.minute, utc.second);
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
  std::string::size_type end = path.size();
  while (end > 0 && !IsPathSeparator(path[end - 1])) --end;
  (void)env->SyncDirectory(end == 0 ? "." : path.substr(0, end));
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
