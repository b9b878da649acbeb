// The base failure class: keeps the message and the address of the code that
// raised it (the caller of the constructor chain's outermost frame).
#include "platform/exception.h"

#include <utility>

namespace platform {

__attribute__((noinline)) Exception::Exception(std::string message)
    : message_(std::move(message)),
      address_(reinterpret_cast<std::uintptr_t>(__builtin_return_address(0))) {}

}  // namespace platform
