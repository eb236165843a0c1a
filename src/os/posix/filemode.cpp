#include "posixfile.h"

#include <charconv>
#include <fstream>
#include <optional>
#include <sys/stat.h>

namespace orvane {

namespace {

// Linux shows the umask in /proc (since 4.7). Reading it there leaves it
// alone; setting it to read it back would, for that moment, give files that
// other threads create the wrong mode, so it is never set.
std::optional<mode_t> umaskFromProc()
{
    std::ifstream status("/proc/self/status", std::ios::in | std::ios::binary);
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) != 0)
            continue;
        const auto digits = line.find_first_of("01234567", 6);
        unsigned mask = 0;
        if (digits == std::string::npos
            || std::from_chars(line.data() + digits, line.data() + line.size(), mask, 8).ec != std::errc())
            return std::nullopt;
        return static_cast<mode_t>(mask & 0777);
    }
    return std::nullopt;
}

} // namespace

mode_t newFileMode()
{
    // Without /proc, the usual umask.
    const mode_t mask = umaskFromProc().value_or(022);
    const mode_t mode = 0666 & ~mask;
    // A file its owner cannot read or write back is no use as a save; some
    // runtimes (emscripten) start with umask 0777.
    if ((mode & 0600) != 0600)
        return 0666 & ~022;
    return mode;
}

} // namespace orvane
