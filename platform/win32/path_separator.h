// Path rules of the Windows host: the backslash separates folders, and a
// colon ends a drive prefix (so the climb to parents also stops after one).
// Put on the include path by the build for this host.
#pragma once

namespace platform {

constexpr char kPathSeparator = '\\';
constexpr bool kColonEndsParent = true;

}  // namespace platform
