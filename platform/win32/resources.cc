// Win32 resources of the program's own module: FindResourceA (string name
// and type, matched without regard to case), LoadResource, SizeofResource,
// LockResource. The bytes stay where the loader mapped them.
#include "platform/win32/win32_platform.h"

namespace platform {

bool Win32Platform::FindResource(const char* type, const char* name, Resource* out) {
  HRSRC info = FindResourceA(nullptr, name, type);
  if (info == nullptr) return false;
  HGLOBAL loaded = LoadResource(nullptr, info);
  if (loaded == nullptr) return false;
  const void* bytes = LockResource(loaded);
  if (bytes == nullptr) return false;
  out->data = static_cast<const std::uint8_t*>(bytes);
  out->size = SizeofResource(nullptr, info);
  return true;
}

}  // namespace platform
