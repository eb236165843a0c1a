#pragma once

#include "populatedallocator.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <functional>
#include <string>
#include <vector>

namespace orvane {

// Paths are UTF-8; the Windows build widens them only at the system calls.

// Reads at most limit bytes of the regular file path into bytes (the first
// limit bytes of a longer file). Folders, devices and named pipes are
// refused, a pipe without ever blocking on it; error tells why.
// The storage comes pre-populated where the system offers it: a large
// pattern then costs one trip into the kernel rather than a fault per page.
using FileBytes = std::vector<unsigned char, PopulatedAllocator<unsigned char>>;
bool ReadFileBytes(const std::string &path, std::size_t limit, FileBytes &bytes, std::string &error);

enum class PathStatus { Exists, Missing, NameTooLong };
// Whether something is at path; a name the system cannot take is told apart
// from one that is merely not there.
PathStatus pathStatus(const std::string &path);

// What tells two names of one file apart from two files (device and file
// number); nullopt when there is none, or with regularOnly for anything but a
// regular file.
std::optional<std::pair<std::uint64_t, std::uint64_t>> fileIdentity(const std::string &path, bool regularOnly = false);

// Whether path names what this program's standard output is (/dev/stdout,
// or the file or pipe it was sent to).
bool namesStandardOutput(const std::string &path);

// All of bytes on standard output, in binary; error tells why not.
bool WriteStandardOutput(const std::vector<unsigned char> &bytes, std::string &error);

// Calls attempt until it returns true, sleeping briefly between tries, for at
// most milliseconds; the result of the last try.
bool retryFor(int milliseconds, const std::function<bool()> &attempt);

// Told the name a save's temporary file has from its creation to its rename,
// so that a program ended by a signal in between can remove it. The library
// keeps no such watch of its own and never touches signal handlers: a
// program that wants one passes it (the command line does, from app/).
class TemporaryFileWatch {
public:
    virtual ~TemporaryFileWatch() = default;
    // Runs make, which creates the file called name, and knows the name from
    // then on; make's result.
    virtual bool create(const std::string &name, const std::function<bool()> &make) = 0;
    // The file has its final name or is gone.
    virtual void forget() = 0;
};

struct SaveOptions {
    TemporaryFileWatch *watch = nullptr;
    // With false, a save behaves as on a file system without O_TMPFILE (for
    // tests). Windows has none.
    bool unnamedTemporaryFiles = true;
};

// Writes bytes to path without ever leaving a partial file. A symbolic link is
// followed and the file it names (created when missing) is replaced in its
// own folder: the bytes go into an unnamed temporary file there (O_TMPFILE,
// or a hidden named one, shown to options.watch, where the file system lacks
// it) that gets a name only when complete, just before the rename. The
// replaced file's mode, owner and group are kept where the user may set them;
// a new file gets 0666 less the umask, but always owner read and write. A
// device, named pipe or socket is written straight through; a pipe without
// a reader is waited for a few seconds. On failure the target is untouched
// and no temporary file is left; error tells why. On Windows a named
// temporary file in the target's folder replaces the target. Safe to call
// from several threads at once; changes no process-wide state.
bool WriteFileReplacing(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error,
                        const SaveOptions &options = {});

} // namespace orvane
