#include "batch.h"

#include "api/converter.h"
#include "export/exportformat.h"
#include "export/pageencoding.h"
#include "export/patternsize.h"
#include "os/console.h"
#include "os/fileio.h"
#include "shell/messagebox.h"
#include "os/utf8path.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <ostream>
#include <sstream>

namespace orvane {

namespace fs = std::filesystem;

namespace {

// The full name of a file that is not there, to tell it by.
std::string absoluteName(const std::string &path)
{
    std::error_code error;
    const fs::path full = fs::weakly_canonical(fs::absolute(pathFromUtf8(path), error), error);
    return error ? std::string() : utf8FromPath(full);
}

// What the messages call an input.
std::string shownName(const std::string &input)
{
    return input == StandardInput ? "standard input" : input;
}

// A pipe, a named pipe or a device: read whole rather than as a file, which
// must be regular.
bool isStream(const std::string &path)
{
    std::error_code error;
    const fs::file_type type = fs::status(pathFromUtf8(path), error).type();
    return !error
        && (type == fs::file_type::fifo || type == fs::file_type::character || type == fs::file_type::block
            || type == fs::file_type::socket);
}

// A cause that is Windows' own, in its terms: a drive that is not there, or a
// device's name (con, nul, com1...) where a folder or file was meant. The
// library's error texts for these mislead ("File name too long").
std::string windowsCause(const std::string &path)
{
    if constexpr (fs::path::preferred_separator != '\\')
        return std::string();
    const fs::path name = pathFromUtf8(path);
    const std::string drive = utf8FromPath(name.root_name());
    std::error_code error;
    if (drive.size() == 2 && drive[1] == ':' && !fs::exists(pathFromUtf8(drive + "\\"), error))
        return "There is no drive " + drive + " on this computer.";
    for (const fs::path &part : name.relative_path()) {
        std::string device = utf8FromPath(part.stem());
        for (char &c : device)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const bool numbered = device.size() == 4 && (device.starts_with("COM") || device.starts_with("LPT"))
            && device[3] >= '1' && device[3] <= '9';
        if (numbered || device == "CON" || device == "PRN" || device == "AUX" || device == "NUL")
            return utf8FromPath(part) + " is the name of a device on Windows, not of a folder or file.";
    }
    return std::string();
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
    const bool fromStandardInput = options.inputs.front() == StandardInput;
    const std::size_t reads = options.thumbnail ? 1 : options.inputs.size();
    if (std::count(options.inputs.begin(), options.inputs.begin() + std::ptrdiff_t(reads), StandardInput)
        > (fromStandardInput && reads == 1 ? 1 : 0))
        return "- (standard input) must be the only input";
    if (fromStandardInput && !options.info && !options.thumbnail && options.output.empty())
        return "- (standard input) has no name to derive an output from: give -o FILE or -o -";
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
    m_inputs.clear();
    m_absentInputs.clear();
    const std::size_t reads = options.thumbnail ? 1 : options.inputs.size();
    for (std::size_t n = 0; n < reads; ++n) {
        const std::string &input = options.inputs[n];
        if (input == StandardInput)
            continue;
        if (const auto identity = fileIdentity(input, true))
            m_inputs.emplace(*identity, input);
        else if (const std::string name = absoluteName(input); !name.empty())
            m_absentInputs.emplace(name, input);
    }
    if (options.outDir.empty())
        return true;
    std::error_code error;
    fs::create_directories(pathFromUtf8(options.outDir), error);
    if (!error)
        return true;
    const std::string cause = windowsCause(options.outDir);
    report(options.outDir, "the folder cannot be made: " + (cause.empty() ? error.message() : cause));
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
    // The report is not the work: a reader that went away stops neither, and
    // only the exit status tells.
    const bool reported = static_cast<bool>(m_out.flush());
    if (!reported)
        m_err << (m_program.empty() ? "" : m_program + ": ") << "the report could not be written to standard output\n";
    return allConverted && reported && m_err.flush() ? 0 : 1;
}

ConversionResult Batch::load(const std::string &input, Converter::PictureStep picture)
{
    if (input != StandardInput && !isStream(input))
        return m_converter.load(input, picture);
    std::vector<unsigned char> bytes;
    std::string why;
    if (!readWholeStream(input == StandardInput ? std::string() : input, MaxPatternBytes, bytes, why)) {
        ConversionResult failed;
        failed.messages.push_back("Error reading " + shownName(input) + ": " + why);
        return failed;
    }
    return m_converter.load(bytes, picture);
}

std::optional<std::string> Batch::takesAnInputsPlace(const std::string &input, const std::string &output) const
{
    const auto identity = fileIdentity(output, true);
    if (identity && identity == fileIdentity(input, true))
        return "It is the input file itself.";
    const auto existing = identity ? m_inputs.find(*identity) : m_inputs.end();
    if (existing != m_inputs.end())
        return "It is the input " + existing->second + " of this run; it is not replaced.";
    const auto absent = identity ? m_absentInputs.end() : m_absentInputs.find(absoluteName(output));
    if (absent != m_absentInputs.end())
        return "It is the input " + absent->second + " of this run; it is not written.";
    return std::nullopt;
}

bool Batch::convertOne(const BatchOptions &options, const ExportFormat &format, const std::string &input)
{
    // --info writes nothing, not even the picture copy.
    const ConversionResult loaded =
        load(input, options.info ? Converter::PictureStep::Skip : Converter::PictureStep::Copy);
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
        m_out << shownName(input) << " -> " << output << " (" << done.pixelsX << " x " << done.pixelsY << " pixels)\n";
    return true;
}

bool Batch::writeOutput(const std::string &input, const std::string &output, const std::vector<unsigned char> &bytes,
                        const ExportFormat &format)
{
    const std::string failed = "Error creating " + std::string(format.kind) + " " + output + ".\r\n\r\n";
    if (const auto taken = takesAnInputsPlace(input, output)) {
        report(input, failed + *taken);
        return false;
    }
    // The same input named twice only writes the same bytes again.
    const auto before = fileIdentity(output);
    if (const auto earlier = before ? m_written.find(*before) : m_written.end();
        earlier != m_written.end() && fileIdentity(earlier->second) != fileIdentity(input)) {
        report(input, failed + "This run already wrote it from " + earlier->second + "; it is not replaced.");
        return false;
    }
    std::string reason;
    if (!WriteFileReplacing(output, bytes, reason, SaveOptions{m_saveWatch})) {
        if (const std::string cause = windowsCause(output); !cause.empty())
            reason = cause;
        report(input, saveErrorText(&format, output, SceneError::None, reason));
        return false;
    }
    if (const auto written = fileIdentity(output, true))
        m_written.emplace(*written, input);
    return true;
}

bool Batch::writeThumbnail(const BatchOptions &options, const std::string &input)
{
    const ConversionResult loaded = load(input, Converter::PictureStep::Skip);
    for (const std::string &text : loaded.messages)
        report(input, text);
    if (!loaded.ok())
        return false;
    const std::string &output = options.inputs[1];
    const SceneResult built = BuildScene(pageOf(m_converter.pattern()), loaded.pixelsX, loaded.pixelsY);
    const auto taken = output == StandardInput ? std::nullopt : takesAnInputsPlace(input, output);
    std::string reason = taken.value_or("");
    if (built.error == SceneError::None && !taken) {
        const std::vector<unsigned char> png = m_thumbnail(built.scene, options.thumbnail);
        if (png.empty())
            reason = "The page has no size a preview can show.";
        else if (output == "-" ? WriteStandardOutput(png, reason)
                               : WriteFileReplacing(output, png, reason, SaveOptions{m_saveWatch}))
            return true;
    }
    static constexpr ExportFormat Preview{"thumbnail", "png", "", "PNG file", nullptr};
    report(input, saveErrorText(&Preview, output == "-" ? "standard output" : output, built.error, reason));
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
    m_err << shownName(input) << ": " << line << "\n";
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
