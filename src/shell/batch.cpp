#include "batch.h"

#include "converter.h"
#include "export/exportformat.h"
#include "export/libemf.h"
#include "export/patternsize.h"
#include "platform/fileio.h"
#include "platform/messagebox.h"
#include "platform/utf8path.h"

#include <charconv>
#include <filesystem>
#include <ostream>
#include <sstream>

namespace orvane {

namespace fs = std::filesystem;

namespace {

bool sameFile(const std::string &a, const std::string &b)
{
    std::error_code error;
    return fs::equivalent(pathFromUtf8(a), pathFromUtf8(b), error) && !error;
}

} // namespace

std::optional<std::string> checkBatchOptions(BatchOptions &options, const Converter &converter,
                                             const ExportFormat *&format)
{
    const FormatTable &formats = converter.formats();
    const bool formatGiven = !options.format.empty();
    if (options.thumbnail) {
        if (options.inputs.size() != 2 || options.info || options.width || !options.output.empty()
            || !options.outDir.empty() || formatGiven)
            return "--thumbnail takes SIZE, one input and one output, and no other option";
    }
    if (options.inputs.empty())
        return "no input file";
    for (const std::string &input : options.inputs) {
        if (input.empty())
            return "an input file name is empty";
    }
    if (options.info
        && (options.inputs.size() != 1 || options.width || !options.output.empty() || !options.outDir.empty()
            || formatGiven))
        return "--info takes one input and no other option";
    if (!options.output.empty() && !options.outDir.empty())
        return "-o and --out-dir cannot be used together";
    if (!options.output.empty() && options.inputs.size() != 1)
        return "-o takes exactly one input";
    if (options.width) {
        // The reply itself must be a width the rule accepts for some page: a
        // number that rounds to more than 0. Against a height of 0 nothing
        // else can refuse it; whether its height fits is up to each page.
        if (ApplyPatternSize(*options.width, 1, 0).outcome != PatternSizeResult::Accepted)
            return "--width must be a number of pixels above 0, not \"" + *options.width + "\"";
    }
    const ExportFormat *named = options.output.empty() || options.output == "-"
        ? nullptr
        : formats.forFileName(options.output);
    if (formatGiven) {
        format = formats.find(options.format);
        if (!format)
            return "--format must be one of " + formats.names() + ", not \"" + options.format + "\"";
        if (named && !format->hasExtension(utf8FromPath(pathFromUtf8(options.output).extension()).substr(1)))
            return "--format " + options.format + " does not match the output name " + options.output;
    } else {
        format = named ? named : &formats.defaultFormat();
    }
    return std::nullopt;
}

bool Batch::prepare(const BatchOptions &options)
{
    if (options.outDir.empty())
        return true;
    std::error_code error;
    fs::create_directories(pathFromUtf8(options.outDir), error);
    if (!error)
        return true;
    report(options.outDir, "the folder cannot be made: " + error.message());
    return false;
}

int Batch::run(const BatchOptions &options, const ExportFormat &format)
{
    if (!prepare(options))
        return 1;
    const bool progress = options.showProgress && options.inputs.size() > 1 && !options.quiet;
    const std::size_t total = options.thumbnail ? 1 : options.inputs.size();
    bool allConverted = true;
    for (std::size_t n = 0; n < total; ++n) {
        const std::string &input = options.inputs[n];
        if (progress)
            m_err << "[" << n + 1 << "/" << total << "] " << input << "\n";
        const bool converted = options.thumbnail ? writeThumbnail(options, input) : convertOne(options, format, input);
        allConverted = converted && allConverted;
    }
    return allConverted ? 0 : 1;
}

bool Batch::convertOne(const BatchOptions &options, const ExportFormat &format, const std::string &input)
{
    const ConversionResult loaded = m_converter.load(input);
    for (const std::string &text : loaded.messages)
        report(input, text);
    if (!loaded.ok())
        return false;
    if (options.info) {
        m_out << m_converter.infoJson(loaded) << "\n";
        return true;
    }
    const bool toStdout = options.output == "-";
    const std::string output = toStdout ? "standard output" : outputFor(options, format, input);
    const ConversionResult done = m_converter.encode(loaded, format, options.width.value_or(""), output);
    for (std::size_t i = loaded.messages.size(); i < done.messages.size(); ++i)
        report(input, done.messages[i]);
    if (!done.ok())
        return false;
    if (toStdout) {
        m_out.flush();
        std::string why;
        if (WriteStandardOutput(done.bytes, why))
            return true;
        report(input, "Error writing to standard output: " + why);
        return false;
    }
    if (!writeOutput(input, output, done.bytes, format))
        return false;
    // Standard output by another name holds the file and nothing else.
    if (!options.quiet && !namesStandardOutput(output))
        m_out << input << " -> " << output << " (" << done.pixelsX << " x " << done.pixelsY << " pixels)\n";
    return true;
}

bool Batch::writeOutput(const std::string &input, const std::string &output, const std::vector<unsigned char> &bytes,
                        const ExportFormat &format)
{
    const std::string failed = "Error creating " + std::string(format.kind) + " " + output + ".\r\n\r\n";
    if (sameFile(output, input)) {
        report(input, failed + "It is the input file itself.");
        return false;
    }
    // The same input named twice only writes the same bytes again.
    const auto before = fileIdentity(output);
    if (const auto earlier = before ? m_written.find(*before) : m_written.end();
        earlier != m_written.end() && !sameFile(earlier->second, input)) {
        report(input, failed + "This run already wrote it from " + earlier->second + "; it is not replaced.");
        return false;
    }
    std::string reason;
    if (!WriteFileReplacing(output, bytes, reason)) {
        report(input, LibEMF::CreateErrorText(&format, output, SceneError::None, reason));
        return false;
    }
    if (const auto written = fileIdentity(output, true))
        m_written.emplace(*written, input);
    return true;
}

bool Batch::writeThumbnail(const BatchOptions &options, const std::string &input)
{
    const ConversionResult loaded = m_converter.load(input);
    for (const std::string &text : loaded.messages)
        report(input, text);
    if (!loaded.ok())
        return false;
    const std::string &output = options.inputs[1];
    const SceneResult built = BuildScene(pageOf(m_converter.pattern()), loaded.pixelsX, loaded.pixelsY);
    std::string reason;
    if (built.error == SceneError::None) {
        const std::vector<unsigned char> png = m_thumbnail(built.scene, options.thumbnail);
        if (png.empty())
            reason = "The page has no size a preview can show.";
        else if (output == "-" ? WriteStandardOutput(png, reason) : WriteFileReplacing(output, png, reason))
            return true;
    }
    static constexpr ExportFormat Preview{"thumbnail", "png", "", "PNG file", nullptr};
    report(input, LibEMF::CreateErrorText(&Preview, output == "-" ? "standard output" : output, built.error, reason));
    return false;
}

// One line: the message's lines joined by spaces.
void Batch::report(const std::string &input, const std::string &text) const
{
    std::string line;
    std::istringstream lines(unixLineBreaks(text));
    for (std::string part; std::getline(lines, part);) {
        if (!part.empty())
            line += (line.empty() ? "" : " ") + part;
    }
    if (!m_program.empty())
        m_err << m_program << ": ";
    m_err << input << ": " << line << "\n";
}

std::string Batch::outputFor(const BatchOptions &options, const ExportFormat &format, const std::string &input) const
{
    if (!options.output.empty())
        return options.output;
    const std::string extension = '.' + format.extension();
    fs::path name = pathFromUtf8(input).filename();
    name.replace_extension(extension);
    if (!options.outDir.empty())
        return utf8FromPath(pathFromUtf8(options.outDir) / name);
    return utf8FromPath(pathFromUtf8(input).replace_extension(extension));
}

} // namespace orvane
