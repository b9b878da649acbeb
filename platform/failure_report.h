// The text of the report of an uncaught failure, shared by every host: the
// class name, the program file's name, the failure's address relative to the
// module's base and the message, in the class library's German wording.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Caption of the report.
constexpr const char kFailureReportTitle[] = "Anwendungsfehler";

// "Exception <class> im Modul <module> bei <address>.\n<message>" followed by
// "." unless the message is empty or already ends in one. module_path is the
// program's full path: its file-name part, cut to 63 characters, is shown;
// the address is shown as eight upper-case hex digits.
std::string FormatFailureReport(const char* class_name, const std::string& module_path,
                                std::uint32_t relative_address, const std::string& message);

}  // namespace platform
