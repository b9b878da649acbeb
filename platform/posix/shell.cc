// The shell's "open" on POSIX: the file is made executable for its owner and
// started as a program in the given working directory, detached (double
// fork, new session) and not waited for. The intermediate child is reaped at
// once; a grandchild whose exec fails ends with _exit, so no second copy of
// the caller ever runs on.
#include <errno.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "platform/posix/posix_platform.h"

namespace platform {

void PosixPlatform::ShellExecute(const char* verb, const Path& file, const char* parameters,
                                 const Path& directory, int /*show_command*/) {
  if (verb == nullptr || std::strcmp(verb, "open") != 0) return;
  struct stat info;
  if (stat(file.c_str(), &info) == 0 && (info.st_mode & S_IXUSR) == 0) {
    chmod(file.c_str(), (info.st_mode & 07777) | S_IXUSR);
  }
  // Everything the children need is prepared before fork.
  const bool has_parameters = parameters != nullptr && parameters[0] != '\0';
  char* argv[] = {const_cast<char*>(file.c_str()),
                  has_parameters ? const_cast<char*>(parameters) : nullptr, nullptr};

  const pid_t child = fork();
  if (child < 0) return;
  if (child == 0) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild == 0) {
      if (directory.empty() || chdir(directory.c_str()) == 0) execv(argv[0], argv);
      _exit(127);
    }
    _exit(0);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace platform
