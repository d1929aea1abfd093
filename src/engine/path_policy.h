// How a family turns the paths it stores into their storage form and back. Every family writes
// the storage form (FilePath::Canonicalize, so every machine of the workgroup can read it); they
// differ in reading:
//   ResolverPaths  the cached item files: the network path resolver maps a stored path to a local
//                  one without connecting drives; a path it cannot map comes back as stored.
//   SharePaths     the documents and outbox folders: SharePathConverter::ResolveStoredPath; a
//                  path it cannot resolve comes back empty.
// A policy is a type with two static functions, so a codec takes it as a template argument:
//   std::string ToStored(const std::string& value);
//   std::string ToLocal(const std::string& stored);
#ifndef FOLDWISE_ENGINE_PATH_POLICY_H_
#define FOLDWISE_ENGINE_PATH_POLICY_H_

#include <string>

namespace Foldwise {

// |value| as a directory (trailing separators removed) in storage form. An empty value stays
// empty; a path that cannot be converted stays as it was.
std::string StorageForm(const std::string& value);

struct ResolverPaths {
  static std::string ToStored(const std::string& value) { return StorageForm(value); }
  static std::string ToLocal(const std::string& stored);
};

struct SharePaths {
  static std::string ToStored(const std::string& value) { return StorageForm(value); }
  static std::string ToLocal(const std::string& stored);
};

}  // namespace Foldwise

#endif  // FOLDWISE_ENGINE_PATH_POLICY_H_
