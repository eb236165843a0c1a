#pragma once

#include <string>

namespace orvane {

// A plug-in library opened for the rest of the run. Only a regular file is
// opened, so that a named pipe in its place cannot hang the program.
// Returns the named function, or null with error telling why.
void *loadModuleFunction(const std::string &path, const char *function, std::string &error);

// Whether this build loads modules at all (not on Windows, where the picture
// formats have no module).
bool canLoadModules();

// The folder of the running program, or empty when it cannot be told.
std::string programFolder();

} // namespace orvane
