// What each host implementation (posix/ or win32/) supplies besides the
// Platform interface: its start-up and the facts about the running module
// that the report of an uncaught failure shows.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

namespace platform {

// The host's platform with its application object (and window) created.
Platform* StartHost();

// Full path of the running program file.
std::string ModuleFileName();

// Load address of the running program image.
std::uintptr_t ModuleBase();

// A failure's address relative to the program image, as the report shows it.
inline std::uint32_t RelativeAddress(const Exception& failure) {
  return static_cast<std::uint32_t>(failure.Address() - ModuleBase());
}

}  // namespace platform
