#pragma once

#include "api/converter.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

class Converter;
struct ConversionResult;
class TemporaryFileWatch;
struct ExportFormat;
struct Scene;

// What orvane-convert was asked to do.
struct BatchOptions {
    // "-" is standard input, the only input then.
    std::vector<std::string> inputs;
    // Empty when not given.
    std::string format;
    std::optional<std::string> width;
    std::string output;
    std::string outDir;
    bool info = false;
    bool quiet = false;
    // 0 when not asked for; the thumbnail's output is inputs[1].
    int thumbnail = 0;
    // Standard error is a terminal: a multi-file run shows where it is.
    bool showProgress = false;
};

// Checks the options against each other and settles the format: from
// --format, or else from -o's extension, or else the default. A usage error
// returns its one-line reason.
std::optional<std::string> checkBatchOptions(BatchOptions &options, const Converter &converter,
                                             const ExportFormat *&format);

// The name of standard input as an input.
constexpr const char *StandardInput = "-";

// Converts every input in turn: a failed input is reported on err (one line
// naming it) and the rest go on. No output takes the place of an input of the
// run. Returns the exit status: 0 all converted and reported, 1 any failed or
// a report line could not be written (every input is converted all the same).
class Batch {
public:
    using Thumbnail = std::vector<unsigned char> (*)(const Scene &scene, int size);

    Batch(Converter &converter, std::ostream &out, std::ostream &err) : m_converter(converter), m_out(out), m_err(err)
    {
    }
    void setThumbnail(Thumbnail thumbnail) { m_thumbnail = thumbnail; }
    // Told of each save's temporary file (the command line's signal care).
    void setSaveWatch(TemporaryFileWatch *watch) { m_saveWatch = watch; }
    // The name that starts each line on err; none when empty.
    void setProgramName(std::string name) { m_program = std::move(name); }

    int run(const BatchOptions &options, const ExportFormat &format);

    // The steps of run() for a caller that walks the inputs itself, as the
    // window does to show progress and stop between files: make the output
    // folder (false when it cannot be made), then convert one input after
    // another. Files this Batch wrote are never replaced by a later input.
    bool prepare(const BatchOptions &options);
    bool convertOne(const BatchOptions &options, const ExportFormat &format, const std::string &input);

private:
    ConversionResult load(const std::string &input, Converter::PictureStep picture);
    // Why output may not be written for input: it is an input of this run.
    std::optional<std::string> takesAnInputsPlace(const std::string &input, const std::string &output) const;
    bool writeThumbnail(const BatchOptions &options, const std::string &input);
    bool writeOutput(const std::string &input, const std::string &output, const std::vector<unsigned char> &bytes,
                     const ExportFormat &format);
    void report(const std::string &input, const std::string &text) const;
    std::string outputFor(const BatchOptions &options, const ExportFormat &format, const std::string &input) const;

    Converter &m_converter;
    std::ostream &m_out;
    std::ostream &m_err;
    Thumbnail m_thumbnail = nullptr;
    TemporaryFileWatch *m_saveWatch = nullptr;
    std::string m_program = "orvane-convert";
    // The regular files this run wrote, by identity, so that no spelling of a
    // path or link lets a later input replace one.
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> m_written;
    // The run's inputs by identity, and those not there by their full name:
    // no output may replace or become one.
    std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> m_inputs;
    std::map<std::string, std::string> m_absentInputs;
};

} // namespace orvane
