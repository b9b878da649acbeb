// The Win32 application object and process facts: the host's start-up
// creates the window, the title becomes its caption, the message loop
// returns at once, memory is the process heap's, the shell call is
// ShellExecuteA and the report of an uncaught failure is a task-modal
// message box without owner.
#include "platform/failure_report.h"
#include "platform/host.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

Win32Platform& Host() {
  static Win32Platform host;
  return host;
}

}  // namespace

Platform* Platform::Default() { return &Host(); }

Platform* StartHost() {
  Host().CreateApplicationWindow();
  return &Host();
}

std::string ModuleFileName() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return std::string(buffer, length);
}

std::uintptr_t ModuleBase() { return reinterpret_cast<std::uintptr_t>(GetModuleHandleA(nullptr)); }

void* Win32Platform::GetMemory(std::size_t size) {
  return size == 0 ? nullptr : HeapAlloc(GetProcessHeap(), 0, size);
}

void Win32Platform::FreeMemory(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

void Win32Platform::ShellExecute(const char* verb, const Path& file, const char* parameters,
                                 const Path& directory, int show_command) {
  ShellExecuteA(nullptr, verb, file.c_str(), parameters, directory.c_str(), show_command);
}

void Win32Platform::InitializeApplication() {}

void Win32Platform::SetTitle(const char* title) {
  if (window_ != nullptr) SetWindowTextA(window_, title);
}

void Win32Platform::RunMessageLoop() {}

void Win32Platform::ReportUncaught(const Exception& failure) {
  const std::string text = FormatFailureReport(failure.ClassName(), ModuleFileName(),
                                               RelativeAddress(failure), failure.Message());
  MessageBoxA(nullptr, text.c_str(), kFailureReportTitle, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

}  // namespace platform
