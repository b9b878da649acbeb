// Builds the report text of an uncaught failure. Pure string work: the host
// supplies the program path and the address relative to its module base.
#include "platform/failure_report.h"

#include "path_separator.h"

namespace platform {

namespace {

constexpr std::size_t kModuleNameLimit = 63;

std::string Hex8(std::uint32_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    value >>= 4;
  }
  return text;
}

}  // namespace

std::string FormatFailureReport(const char* class_name, const std::string& module_path,
                                std::uint32_t relative_address, const std::string& message) {
  const std::size_t slash = module_path.rfind(kPathSeparator);
  std::string module = slash == std::string::npos ? module_path : module_path.substr(slash + 1);
  if (module.size() > kModuleNameLimit) module.resize(kModuleNameLimit);

  std::string text = "Exception ";
  text += class_name;
  text += " im Modul ";
  text += module;
  text += " bei ";
  text += Hex8(relative_address);
  text += ".\n";
  text += message;
  if (!message.empty() && message.back() != '.') text += '.';
  return text;
}

}  // namespace platform
