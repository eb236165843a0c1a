#pragma once

#include "os/privatefile.h"

#include <string>
#include <vector>

namespace orvane {

struct Pattern;

// What copying a pattern's picture came to.
struct PictureCopy {
    enum class Outcome {
        NoPicture,   // the pattern has none
        Copied,      // path holds bytes bytes
        NotOpened,   // the folder or the name at path is not ours to use
        NotWritten,  // writing path failed for reason
        NotCopyable, // the picture's length cannot be a picture's
    };
    Outcome outcome = Outcome::NoPicture;
    std::string path;
    long long bytes = 0;
    std::string reason;

    bool copied() const { return outcome == Outcome::Copied; }
};

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
    bool store(const std::vector<unsigned char> &bytes, std::string &reason);

    // Copies pattern's picture, as an open does after a successful read:
    // open(), then store() when the length is a picture's; without a folder
    // the open fails.
    PictureCopy copy(const Pattern &pattern);

private:
    std::string m_folder;
};

} // namespace orvane
