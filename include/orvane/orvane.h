#pragma once

// Orvane's core as a library: a pattern file's bytes in, the bytes of a
// metafile (or another format) out, with the messages the window would show.
//
// convert() and info() may be called from any number of threads at once. They
// change nothing in the calling process: no signal handlers, umask, current
// folder or environment, and they keep no data between calls. The only file
// they write is the picture copy, and only when pictureFolder is set.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvane {

// The stored text of a key of the per-user "Pattern" defaults, which version 1
// patterns fall back on; nullopt when the key is not stored.
using StoredDefaults = std::function<std::optional<std::string>(const std::string &key)>;

struct ConvertOptions {
    // One of formatNames(): "wmf" (the default), "placeable", ...
    std::string format = "wmf";
    // The output's width in pixels as a user types it ("500"); the height
    // follows in proportion. Empty keeps the page's own size at 96 dpi.
    std::string width{};
    // Without them, every default is the built-in one.
    StoredDefaults storedDefaults{};
    // The file the defaults come from, named when one of them is bad.
    std::string storedDefaultsLocation{};
    // Where the picture a pattern carries is copied ("vrtmimage.tmp" in it);
    // empty leaves it uncopied.
    std::string pictureFolder{};
    // What messages about the output call it.
    std::string outputName = "standard output";
};

struct ConversionResult {
    enum Status {
        Converted,
        NotLoaded,    // not a pattern this program reads
        WidthRefused, // the width does not apply to this page
        NotEncoded,   // the format cannot hold this page at this size
        UnknownFormat,
    };
    Status status = NotLoaded;
    std::vector<unsigned char> bytes;
    // The output's size; the page's own when the width was refused.
    std::int32_t pixelsX = 0;
    std::int32_t pixelsY = 0;
    // Every message, in order, with "\r\n" line breaks; a converted pattern
    // may carry some too (a picture that could not be copied).
    std::vector<std::string> messages;

    bool ok() const { return status == Converted; }
};

ConversionResult convert(std::span<const unsigned char> pattern, const ConvertOptions &options = {});

struct InfoResult {
    bool ok = false;
    // What the file holds as one JSON object: version, settings, line and
    // shape counts, size in pixels, picture copy.
    std::string json;
    std::vector<std::string> messages;
};

// Only storedDefaults, storedDefaultsLocation and pictureFolder apply; the
// picture is copied only when pictureFolder is set.
InfoResult info(std::span<const unsigned char> pattern, const ConvertOptions &options = {});

// The formats convert() accepts, the default first.
std::vector<std::string> formatNames();

const char *version();

} // namespace orvane
