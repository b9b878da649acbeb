// Failure classes of the host platform's class library, and the base class
// from which every module's own failure class derives. A failure carries one
// message text; its class name is what the report of an uncaught failure shows.
// The address where a failure was raised is captured when it is constructed.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class Exception {
 public:
  explicit Exception(std::string message);
  virtual ~Exception() = default;

  const std::string& Message() const { return message_; }
  virtual const char* ClassName() const { return "Exception"; }
  // Code address at which the failure was raised (absolute).
  std::uintptr_t Address() const { return address_; }

 private:
  std::string message_;
  std::uintptr_t address_;
};

#define PLATFORM_DECLARE_EXCEPTION(Name, Base)                     \
  class Name : public Base {                                       \
   public:                                                         \
    using Base::Base;                                              \
    const char* ClassName() const override { return #Name; }       \
  }

// "Ressource %s nicht gefunden"
PLATFORM_DECLARE_EXCEPTION(EResNotFound, Exception);
// "Kann Datei %s nicht erstellen"
PLATFORM_DECLARE_EXCEPTION(EFCreateError, Exception);
// "Stream-Write-Fehler "
PLATFORM_DECLARE_EXCEPTION(EWriteError, Exception);
// "Speicher reicht nicht aus"
PLATFORM_DECLARE_EXCEPTION(EOutOfMemory, Exception);

}  // namespace platform
