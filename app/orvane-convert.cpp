// orvane-convert: the headless converter. The batch does the work; this reads
// the command line and finds the picture formats when they are asked for.

#include "export/exportformat.h"
#include "export/qt/picturemodule.h"
#include "os/console.h"
#include "os/fileio.h"
#include "os/module.h"
#include "settings/usersettingsstore.h"
#include "os/utf8path.h"
#include "shell/batch.h"
#include "api/converter.h"
#include "shell/wildcards.h"
#include "savesignals.h"
#include "api/temporarypicture.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <csignal>
#include <filesystem>
#include <ostream>

namespace {

using namespace orvane;

// What this build offers: the core's formats, and where modules load, the
// picture module's formats and the thumbnail.
struct Offer {
    std::vector<std::string> names;
    bool thumbnail = false;
};

Offer offered(const FormatTable &core)
{
    Offer offer;
    for (const ExportFormat *row : core.rows())
        offer.names.emplace_back(row->name);
    offer.thumbnail = canLoadModules();
    for (const std::string_view name : PictureFormatNames) {
        if (offer.thumbnail && !core.find(name))
            offer.names.emplace_back(name);
    }
    return offer;
}

std::string joined(const std::vector<std::string> &words, const std::string &between, const std::string &last)
{
    std::string out;
    for (std::size_t n = 0; n < words.size(); ++n)
        out += (n == 0 ? "" : n + 1 == words.size() ? last : between) + words[n];
    return out;
}

// An option's text after its name, broken into lines of at most 76 columns.
std::string described(const std::string &option, const std::string &text)
{
    constexpr std::size_t Indent = 18;
    std::string out = "  " + option;
    out.resize(Indent, ' ');
    std::size_t column = Indent;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(' ', at), text.size());
        if (column + 1 + (end - at) > 76) {
            out += "\n" + std::string(Indent, ' ');
            column = Indent;
        }
        out += " " + text.substr(at, end - at);
        column += 1 + end - at;
        at = end + 1;
    }
    return out + "\n";
}

std::string usage(const Offer &offer)
{
    // Beside the metafiles, each format's extension is its name.
    std::vector<std::string> others, extensions;
    for (const std::string &name : offer.names) {
        if (name != "wmf" && name != "placeable") {
            others.push_back(name);
            extensions.push_back("." + name);
        }
    }
    std::string text =
        "usage: orvane-convert [--format FORMAT] [--width PIXELS] [-q]\n"
        "                      [-o OUTPUT | --out-dir DIR] INPUT.pat...\n"
        "       orvane-convert --info INPUT.pat\n";
    if (offer.thumbnail)
        text += "       orvane-convert --thumbnail SIZE INPUT.pat OUTPUT.png\n";
    text += "       orvane-convert --help | --version\n"
            "\n"
            "Converts pattern files to Windows Metafiles or, with --format, to another\n"
            "format. The output is the page's size in 96-dpi pixels, or PIXELS wide with\n"
            "the height in proportion. Without -o or --out-dir each output is written\n"
            "beside its input with the format's extension; an existing file is replaced.\n"
            "A conversion also copies a pattern's picture to the user's cache folder;\n"
            "--info writes nothing.\n"
            "\n";
    std::string formats = "wmf (default, plain metafile), placeable (metafile with the page's frame, for office "
                          "suites and vector editors)";
    if (!others.empty())
        formats += ", " + joined(others, ", ", " or ") + "; without it, -o's extension ("
            + joined(extensions, ", ", ", ") + ") chooses";
    text += described("--format FORMAT", formats);
    text += "  --width PIXELS   width of the output in pixels\n"
            "  -o FILE          output file (one input only); - for standard output\n"
            "  --out-dir DIR    write DIR/<input name>.<extension>\n"
            "  -q, --quiet      print nothing for converted files\n"
            "  --info           print what the file holds as JSON; writes nothing\n";
    if (offer.thumbnail)
        text += "  --thumbnail SIZE write a PNG preview whose longer side is at most SIZE\n"
                "                   pixels (for file managers); - for standard output\n";
    text += "  --version        show the version\n"
            "  --help           show this text\n"
            "\n"
            "An INPUT of - is standard input, then the only input, and needs -o.\n"
            "Exit status: 0 all converted, 1 an input failed or the report could not be\n"
            "written, 2 usage error.\n";
    return text;
}

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
std::optional<std::string> parse(std::vector<std::string> arguments, const Offer &offer, Parsed &parsed)
{
#ifdef _WIN32
    // What a Windows user types first.
    if (std::find(arguments.begin() + 1, arguments.end(), "/?") != arguments.end()) {
        parsed.help = true;
        return std::nullopt;
    }
    // No Windows name holds a quote: this one came from a \ before a closing
    // quote, which keeps the quote and runs on into the next argument.
    for (std::size_t n = 1; n < arguments.size(); ++n) {
        if (arguments[n].find('"') != std::string::npos)
            return "the argument " + arguments[n] + " holds a quote: a \\ just before a closing quote keeps the "
                   "quote; leave out the last \\ of a folder (\"dir with space\") or double it";
    }
#endif
    BatchOptions &o = parsed.options;
    CLI::App app("orvane-convert", "orvane-convert");
    app.set_help_flag();
    app.allow_windows_style_options(false);
    std::string width, thumbnail;
    std::vector<std::string> outputs, outDirs;
    const auto last = CLI::MultiOptionPolicy::TakeLast;
    const auto all = CLI::MultiOptionPolicy::TakeAll;
    app.add_flag("-h,--help", parsed.help);
    app.add_flag("--version", parsed.version);
    app.add_flag("-q,--quiet", o.quiet);
    app.add_flag("--info", o.info);
    CLI::Option *format = app.add_option("--format", o.format)->multi_option_policy(last);
    CLI::Option *widthOption = app.add_option("--width", width)->multi_option_policy(last);
    // Where the output goes is never guessed from two answers.
    app.add_option("-o,--output", outputs)->multi_option_policy(all)->allow_extra_args(false);
    app.add_option("--out-dir", outDirs)->multi_option_policy(all)->allow_extra_args(false);
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
    // A picture format this build lacks is told as such later.
    const auto known = [&](const std::string &name) {
        return std::find(offer.names.begin(), offer.names.end(), name) != offer.names.end()
            || std::find(std::begin(PictureFormatNames), std::end(PictureFormatNames), lowerCase(name))
            != std::end(PictureFormatNames);
    };
    if (format->count() && !known(o.format))
        return "--format must be one of " + joined(offer.names, "|", "|") + ", not \"" + o.format + "\"";
    if (widthOption->count())
        o.width = width;
    if (outputs.size() > 1)
        return "-o is given " + std::to_string(outputs.size()) + " times; a run has one output";
    if (outDirs.size() > 1)
        return "--out-dir is given " + std::to_string(outDirs.size()) + " times; a run has one output folder";
    if (!outputs.empty()) {
        if (outputs.front().empty())
            return "-o needs a file name";
        o.output = outputs.front();
    }
    if (!outDirs.empty()) {
        if (outDirs.front().empty())
            return "--out-dir needs a folder";
        o.outDir = outDirs.front();
    }
    if (thumbnailOption->count()) {
        int value = 0;
        const auto [end, error] = std::from_chars(thumbnail.data(), thumbnail.data() + thumbnail.size(), value);
        if (error != std::errc() || end != thumbnail.data() + thumbnail.size() || value < 1 || value > 4096)
            return "--thumbnail must be a size of 1 to 4096 pixels, not \"" + thumbnail + "\"";
        o.thumbnail = value;
    }
#ifdef _WIN32
    if (!o.thumbnail)
        o.inputs = expandWildcards(o.inputs);
#endif
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
    FormatTable formats;
    const Offer offer = offered(formats);
    Parsed parsed;
    if (const auto why = parse(commandLineArguments(argc, argv), offer, parsed))
        return usageError(err, *why);
    if (parsed.help || parsed.version) {
        out << (parsed.help ? usage(offer) : "orvane-convert " ORVANE_VERSION "\n") << std::flush;
        return out ? 0 : 1;
    }
    BatchOptions &options = parsed.options;
    options.showProgress = standardErrorIsTerminal();

    // The picture formats are only looked for when asked for, so the plain
    // metafile starts as fast as it can.
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
    // Only now: nothing before this point writes a file.
    SaveSignals saveSignals;
    batch.setSaveWatch(&saveSignals);
    if (pictures)
        batch.setThumbnail(pictures->thumbnail);
    return batch.run(options, *format);
}
