// Standard streams on POSIX: no text mode exists, a terminal is a tty.
#include "platform/terminal.h"

#include <unistd.h>

namespace platform {

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void UseBinaryStandardStreams() {}

}  // namespace platform
