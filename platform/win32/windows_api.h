// The Win32 headers for this directory only, with the ANSI-or-wide macros
// that share names with Platform's operations taken back, so that the
// interface keeps its own names; the code calls the ...A functions directly.
#pragma once

#include <windows.h>
#include <shellapi.h>

#undef DeleteFile
#undef FindResource
#undef GetTempPath
#undef ShellExecute
