// orvane-convert: the headless converter. Each input is opened, sized and
// saved through the same conversion steps as the window, with the dialogs
// answered from the command line.

#include "platform/windows1252.h"
#include "export/libemf.h"
#include "export/patternsize.h"
#include "export/qt/picturemodule.h"
#include "platform/fileio.h"
#include "shell/mainform.h"
#include "platform/messagebox.h"
#include "platform/qt/qsettingsstore.h"

#include <QCommandLineParser>
#include <QStringList>

#include <charconv>
#include <dlfcn.h>
#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

using namespace orvane;

constexpr const char *Usage =
    "usage: orvane-convert [--width PIXELS] [-o OUTPUT.wmf | --out-dir DIR] INPUT.pat...\n"
    "       orvane-convert --info INPUT.pat\n"
    "       orvane-convert --thumbnail SIZE INPUT.pat OUTPUT.png\n"
    "\n"
    "Converts pattern files to Windows Metafiles or, with --format, to another\n"
    "format. The output is the page's size in 96-dpi pixels, or PIXELS wide with\n"
    "the height in proportion. Without -o or --out-dir each output is written\n"
    "beside its input with the format's extension; an existing file is replaced.\n"
    "\n"
    "  --format FORMAT  wmf (default, plain metafile), placeable (metafile with\n"
    "                   the page's frame, for office suites and vector editors),\n"
    "                   svg, pdf or png\n"
    "  --width PIXELS   width of the output in pixels\n"
    "  -o FILE          output file (one input only); - for standard output\n"
    "  --out-dir DIR    write DIR/<input name>.<extension>\n"
    "  -q, --quiet      print nothing for converted files\n"
    "  --info           print what the file holds as JSON; writes nothing\n"
    "  --thumbnail SIZE write a PNG preview whose longer side is at most SIZE\n"
    "                   pixels (for file managers)\n"
    "  --version        show the version\n"
    "  --help           show this text\n"
    "\n"
    "Exit status: 0 all converted, 1 an input failed, 2 usage error.\n";

// Message boxes become lines on standard error, each naming the input it is
// about.
class StderrMessages : public MessageBox {
public:
    int showMessage(const std::string &text, int, const std::string &) override
    {
        report(text);
        return 1;
    }
    void beep() override {}

    void setInput(const std::string &input) { m_input = input; }

    // One line: the message's lines joined by spaces.
    void report(const std::string &text) const
    {
        std::string line;
        std::istringstream lines(unixLineBreaks(text));
        for (std::string part; std::getline(lines, part);) {
            if (!part.empty())
                line += (line.empty() ? "" : " ") + part;
        }
        std::cerr << "orvane-convert: " << m_input << ": " << line << "\n";
    }

private:
    std::string m_input;
};

std::vector<unsigned char> (*thumbnailPng)(const Scene &scene, int size) = nullptr;

// The picture formats live in a module beside the program (build tree) or in
// the library folder (installed), loaded only when asked for.
void loadPictureFormats()
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path folder = fs::read_symlink("/proc/self/exe", error).parent_path();
    for (const fs::path &dir : {folder, folder / ORVANE_PICTURES_DIR}) {
        void *module = ::dlopen((dir / "orvane-pictures.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module)
            continue;
        if (auto *entry = reinterpret_cast<PictureModuleFunction *>(::dlsym(module, PictureModuleEntry))) {
            registerPictureFormats(*entry());
            thumbnailPng = entry()->thumbnail;
            return;
        }
        ::dlclose(module);
    }
}

struct Options {
    std::string width;
    bool hasWidth = false;
    std::string output;
    std::string outDir;
    bool info = false;
    bool quiet = false;
    int thumbnail = 0;
    const ExportFormat *format = nullptr;
    std::vector<std::string> inputs;
};

int usageError(const std::string &why)
{
    std::cerr << "orvane-convert: " << why << "\nTry 'orvane-convert --help'.\n";
    return 2;
}

std::string jsonString(const std::string &utf8)
{
    std::string out = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// Shortest text that reads back to the same 32-bit float; JSON has no NaN or
// infinity, so those print as null.
std::string jsonFloat(float value)
{
    if (!std::isfinite(value))
        return "null";
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string jsonBool(std::int16_t value)
{
    return value != 0 ? "true" : "false";
}

int countVisible(const auto &array)
{
    int n = 0;
    for (const auto &element : array)
        n += element.Visible ? 1 : 0;
    return n;
}

std::string infoJson(MainForm &form)
{
    const PatternHeader &h = form.libFile().header();
    const PatternSettings &s = form.dimension().settings();
    std::ostringstream out;
    out << "{\"version\":[" << h.VersionMajor << "," << h.VersionMinor << "," << h.VersionSub << "],";
    out << "\"settings\":{"
        << "\"MarginTop\":" << jsonFloat(s.MarginTop) << ",\"MarginBottom\":" << jsonFloat(s.MarginBottom)
        << ",\"MarginLeft\":" << jsonFloat(s.MarginLeft) << ",\"MarginRight\":" << jsonFloat(s.MarginRight)
        << ",\"DefWidth\":" << jsonFloat(s.DefWidth) << ",\"DefHeight\":" << jsonFloat(s.DefHeight)
        << ",\"PatternWidth\":" << jsonFloat(s.PatternWidth) << ",\"PatternHeight\":" << jsonFloat(s.PatternHeight)
        << ",\"PenSizeValue\":" << jsonFloat(s.PenSizeValue)
        << ",\"PenSizeText\":" << jsonString(windows1252ToUtf8(s.PenSizeText)) << ",\"PenColor\":" << s.PenColor
        << ",\"BandW\":" << jsonBool(s.BandW) << ",\"BitmapPenSize\":" << jsonFloat(s.BitmapPenSize)
        << ",\"BitmapSizeWidth\":" << jsonFloat(s.BitmapSizeWidth)
        << ",\"BitmapSizeHeight\":" << jsonFloat(s.BitmapSizeHeight) << ",\"MetricPen\":" << jsonBool(s.MetricPen)
        << ",\"MetricPage\":" << jsonBool(s.MetricPage) << "},";
    const Drawing &drawing = form.workForm().drawing();
    out << "\"lines\":" << countVisible(drawing.OutLine) << ",\"shapes\":" << countVisible(drawing.OutShape) << ",";
    out << "\"pixels\":[" << form.PixelsX() << "," << form.PixelsY() << "],";
    const std::string &picture = form.libFile().temporaryPicturePath();
    if (picture.empty())
        out << "\"picture\":null";
    else
        out << "\"picture\":{\"path\":" << jsonString(picture) << ",\"bytes\":" << form.libFile().pictureBytes() << "}";
    out << "}";
    return out.str();
}

std::string outputFor(const Options &options, const std::string &input)
{
    namespace fs = std::filesystem;
    if (!options.output.empty())
        return options.output;
    const std::string extension = "." + options.format->extension;
    fs::path name = fs::path(input).filename();
    name.replace_extension(extension);
    if (!options.outDir.empty())
        return (fs::path(options.outDir) / name).string();
    return fs::path(input).replace_extension(extension).string();
}

bool sameFile(const std::string &a, const std::string &b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

// The regular files this run wrote, by device and inode, so that no spelling
// of a path or link lets a later input replace one.
class WrittenFiles {
public:
    // The input written to path, or nullptr.
    const std::string *writtenFrom(const std::string &path) const
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) != 0)
            return nullptr;
        const auto it = m_files.find({st.st_dev, st.st_ino});
        return it == m_files.end() ? nullptr : &it->second;
    }
    void add(const std::string &path, const std::string &input)
    {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode))
            m_files.insert({{st.st_dev, st.st_ino}, input});
    }

private:
    std::map<std::pair<dev_t, ino_t>, std::string> m_files;
};

// "-o -": the file's bytes on standard output, nothing else there.
bool writeToStdout(MainForm &form, const Options &options, StderrMessages &messages)
{
    const LibEMF::BuildResult built =
        LibEMF::BuildMetafile(form.workForm().drawing(), form.exportOptions("standard output", options.format));
    if (built.error != SceneError::None || !built.reason.empty()) {
        messages.report(LibEMF::CreateErrorText("standard output", built.error, built.reason));
        return false;
    }
    std::cout.write(reinterpret_cast<const char *>(built.bytes.data()), std::streamsize(built.bytes.size()));
    std::cout.flush();
    if (!std::cout) {
        messages.report("Error writing to standard output.");
        return false;
    }
    return true;
}

bool writeThumbnail(MainForm &form, const Options &options, StderrMessages &messages)
{
    const std::string &output = options.inputs[1];
    const ExportOptions o = form.exportOptions(output);
    const SceneResult built =
        BuildScene(form.workForm().drawing(), o.pageWidthTwips, o.pageHeightTwips, o.pixelsX, o.pixelsY);
    std::string reason;
    if (built.error == SceneError::None) {
        const std::vector<unsigned char> png = thumbnailPng(built.scene, options.thumbnail);
        if (png.empty())
            reason = "The page has no size a preview can show.";
        else if (WriteFileReplacing(output, png, reason))
            return true;
    }
    messages.report(LibEMF::CreateErrorText(output, built.error, reason));
    return false;
}

int run(const Options &options)
{
    StderrMessages messages;
    QSettingsStore settings;
    MainForm form(Platform{messages, settings});
    form.Load();

    const bool progress = options.inputs.size() > 1 && !options.quiet && ::isatty(STDERR_FILENO);
    const std::size_t total = options.thumbnail ? 1 : options.inputs.size();
    bool allConverted = true;
    WrittenFiles written;
    for (std::size_t n = 0; n < total; ++n) {
        const std::string &path = options.inputs[n];
        messages.setInput(path);
        if (progress)
            std::cerr << "[" << n + 1 << "/" << total << "] " << path << "\n";
        // "Change Files" before each input, so nothing of the last one stays.
        form.CommandResetClick();
        if (form.OpenPattern(path) != MainForm::Outcome::Done) {
            allConverted = false;
            continue;
        }
        if (options.info) {
            std::cout << infoJson(form) << "\n";
            continue;
        }
        if (options.thumbnail) {
            allConverted = writeThumbnail(form, options, messages);
            continue;
        }
        if (options.hasWidth) {
            if (form.SetPatternSizeTo(options.width) != MainForm::Outcome::Done) {
                messages.report("The width " + options.width + " cannot be applied: its page is " +
                                std::to_string(form.PixelsX()) + " x " + std::to_string(form.PixelsY()) +
                                " pixels.");
                allConverted = false;
                continue;
            }
        }
        if (options.output == "-") {
            allConverted = writeToStdout(form, options, messages) && allConverted;
            continue;
        }
        const std::string output = outputFor(options, path);
        if (sameFile(output, path)) {
            messages.report("Error creating metafile " + output + ".\n\nIt is the input file itself.");
            allConverted = false;
            continue;
        }
        // The same input named twice only writes the same bytes again.
        const std::string *earlier = written.writtenFrom(output);
        if (earlier && !sameFile(*earlier, path)) {
            messages.report("Error creating metafile " + output + ".\n\nThis run already wrote it from " + *earlier +
                            "; it is not replaced.");
            allConverted = false;
            continue;
        }
        if (form.SaveAs(output, options.format) != MainForm::Outcome::Done) {
            allConverted = false;
            continue;
        }
        written.add(output, path);
        if (!options.quiet)
            std::cout << path << " -> " << output << " (" << form.PixelsX() << " x " << form.PixelsY()
                      << " pixels)\n";
    }
    return allConverted ? 0 : 1;
}

std::string fromQt(const QString &text)
{
    return text.toStdString();
}

// Parses the command line into options; a usage error returns its one-line
// reason.
std::optional<std::string> parse(int argc, char **argv, Options &options, bool &help, bool &version)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{"h", "help"});
    const QCommandLineOption versionOption("version");
    const QCommandLineOption quietOption(QStringList{"q", "quiet"});
    const QCommandLineOption infoOption("info");
    const QCommandLineOption formatOption("format", {}, "FORMAT");
    const QCommandLineOption widthOption("width", {}, "PIXELS");
    const QCommandLineOption outputOption(QStringList{"o", "output"}, {}, "FILE");
    const QCommandLineOption outDirOption("out-dir", {}, "DIR");
    const QCommandLineOption thumbnailOption("thumbnail", {}, "SIZE");
    parser.addOptions({helpOption, versionOption, quietOption, infoOption, formatOption, widthOption, outputOption,
                       outDirOption, thumbnailOption});
    if (!parser.parse(arguments))
        return fromQt(parser.errorText());
    help = parser.isSet(helpOption);
    version = parser.isSet(versionOption);
    if (help || version)
        return std::nullopt;
    for (const QString &input : parser.positionalArguments())
        options.inputs.push_back(input.toLocal8Bit().toStdString());
    // An option given twice keeps its last value, as before.
    auto last = [&](const QCommandLineOption &option) { return parser.values(option).constLast().toStdString(); };
    options.quiet = parser.isSet(quietOption);
    options.info = parser.isSet(infoOption);
    options.hasWidth = parser.isSet(widthOption);
    if (options.hasWidth)
        options.width = last(widthOption);
    if (parser.isSet(outputOption)) {
        options.output = last(outputOption);
        if (options.output.empty())
            return "-o needs a file name";
    }
    if (parser.isSet(outDirOption)) {
        options.outDir = last(outDirOption);
        if (options.outDir.empty())
            return "--out-dir needs a folder";
    }
    const std::string format = parser.isSet(formatOption) ? last(formatOption) : defaultExportFormat().name;
    options.format = findExportFormat(format);
    if (!options.format) {
        std::string names;
        for (const ExportFormat &known : exportFormats())
            names += (names.empty() ? "" : "|") + known.name;
        return "--format must be one of " + names + ", not \"" + format + "\"";
    }
    const bool thumbnail = parser.isSet(thumbnailOption);
    if (thumbnail) {
        const std::string size = last(thumbnailOption);
        int value = 0;
        const auto [end, error] = std::from_chars(size.data(), size.data() + size.size(), value);
        if (error != std::errc() || end != size.data() + size.size() || value < 1 || value > 4096)
            return "--thumbnail must be a size of 1 to 4096 pixels, not \"" + size + "\"";
        options.thumbnail = value;
        if (options.inputs.size() != 2 || options.info || options.hasWidth || !options.output.empty() ||
            !options.outDir.empty() || parser.isSet(formatOption))
            return "--thumbnail takes SIZE, one input and one output, and no other option";
    }
    if (options.inputs.empty())
        return "no input file";
    for (const std::string &input : options.inputs)
        if (input.empty())
            return "an input file name is empty";
    if (options.info && (options.inputs.size() != 1 || options.hasWidth || !options.output.empty() ||
                         !options.outDir.empty() || parser.isSet(formatOption)))
        return "--info takes one input and no other option";
    if (!options.output.empty() && !options.outDir.empty())
        return "-o and --out-dir cannot be used together";
    if (!options.output.empty() && options.inputs.size() != 1)
        return "-o takes exactly one input";
    if (options.hasWidth) {
        // The reply itself must be a width the rule accepts for some page: a
        // number that rounds to more than 0. Against a height of 0 nothing
        // else can refuse it; whether its height fits is up to each page.
        if (ApplyPatternSize(options.width, 1, 0).outcome != PatternSizeResult::Accepted)
            return "--width must be a number of pixels above 0, not \"" + options.width + "\"";
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    ignoreFileSizeSignal();
    Options options;
    bool help = false, version = false;
    // The picture formats are only looked for when asked for, so the plain
    // metafile starts as fast as before.
    bool wantsPictures = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            break;
        wantsPictures = wantsPictures || arg.starts_with("--format") || arg.starts_with("--thumbnail");
    }
    if (wantsPictures)
        loadPictureFormats();
    if (const auto why = parse(argc, argv, options, help, version))
        return usageError(*why);
    if (help) {
        std::cout << Usage;
        return 0;
    }
    if (version) {
        std::cout << "orvane-convert " ORVANE_VERSION "\n";
        return 0;
    }
    if (options.thumbnail && !thumbnailPng) {
        std::cerr << "orvane-convert: the picture formats are not installed\n";
        return 1;
    }
    if (!options.outDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.outDir, error);
    }
    return run(options);
}
