// Path rules of the POSIX host: '/' separates folders; a colon is an
// ordinary character. Put on the include path by the build for this host.
#pragma once

namespace platform {

constexpr char kPathSeparator = '/';
constexpr bool kColonEndsParent = false;

}  // namespace platform
