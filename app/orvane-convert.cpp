// orvane-convert: the headless converter. Each input is opened, sized and
// saved through the same conversion steps as the window, with the dialogs
// answered from the command line.

#include "platform/windows1252.h"
#include "export/patternsize.h"
#include "shell/mainform.h"
#include "platform/fileio.h"
#include "platform/messagebox.h"
#include "platform/qt/qsettingsstore.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <map>
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
    "\n"
    "Converts pattern files to Windows Metafiles. The metafile is the page's size\n"
    "in 96-dpi pixels, or PIXELS wide with the height in proportion. Without -o or\n"
    "--out-dir each metafile is written beside its input with the extension .wmf;\n"
    "an existing file is replaced.\n"
    "\n"
    "  --width PIXELS  width of the metafile in pixels\n"
    "  -o FILE         output file (one input only)\n"
    "  --out-dir DIR   write DIR/<input name>.wmf\n"
    "  --info          print what the file holds as JSON; writes nothing\n"
    "  --help          show this text\n"
    "\n"
    "Exit status: 0 all converted, 1 an input failed, 2 usage error.\n";

// Message boxes become lines on standard error.
class StderrMessages : public MessageBox {
public:
    int showMessage(const std::string &text, int, const std::string &) override
    {
        std::cerr << unixLineBreaks(text) << "\n";
        return 1;
    }
    void beep() override {}
};

struct Options {
    std::string width;
    bool hasWidth = false;
    std::string output;
    std::string outDir;
    bool info = false;
    std::vector<std::string> inputs;
};

int usageError(const std::string &why)
{
    std::cerr << "orvane-convert: " << why << "\n" << Usage;
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
    fs::path name = fs::path(input).filename();
    name.replace_extension(".wmf");
    if (!options.outDir.empty())
        return (fs::path(options.outDir) / name).string();
    return fs::path(input).replace_extension(".wmf").string();
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

int run(const Options &options)
{
    StderrMessages messages;
    QSettingsStore settings;
    MainForm form(Platform{messages, settings});
    form.Load();

    bool allConverted = true;
    WrittenFiles written;
    for (const std::string &path : options.inputs) {
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
        if (options.hasWidth) {
            if (form.SetPatternSizeTo(options.width) != MainForm::Outcome::Done) {
                std::cerr << "The width " << options.width << " cannot be applied to " << path
                          << ": its page is " << form.PixelsX() << " x " << form.PixelsY() << " pixels.\n";
                allConverted = false;
                continue;
            }
        }
        const std::string output = outputFor(options, path);
        if (sameFile(output, path)) {
            std::cerr << "Error creating metafile " << output << ".\n\nIt is the input file itself.\n";
            allConverted = false;
            continue;
        }
        // The same input named twice only writes the same bytes again.
        const std::string *earlier = written.writtenFrom(output);
        if (earlier && !sameFile(*earlier, path)) {
            std::cerr << "Error creating metafile " << output << ".\n\nThis run already wrote it from " << *earlier
                      << "; it is not replaced.\n";
            allConverted = false;
            continue;
        }
        if (form.SaveAs(output) != MainForm::Outcome::Done) {
            allConverted = false;
            continue;
        }
        written.add(output, path);
        std::cout << path << " -> " << output << " (" << form.PixelsX() << " x " << form.PixelsY() << " pixels)\n";
    }
    return allConverted ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    ignoreFileSizeSignal();
    Options options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const std::string &option) -> const char * {
            if (i + 1 >= argc)
                return nullptr;
            (void)option;
            return argv[++i];
        };
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            options.inputs.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << Usage;
            return 0;
        } else if (arg == "--info") {
            options.info = true;
        } else if (arg == "--width" || arg.rfind("--width=", 0) == 0) {
            const char *v = arg == "--width" ? value(arg) : argv[i] + 8;
            if (!v)
                return usageError("--width needs a number of pixels");
            options.width = v;
            options.hasWidth = true;
        } else if (arg == "-o" || arg == "--output") {
            const char *v = value(arg);
            if (!v || !*v)
                return usageError(arg + " needs a file name");
            options.output = v;
        } else if (arg == "--out-dir" || arg.rfind("--out-dir=", 0) == 0) {
            const char *v = arg == "--out-dir" ? value(arg) : argv[i] + 10;
            if (!v || !*v)
                return usageError("--out-dir needs a folder");
            options.outDir = v;
        } else {
            return usageError("unknown option " + arg);
        }
    }
    if (options.inputs.empty())
        return usageError("no input file");
    for (const std::string &input : options.inputs)
        if (input.empty())
            return usageError("an input file name is empty");
    if (options.info && (options.inputs.size() != 1 || options.hasWidth || !options.output.empty()
                         || !options.outDir.empty()))
        return usageError("--info takes one input and no other option");
    if (!options.output.empty() && !options.outDir.empty())
        return usageError("-o and --out-dir cannot be used together");
    if (!options.output.empty() && options.inputs.size() != 1)
        return usageError("-o takes exactly one input");
    if (options.hasWidth) {
        // The reply itself must be a width the rule accepts for some page: a
        // number that rounds to more than 0. Against a height of 0 nothing
        // else can refuse it; whether its height fits is up to each page.
        if (ApplyPatternSize(options.width, 1, 0).outcome != PatternSizeResult::Accepted)
            return usageError("--width must be a number of pixels above 0, not \"" + options.width + "\"");
    }
    if (!options.outDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.outDir, error);
    }
    return run(options);
}
