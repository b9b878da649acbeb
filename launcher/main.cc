// The launcher's entry: the platform starts the application, runs the
// launcher sequence once and ends the process with its exit code. Command
// line arguments are not read.
#include "launcher/sequence.h"
#include "platform/application.h"

int main() { return platform::RunApplication(launcher::RunLauncher); }
