#pragma once

// Descriptor helpers shared by the POSIX files of the platform layer.

#include <cstddef>
#include <fcntl.h>
#include <string>
#include <sys/types.h>

// Binary mode is the only mode here; the flag keeps opens alike on every system.
#ifndef O_BINARY
#define O_BINARY 0
#endif

namespace orvane {

// Writes all of data, retrying short writes and interrupted calls.
bool writeAll(int fd, const unsigned char *data, std::size_t size);

// Opens path without blocking on a named pipe and returns the descriptor in
// blocking mode, or -1. With regularOnly, anything but a regular file is
// refused (and closed) with errno EISDIR for a folder, else ENODEV.
int openNonBlocking(const std::string &path, int flags, bool regularOnly, int mode = 0);

// The mode a newly created file gets: 0666 less the umask, read without
// changing it; 0644 when the umask would deny the owner reading or writing.
mode_t newFileMode();

} // namespace orvane
