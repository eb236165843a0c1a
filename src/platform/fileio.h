#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvane {

// Writes all of data, retrying short writes and interrupted calls.
bool writeAll(int fd, const unsigned char *data, std::size_t size);

// Opens path without blocking on a named pipe and returns the descriptor in
// blocking mode, or -1. With regularOnly, anything but a regular file is
// refused (and closed).
int openNonBlocking(const std::string &path, int flags, bool regularOnly, int mode = 0);

// Writes bytes to path without ever leaving a partial file: a temporary file
// beside the target is written, flushed and renamed over it. On failure the
// target is untouched and the temporary file removed; error tells why.
bool WriteFileReplacing(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error);

} // namespace orvane
