#pragma once

#include "os/fileio.h"

namespace orvane {

// The command line's own care for its saves, which the library leaves to the
// program: a save's hidden temporary file (on a file system without
// O_TMPFILE) is removed when SIGINT or SIGTERM ends the program before the
// rename. Nothing of it on Windows.
class SaveSignals : public TemporaryFileWatch {
public:
    // Installs the handlers, where the signals still have their default
    // action (an ignored signal cannot end us; a handler of the caller's own
    // is left alone). One per process.
    SaveSignals();
    ~SaveSignals() override;
    SaveSignals(const SaveSignals &) = delete;
    SaveSignals &operator=(const SaveSignals &) = delete;

    bool create(const std::string &name, const std::function<bool()> &make) override;
    void forget() override;

private:
    bool m_installed[2] = {false, false};
};

// A write beyond the file size limit (ulimit -f) then fails with EFBIG and is
// reported like any failed save, instead of killing the program. Does nothing
// on Windows.
void ignoreFileSizeSignal();

} // namespace orvane
