// The launcher's constants and its payload manifest: 33 rows, each naming a
// resource of type "FILE" in the executable and the file it becomes in the
// staging folder, in the order in which they are written.
#pragma once

#include <cstddef>

namespace launcher {

constexpr const char kApplicationTitle[] = "Setup_Velmora9_Win64";
constexpr const char kStagingFolderPrefix[] = "Inst-";
constexpr const char kPayloadResourceType[] = "FILE";
constexpr const char kSetupContainerName[] = "Setup.ex_";
constexpr const char kSetupProgramName[] = "Setup.exe";
constexpr const char kShellVerb[] = "open";
constexpr const char kShellParameters[] = "";  // empty, not null
constexpr int kShowCommand = 5;                 // SW_SHOW

struct PayloadRow {
  const char* ResourceName;
  const char* FileName;
};

constexpr std::size_t kPayloadRowCount = 33;
extern const PayloadRow PayloadManifest[kPayloadRowCount];

}  // namespace launcher
