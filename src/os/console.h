#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace orvane {

// What a command-line program meets of its system.

// The program's arguments in UTF-8: argv as given on POSIX; on Windows the
// wide command line, so that names outside the code page arrive whole.
std::vector<std::string> commandLineArguments(int argc, char **argv);

// Text for standard output and standard error, given in UTF-8. On Windows a
// console gets it through WriteConsoleW, so that it shows right in any code
// page; redirected, it gets the bytes unchanged, with no '\r' added.
std::ostream &standardOutputText();
std::ostream &standardErrorText();

// Whether standard error is a terminal (a console on Windows).
bool standardErrorIsTerminal();

// All of a stream, at most limit bytes: standard input when path is empty,
// or else the pipe or device at path, waiting for its writer as any reader
// would. A pipe is read to its end; error tells why not.
bool readWholeStream(const std::string &path, std::size_t limit, std::vector<unsigned char> &bytes, std::string &error);

} // namespace orvane
