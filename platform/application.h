// The program's entry as the class library runs it: the host platform starts
// (creating the application object and its window), the body runs once, and
// a failure that leaves the body is reported after every pending clean-up
// has run.
#pragma once

#include "platform/platform.h"

namespace platform {

// Returns the process exit code: 0 when the body returns, 1 after the
// report of an uncaught failure.
int RunApplication(void (*body)(Platform& host));

// Reports the failure on host and gives the exit code that follows it.
int ReportAndExitCode(Platform& host, const Exception& failure);

}  // namespace platform
