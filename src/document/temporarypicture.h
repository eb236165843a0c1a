#pragma once

#include "platform/privatefile.h"

#include <string>
#include <vector>

namespace orvane {

// The temporary copy of a pattern's embedded picture. It lives in a per-user
// folder (never a shared one), is never written through a symbolic link, and
// holds exactly the bytes of one picture, whole.
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

    // Makes the folder ready (owner only) and checks that the copy's name is
    // free for it: refuses a folder or name that is a link or not of the
    // expected kind.
    bool open();
    // Writes the whole copy beside it and gives it the copy's name by
    // rename, as saves do: nothing waits for another copy of the program,
    // and the last one to finish wins, whole.
    bool store(const std::vector<unsigned char> &bytes);

private:
    std::string m_folder;
};

} // namespace orvane
