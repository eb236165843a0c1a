#pragma once

#include <string>

namespace orvane {

// The folder for the user's cached files: $XDG_CACHE_HOME, else ~/.cache with
// the home folder from HOME or else the password database (POSIX);
// %LOCALAPPDATA% (Windows). Empty when there is none.
std::string userCacheFolder();

// Whether path is absolute: from '/' on POSIX, from a drive letter and a
// slash or a UNC server name on Windows.
bool isAbsolutePath(const std::string &path);

// folder and name joined with the system's separator.
std::string joinPath(const std::string &folder, const std::string &name);

// A folder of the user's own for copies no other user may read or swap:
// created (owner only, with its parent) when missing; false when it is a
// link, not a folder, or somebody else's.
bool preparePrivateFolder(const std::string &folder);

// Whether a copy may take the name path: nothing is there, or a regular file
// that is no link.
bool isReplaceableFile(const std::string &path);

} // namespace orvane
