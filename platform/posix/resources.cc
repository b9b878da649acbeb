// Resource lookup on POSIX: the linked table searched by type and name with
// ASCII case folding, the way Windows matches string resource names. The
// bytes are handed out where they lie in the image.
#include "platform/posix/linked_resources.h"
#include "platform/posix/posix_platform.h"

namespace platform {

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringCase(const char* a, const char* b) {
  for (; *a != '\0' && *b != '\0'; ++a, ++b) {
    if (Upper(*a) != Upper(*b)) return false;
  }
  return *a == *b;
}

}  // namespace

bool PosixPlatform::FindResource(const char* type, const char* name, Resource* out) {
  if (&launcher_resource_count == nullptr || launcher_resource_table == nullptr) return false;
  for (std::uintptr_t i = 0; i < launcher_resource_count; ++i) {
    const LinkedResource& row = launcher_resource_table[i];
    if (SameIgnoringCase(row.type, type) && SameIgnoringCase(row.name, name)) {
      out->data = row.data;
      out->size = static_cast<std::uint32_t>(row.size);
      return true;
    }
  }
  return false;
}

}  // namespace platform
