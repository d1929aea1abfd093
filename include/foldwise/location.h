// Location services: conversion of paths between their local, mapped-drive and network forms.
#ifndef FOLDWISE_LOCATION_H_
#define FOLDWISE_LOCATION_H_

#include <string>

namespace Foldwise {

// Process-wide converter between network (UNC) paths and paths usable on this machine.
class NetworkPathResolver {
 public:
  virtual ~NetworkPathResolver();

  // The single instance, created on first use. Not synchronised.
  static NetworkPathResolver& GetInstance();
  // Whether the instance exists now.
  static bool HasInstance();
  // Destroys the instance; the next GetInstance makes a new one.
  static void DiscardInstance();

  // A cache period memoises connected-drive lookups; periods of different threads serialise.
  void BeginCachePeriod();
  void EndCachePeriod();

  // Network path to local path. 1 and |out| on success, 0 and an empty |out| otherwise.
  int ToLocalPath(const std::string& path, std::string& out, int mayConnect);
  // Local path to network path. 1 and |out| on success, 0 and an empty |out| otherwise.
  int ToSharePath(const std::string& path, std::string& out);
  // The form in which |path| is stored.
  std::string Canonicalize(const std::string& path);

 private:
  NetworkPathResolver();
};

}  // namespace Foldwise

#endif  // FOLDWISE_LOCATION_H_
