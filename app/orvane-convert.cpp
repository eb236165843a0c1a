// orvane-convert: the headless converter. The batch does the work; this reads
// the command line and finds the picture formats when they are asked for.

#include "export/exportformat.h"
#include "export/qt/picturemodule.h"
#include "platform/console.h"
#include "platform/fileio.h"
#include "platform/module.h"
#include "platform/usersettingsstore.h"
#include "platform/utf8path.h"
#include "shell/batch.h"
#include "shell/converter.h"
#include "document/temporarypicture.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <ostream>

namespace {

using namespace orvane;

constexpr const char *Usage =
    "usage: orvane-convert [--format FORMAT] [--width PIXELS] [-q]\n"
    "                      [-o OUTPUT | --out-dir DIR] INPUT.pat...\n"
    "       orvane-convert --info INPUT.pat\n"
    "       orvane-convert --thumbnail SIZE INPUT.pat OUTPUT.png\n"
    "       orvane-convert --help | --version\n"
    "\n"
    "Converts pattern files to Windows Metafiles or, with --format, to another\n"
    "format. The output is the page's size in 96-dpi pixels, or PIXELS wide with\n"
    "the height in proportion. Without -o or --out-dir each output is written\n"
    "beside its input with the format's extension; an existing file is replaced.\n"
    "\n"
    "  --format FORMAT  wmf (default, plain metafile), placeable (metafile with\n"
    "                   the page's frame, for office suites and vector editors),\n"
    "                   svg, pdf or png; without it, -o's extension (.svg, .pdf,\n"
    "                   .png) chooses\n"
    "  --width PIXELS   width of the output in pixels\n"
    "  -o FILE          output file (one input only); - for standard output\n"
    "  --out-dir DIR    write DIR/<input name>.<extension>\n"
    "  -q, --quiet      print nothing for converted files\n"
    "  --info           print what the file holds as JSON; writes nothing\n"
    "  --thumbnail SIZE write a PNG preview whose longer side is at most SIZE\n"
    "                   pixels (for file managers); - for standard output\n"
    "  --version        show the version\n"
    "  --help           show this text\n"
    "\n"
    "Exit status: 0 all converted, 1 an input failed, 2 usage error.\n";

int usageError(std::ostream &err, const std::string &why)
{
    err << "orvane-convert: " << why << "\nTry 'orvane-convert --help'.\n";
    return 2;
}

// The picture formats live in a module beside the program (build tree) or in
// the library folder (installed); null with the reason when neither loads.
const PictureModule *loadPictureModule(std::string &error)
{
    namespace fs = std::filesystem;
    const fs::path folder = programFolder();
    for (const fs::path &path : {folder / "orvane-pictures.so", folder / ORVANE_PICTURES_DIR / "orvane-pictures.so"}) {
        std::string why;
        if (void *entry = loadModuleFunction(path.string(), PictureModuleEntry, why))
            return reinterpret_cast<PictureModuleFunction *>(entry)();
        // The installed place is the one to name when neither is there.
        if (error.empty() || why != "No such file or directory")
            error = path.lexically_normal().string() + ": " + why;
    }
    return nullptr;
}

std::string lowerCase(std::string name)
{
    for (char &c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// Names and extensions in any case: "x.PNG" asks for the PNG format. One the
// core already offers needs no module.
bool isPictureFormat(const std::string &name, const FormatTable &core)
{
    for (const std::string_view known : PictureFormatNames) {
        if (known == lowerCase(name))
            return !core.find(known);
    }
    return false;
}

// What of the picture module a run asks for, to name it when there is none:
// "thumbnail", a format's name, or empty for nothing.
std::string pictureRequest(const BatchOptions &options, const FormatTable &core)
{
    if (options.thumbnail)
        return "thumbnail";
    if (isPictureFormat(options.format, core))
        return lowerCase(options.format);
    const std::string extension = utf8FromPath(pathFromUtf8(options.output).extension());
    if (extension.size() > 1 && isPictureFormat(extension.substr(1), core))
        return lowerCase(extension.substr(1));
    return std::string();
}

struct Parsed {
    BatchOptions options;
    bool help = false;
    bool version = false;
};

// A usage error returns its one-line reason.
std::optional<std::string> parse(const std::vector<std::string> &arguments, Parsed &parsed)
{
    BatchOptions &o = parsed.options;
    CLI::App app("orvane-convert", "orvane-convert");
    app.set_help_flag();
    app.allow_windows_style_options(false);
    std::string width, output, outDir, thumbnail;
    const auto last = CLI::MultiOptionPolicy::TakeLast;
    app.add_flag("-h,--help", parsed.help);
    app.add_flag("--version", parsed.version);
    app.add_flag("-q,--quiet", o.quiet);
    app.add_flag("--info", o.info);
    CLI::Option *format = app.add_option("--format", o.format)->multi_option_policy(last);
    CLI::Option *widthOption = app.add_option("--width", width)->multi_option_policy(last);
    CLI::Option *outputOption = app.add_option("-o,--output", output)->multi_option_policy(last);
    CLI::Option *outDirOption = app.add_option("--out-dir", outDir)->multi_option_policy(last);
    CLI::Option *thumbnailOption = app.add_option("--thumbnail", thumbnail)->multi_option_policy(last);
    app.add_option("inputs", o.inputs);
    try {
        std::vector<const char *> argv;
        for (const std::string &argument : arguments)
            argv.push_back(argument.c_str());
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::ParseError &error) {
        return std::string(error.what());
    }
    if (parsed.help || parsed.version)
        return std::nullopt;
    if (format->count() && o.format.empty())
        return "--format must be one of wmf|placeable|svg|pdf|png, not \"\"";
    if (widthOption->count())
        o.width = width;
    if (outputOption->count()) {
        if (output.empty())
            return "-o needs a file name";
        o.output = output;
    }
    if (outDirOption->count()) {
        if (outDir.empty())
            return "--out-dir needs a folder";
        o.outDir = outDir;
    }
    if (thumbnailOption->count()) {
        int value = 0;
        const auto [end, error] = std::from_chars(thumbnail.data(), thumbnail.data() + thumbnail.size(), value);
        if (error != std::errc() || end != thumbnail.data() + thumbnail.size() || value < 1 || value > 4096)
            return "--thumbnail must be a size of 1 to 4096 pixels, not \"" + thumbnail + "\"";
        o.thumbnail = value;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char **argv)
{
    ignoreFileSizeSignal();
#ifdef SIGPIPE
    // A reader of the report that goes away (| head) must not end the batch:
    // the failed write is noticed and told by the exit status instead.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    std::ostream &out = standardOutputText();
    std::ostream &err = standardErrorText();
    Parsed parsed;
    if (const auto why = parse(commandLineArguments(argc, argv), parsed))
        return usageError(err, *why);
    if (parsed.help) {
        out << Usage;
        return 0;
    }
    if (parsed.version) {
        out << "orvane-convert " ORVANE_VERSION "\n";
        return 0;
    }
    BatchOptions &options = parsed.options;
    options.showProgress = standardErrorIsTerminal();

    // The picture formats are only looked for when asked for, so the plain
    // metafile starts as fast as it can.
    FormatTable formats;
    const std::string wanted = pictureRequest(options, formats);
    if (!wanted.empty() && !canLoadModules()) {
        err << "orvane-convert: " << (wanted == "thumbnail" ? "--thumbnail is" : "the " + wanted + " format is")
            << " not available in this build\n";
        return 2;
    }
    const PictureModule *pictures = nullptr;
    std::string moduleError;
    if (!wanted.empty()) {
        pictures = loadPictureModule(moduleError);
        if (pictures)
            formats.add(pictures->formats);
    }
    if (!wanted.empty() && !pictures) {
        // A format the module would give is a missing part, not a usage error.
        err << "orvane-convert: the " << (options.thumbnail ? "thumbnail" : "picture formats")
            << " need the picture module, which could not be loaded: " << moduleError << "\n";
        return 1;
    }

    const auto settings = userSettingsStore();
    Converter converter(formats, *settings, TemporaryPicture::defaultFolder());
    const ExportFormat *format = nullptr;
    if (const auto why = checkBatchOptions(options, converter, format))
        return usageError(err, *why);
    Batch batch(converter, out, err);
    if (pictures)
        batch.setThumbnail(pictures->thumbnail);
    return batch.run(options, *format);
}
