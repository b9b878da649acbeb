// What the command-line tools need to know about their standard streams:
// whether standard error is a terminal (for a progress bar), and switching
// standard input and output to binary so that bytes pass unchanged. One
// implementation per host (posix/ or win32/).
#pragma once

namespace platform {

// True when standard error is shown on a terminal or console.
bool StandardErrorIsTerminal();

// Standard input and output pass bytes unchanged (no line-end translation).
void UseBinaryStandardStreams();

}  // namespace platform
