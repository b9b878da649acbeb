// The launcher sequence: title, temporary directory, staging folder, the 33
// payload files in manifest order, the decompression step, the hand-over to
// "Setup.exe" through the shell. It catches nothing: a failure while the
// payload is written travels on to the platform's report.
#pragma once

#include "platform/platform.h"

namespace launcher {

// Module-level paths, alive for the process.
extern platform::Path StagingFolder;     // never ends in a separator
extern platform::Path SetupProgramPath;  // StagingFolder + separator + "Setup.exe"

// Runs the steps once on host. Reads no argument, environment or setting.
void RunLauncher(platform::Platform& host);

}  // namespace launcher
