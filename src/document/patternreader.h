#pragma once

#include "pattern.h"
#include "os/fileio.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>

namespace orvane {

class SettingsStore;

// Why a pattern was not read, with what its message names. The reader shows
// nothing: whoever asked for the pattern tells the user.
struct ReadFailure {
    enum class Kind {
        FileNotFound,    // path: nothing is there (or the name is empty)
        FileNameTooLong, // path: a name the system cannot take
        FormatUnknown,   // no pattern this program reads
    };
    Kind kind = Kind::FormatUnknown;
    std::string path;
    // FormatUnknown: the stored default whose text does not convert; empty
    // when the file itself is at fault.
    std::string settingAtFault;
};

struct ReadResult {
    // After a failure, what was read before it.
    Pattern pattern;
    std::optional<ReadFailure> failure;

    bool ok() const { return !failure; }
};

// The most a pattern file can hold (two 32767-byte texts, the settings, 32767
// records of each kind and a picture of 32767 whole blocks); bytes beyond are
// never read.
inline constexpr std::size_t MaxPatternBytes = std::size_t(40) << 20;

// A pattern from its bytes: header, settings (version 1 files fall back on the
// stored defaults), every line and shape record, and the picture as stored.
// Writes nothing, shows nothing and keeps nothing between calls; storage
// lends its arrays' memory, so that a caller reading many files maps its
// pages once.
ReadResult readPattern(std::span<const unsigned char> bytes, SettingsStore &defaults, Pattern &&storage = Pattern());

// The same from a file: whether it is there, then its first MaxPatternBytes
// bytes (into buffer, which the caller may keep for the next file). A file
// that cannot be read (a folder, a device, a pipe) is no pattern.
ReadResult readPatternFile(const std::string &path, SettingsStore &defaults, FileBytes &buffer,
                           Pattern &&storage = Pattern());

} // namespace orvane
