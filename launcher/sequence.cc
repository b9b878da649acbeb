// RunLauncher: the launcher's one pass from the application's initialisation
// to its message loop. The process end (exit code 0, or 1 after the report)
// is the platform's, around this function.
#include "launcher/sequence.h"

#include "launcher/manifest.h"
#include "launcher/staging.h"
#include "lzh/file_driver.h"
#include "platform/folder_path.h"

namespace launcher {

platform::Path StagingFolder;
platform::Path SetupProgramPath;

void RunLauncher(platform::Platform& host) {
  host.InitializeApplication();
  host.SetTitle(kApplicationTitle);

  // The system's path already ends in a separator: none is inserted.
  StagingFolder = GetTempFolder(host) + kStagingFolderPrefix + kApplicationTitle;
  platform::CreateFolderPath(host, StagingFolder);

  platform::Path working_path;
  for (const PayloadRow& row : PayloadManifest) {
    working_path = IncludeTrailingSeparator(StagingFolder) + row.FileName;
    ExtractResourceToFile(host, kPayloadResourceType, row.ResourceName, working_path);
  }

  lzh::InFileName = IncludeTrailingSeparator(StagingFolder) + kSetupContainerName;
  lzh::OutFileName = IncludeTrailingSeparator(StagingFolder) + kSetupProgramName;

  // Whatever the expansion reports, the launcher goes on: the shell is asked
  // to open whatever "Setup.exe" is there.
  lzh::SetDriverPlatform(&host);
  lzh::DecompressFile();

  SetupProgramPath = IncludeTrailingSeparator(StagingFolder) + kSetupProgramName;
  host.ShellExecute(kShellVerb, SetupProgramPath, kShellParameters, StagingFolder, kShowCommand);
  host.RunMessageLoop();
}

}  // namespace launcher
