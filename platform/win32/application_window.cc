// The application object's window: a shown top-level window of zero size,
// so that its caption stands on the taskbar. It never gets a message
// dispatched; its class procedure is the default one.
#include <string>

#include "platform/host.h"
#include "platform/win32/win32_platform.h"

namespace platform {

namespace {

constexpr char kWindowClass[] = "TApplication";

// The program file's name up to its first period, lower case after the
// first letter ("Setup_velmora9_win64").
std::string InitialCaption() {
  std::string name = ModuleFileName();
  const std::size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find('.');
  if (dot != std::string::npos) name.erase(dot);
  for (std::size_t i = 1; i < name.size(); ++i) {
    if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
  }
  return name;
}

}  // namespace

void Win32Platform::CreateApplicationWindow() {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA window_class = {};
  window_class.lpfnWndProc = DefWindowProcA;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
  window_class.lpszClassName = kWindowClass;
  RegisterClassA(&window_class);

  const std::string caption = InitialCaption();
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  window_ = CreateWindowExA(0, kWindowClass, caption.c_str(),
                            WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            x, y, 0, 0, nullptr, nullptr, instance, nullptr);
  if (window_ != nullptr) ShowWindow(window_, SW_SHOW);
}

}  // namespace platform
