// The launcher's own path and file operations: the temporary directory, the
// trailing-separator rule, and the writing of one payload resource to a file.
// The separator is the host's (backslash on Windows, '/' on POSIX).
#pragma once

#include "platform/platform.h"

namespace launcher {

// The temporary directory exactly as the system reports it (with its
// trailing separator). A path longer than the first 255-byte request is
// asked for again with the size the system needs; when the system reports
// no path at all, a failure is raised and nothing has been written.
platform::Path GetTempFolder(platform::Platform& host);

// The path with one separator added unless it is empty or its last byte
// already is the separator.
platform::Path IncludeTrailingSeparator(const platform::Path& path);

// Writes the resource's bytes, in one write straight from the resource, to
// a file created afresh at path. Raises EResNotFound (no file touched),
// EFCreateError (the existing file left as it was) or EWriteError (the
// partial file stays); the file is closed on every path.
void ExtractResourceToFile(platform::Platform& host, const char* type, const char* name,
                           const platform::Path& path);

}  // namespace launcher
