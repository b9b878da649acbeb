// Storage of the two paths of the decompression step, until the file
// decompression driver takes them over.
#include "launcher/decompression_slot.h"

namespace launcher {

platform::Path InFileName;
platform::Path OutFileName;

}  // namespace launcher
