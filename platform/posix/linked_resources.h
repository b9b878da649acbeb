// The resource table that the build links into a POSIX executable from its
// resource script (cmake/Launcher.cmake generates it as assembler with
// .incbin): one row per resource, the bytes in place in the image. Weak, so
// that a program linked without a resource script simply has none.
#pragma once

#include <cstdint>

namespace platform {

struct LinkedResource {
  const char* type;
  const char* name;
  const std::uint8_t* data;
  std::uintptr_t size;
};

}  // namespace platform

extern "C" {
extern const platform::LinkedResource launcher_resource_table[] __attribute__((weak));
extern const std::uintptr_t launcher_resource_count __attribute__((weak));
}
