// Creation of a folder with every missing parent, written once for every
// host on top of Platform::IsFolder and Platform::CreateFolder (so a test
// double sees, and can count, each creation request).
#pragma once

#include "platform/platform.h"

namespace platform {

// Creates the folder and its missing parents, nearest the root first; an
// existing folder is never touched and nothing is reported. One trailing
// separator is ignored. The climb stops at a path shorter than 3 bytes and
// at a path that is its own parent (one ending in a colon on Windows); an
// empty path or one without any separator ends without a fault.
void CreateFolderPath(Platform& host, const Path& path);

}  // namespace platform
