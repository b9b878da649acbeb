// CreateFolderPath: the generic climb over IsFolder and CreateFolder. The
// separator (and whether a colon also ends a parent) comes from the host's
// path_separator.h.
#include "platform/folder_path.h"

#include "path_separator.h"

namespace platform {

namespace {

bool EndsParent(char c) { return c == kPathSeparator || (kColonEndsParent && c == ':'); }

}  // namespace

void CreateFolderPath(Platform& host, const Path& path) {
  Path folder = path;
  if (!folder.empty() && folder.back() == kPathSeparator) folder.pop_back();
  if (folder.size() < 3 || host.IsFolder(folder)) return;

  // The parent: everything up to and including the last separator.
  std::size_t end = folder.size();
  while (end > 0 && !EndsParent(folder[end - 1])) --end;
  // A path ending in a colon would be its own parent: no climb then. (One
  // ending in a separator is shortened by the call itself.)
  if (end < folder.size() || folder.back() == kPathSeparator) {
    CreateFolderPath(host, folder.substr(0, end));
  }

  host.CreateFolder(folder);  // a failure shows when a file inside is created
}

}  // namespace platform
