#pragma once

#include "platform/privatefile.h"

#include <cstddef>
#include <string>

namespace orvane {

// The temporary copy of a pattern's embedded picture. It lives in a per-user
// folder (never a shared one), is never opened through a symbolic link, and
// holds exactly the latest picture's bytes.
class TemporaryPicture {
public:
    static constexpr const char *FileName = "vrtmimage.tmp";

    // "Veltrum Orvane" in the user's cache folder: $XDG_CACHE_HOME, or
    // ~/.cache with the home folder from HOME or else the password database;
    // %LOCALAPPDATA% on Windows.
    static std::string defaultFolder();

    explicit TemporaryPicture(std::string folder = defaultFolder()) : m_folder(std::move(folder)) {}
    TemporaryPicture(const TemporaryPicture &) = delete;
    TemporaryPicture &operator=(const TemporaryPicture &) = delete;

    const std::string &folder() const { return m_folder; }
    std::string path() const;

    // Creates the folder (owner only) when missing and opens the file for
    // writing from its start, creating it when missing. Refuses a folder or
    // file that is a symbolic link or not of the expected kind, and a file
    // that another copy of the program holds.
    bool open();
    // Appends the next bytes of the picture.
    bool write(const unsigned char *data, std::size_t size) { return m_file.write(data, size); }
    // Cuts the file to what has been written and closes it.
    bool finish(long long length) { return m_file.truncateAndClose(length); }
    void close() { m_file.close(); }

private:
    std::string m_folder;
    PrivateFile m_file;
};

} // namespace orvane
