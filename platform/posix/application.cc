// The POSIX application object and process facts: no window exists, the
// title is only kept, the report of an uncaught failure goes to standard
// error with the same text as the Windows message box, memory is malloc's.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/failure_report.h"
#include "platform/host.h"
#include "platform/posix/posix_platform.h"

extern "C" char __executable_start[];  // the linker's mark of the image start

namespace platform {

Platform* Platform::Default() {
  static PosixPlatform host;
  return &host;
}

Platform* StartHost() { return Platform::Default(); }

std::string ModuleFileName() {
  char buffer[4096];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0) return {};
  return std::string(buffer, static_cast<std::size_t>(length));
}

std::uintptr_t ModuleBase() { return reinterpret_cast<std::uintptr_t>(__executable_start); }

void* PosixPlatform::GetMemory(std::size_t size) { return size == 0 ? nullptr : std::malloc(size); }

void PosixPlatform::FreeMemory(void* block) { std::free(block); }

void PosixPlatform::InitializeApplication() {}

void PosixPlatform::SetTitle(const char* title) { title_ = title; }

void PosixPlatform::RunMessageLoop() {}

void PosixPlatform::ReportUncaught(const Exception& failure) {
  const std::string text = FormatFailureReport(failure.ClassName(), ModuleFileName(),
                                               RelativeAddress(failure), failure.Message());
  std::fprintf(stderr, "%s\n%s\n", kFailureReportTitle, text.c_str());
  std::fflush(stderr);
}

}  // namespace platform
