// The place of the launcher's step 8, the decompression of "Setup.ex_" into
// "Setup.exe". The file decompression driver owns InFileName, OutFileName
// and DecompressFile; until it is wired in, the two paths that step 7
// assigns are kept here and step 8 does nothing. Replace this header (and
// decompression_slot.cc) with the driver's when it arrives.
#pragma once

#include "platform/platform.h"

namespace launcher {

extern platform::Path InFileName;
extern platform::Path OutFileName;

}  // namespace launcher
