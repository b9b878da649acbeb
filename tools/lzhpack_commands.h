// The two commands of the lzhpack tool. Each throws ToolError (or a failure
// of the codec) with a one-line message and leaves no output behind then.
#pragma once

#include <string>

namespace lzhpack {

void Compress(const std::string& in, const std::string& out, bool best);

// Expands a container. The one place that knows how a container file is read
// and its output written.
void Expand(const std::string& in, const std::string& out);

}  // namespace lzhpack
