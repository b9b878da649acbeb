// The text of the report of an uncaught failure, and the address that it
// shows being relative to the program image.
#include "platform/failure_report.h"

#include <string>

#include "gtest/gtest.h"
#include "path_separator.h"
#include "platform/host.h"

namespace {

struct Case {
  const char* class_name;
  std::string module_path;
  std::uint32_t address;
  const char* message;
  std::string expected;
};

std::string InFolder(const std::string& name) {
  return std::string("folder") + platform::kPathSeparator + "sub" + platform::kPathSeparator + name;
}

TEST(FailureReportTest, FormatsClassModuleAddressAndMessage) {
  const std::string long_name(70, 'n');
  const Case cases[] = {
      {"EResNotFound", InFolder("Setup_Velmora9_Win64.exe"), 0x1A2B, "Ressource Test17 nicht gefunden",
       "Exception EResNotFound im Modul Setup_Velmora9_Win64.exe bei 00001A2B.\n"
       "Ressource Test17 nicht gefunden."},
      // A message ending in a period gets no second one.
      {"EFCreateError", "Setup", 0xDEADBEEF, "Kann Datei x nicht erstellen.",
       "Exception EFCreateError im Modul Setup bei DEADBEEF.\nKann Datei x nicht erstellen."},
      // The trailing blank stays, the period follows it.
      {"EWriteError", "Setup", 0, "Stream-Write-Fehler ",
       "Exception EWriteError im Modul Setup bei 00000000.\nStream-Write-Fehler ."},
      {"Exception", "Setup", 0xFFFFFFFF, "", "Exception Exception im Modul Setup bei FFFFFFFF.\n"},
      // At most 63 characters of the module's name.
      {"EOutOfMemory", InFolder(long_name), 0x10, "Speicher reicht nicht aus",
       "Exception EOutOfMemory im Modul " + std::string(63, 'n') +
           " bei 00000010.\nSpeicher reicht nicht aus."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::FormatFailureReport(c.class_name, c.module_path, c.address, c.message),
              c.expected);
  }
}

TEST(FailureReportTest, AddressIsRelativeToTheProgramImage) {
  const platform::EWriteError failure("Stream-Write-Fehler ");
  const std::uint32_t relative = platform::RelativeAddress(failure);
  // Inside the image: well below its base, and not zero.
  EXPECT_GT(relative, 0u);
  EXPECT_LT(relative, 0x04000000u);
  EXPECT_STREQ(failure.ClassName(), "EWriteError");
}

TEST(FailureReportTest, ModuleFileNameIsThisProgram) {
  const std::string name = platform::ModuleFileName();
  EXPECT_NE(name.find("platform_test"), std::string::npos) << name;
}

}  // namespace
