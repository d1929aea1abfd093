// Exceptions raised by the library.
//
// Thread safety: plain values; copies may be used from any thread.
#ifndef FOLDWISE_ERRORS_H_
#define FOLDWISE_ERRORS_H_

#include <cstdint>
#include <exception>
#include <string>

#include "foldwise/export.h"

namespace Foldwise {

// HRESULT-style result codes carried by ComError.
constexpr std::uint32_t kErrorPointer = 0x80004003u;      // a null node or document was used
constexpr std::uint32_t kErrorOutOfMemory = 0x8007000Eu;  // a text buffer could not be allocated
constexpr std::uint32_t kErrorDomFailure =
    0x80004005u;  // a DOM call failed or a query was rejected
// A failed text conversion: kErrorConversionBase | (system error & 0xFFFF).
constexpr std::uint32_t kErrorConversionBase = 0x80070000u;

// Raised by every failing DOM call. The cached folders and the attribute file catch it at each
// operation and report failure by their result; the documents and outbox folders let it reach
// the host.
class FOLDWISE_EXPORT ComError : public std::exception {
 public:
  ComError(std::uint32_t code, std::string description)
      : code_(code), description_(std::move(description)) {}

  std::uint32_t code() const noexcept { return code_; }
  const std::string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  std::uint32_t code_;
  std::string description_;
};

// Raised only by the file-status helpers when a status cannot be written back; caught exactly
// where a save would otherwise be reported as failed. The documents folders need it: their
// CloseXML saves through those helpers and catches this around the save.
class FOLDWISE_EXPORT FileError : public std::exception {
 public:
  FileError(int system_error, std::string path)
      : system_error_(system_error), message_("file error on " + std::move(path)) {}

  int system_error() const noexcept { return system_error_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  int system_error_;
  std::string message_;
};

}  // namespace Foldwise

#endif  // FOLDWISE_ERRORS_H_
