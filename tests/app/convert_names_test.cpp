// What orvane-convert makes of the names it is given: file names as bytes, the format an output's name
// asks for, standard output and names that are no regular files, the picture module, and failures that
// say why.

#include "convertrunner.h"
#include "patternwriter.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

// A letter page with one line, in the work folder.
std::string pattern(const ConvertEnvironment &env, const std::string &name, const PatternWriter::Page &page = {})
{
    PatternWriter().header(2, 1, 0).settings21(page).integer(1).line(1440, 1440, 2880, 1440).integer(0).noPicture()
        .save(env.file(name));
    return env.file(name);
}

std::string head(const std::string &bytes, std::size_t n = 4)
{
    return bytes.substr(0, n);
}

const std::string Wmf("\x01\x00\x09\x00", 4), Placeable("\xD7\xCD\xC6\x9A", 4), Png("\x89PNG", 4);

} // namespace

TEST(ConvertNames, LatinOneNamesAreKeptAsBytes)
{
    ConvertEnvironment env;
    const std::string cafe = pattern(env, "caf\xE9.pat"), cafe2 = pattern(env, "caf\xE8.pat");
    const struct {
        std::vector<std::string> args;
        std::vector<std::string> written;
    } cases[] = {
        {{cafe}, {env.file("caf\xE9.wmf")}},
        {{"-o", env.file("r\xE9sum\xE9.wmf"), cafe}, {env.file("r\xE9sum\xE9.wmf")}},
        {{"--out-dir", env.file("d\xE9"), cafe, cafe2}, {env.file("d\xE9/caf\xE9.wmf"), env.file("d\xE9/caf\xE8.wmf")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.written.front());
        const ConvertResult r = env.run(c.args);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        for (const std::string &name : c.written)
            EXPECT_EQ(head(readFileText(name)), Wmf) << name;
    }
}

TEST(ConvertNames, TheOutputsExtensionChoosesTheFormat)
{
    ConvertEnvironment env;
    const std::string in = pattern(env, "p.pat");
    const struct {
        std::vector<std::string> args;
        const char *output;
        std::string starts; // empty: a usage error
    } cases[] = {
        {{}, "x.svg", "<?xml"},
        {{}, "x.PDF", "%PDF"},
        {{}, "x.png", Png},
        {{}, "x.wmf", Wmf},
        {{}, "x.txt", Wmf},
        {{}, "x", Wmf},
        {{"--format", "placeable"}, "x.wmf", Placeable},
        {{"--format", "png"}, "x.png", Png},
        {{"--format", "svg"}, "x.png", ""},
        {{"--format", "wmf"}, "x.svg", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.output);
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"-o", env.file(c.output), in});
        const ConvertResult r = env.run(args);
        EXPECT_EQ(r.exitCode, c.starts.empty() ? 2 : 0) << r.err;
        EXPECT_EQ(head(readFileText(env.file(c.output)), c.starts.size()), c.starts);
        fs::remove(env.file(c.output));
    }
}

TEST(ConvertNames, StandardOutputAndWhatIsNoRegularFileAreWrittenThrough)
{
    ConvertEnvironment env;
    const std::string in = pattern(env, "p.pat"), sink = env.file("sink");
    ASSERT_EQ(env.run({"-o", env.file("p.wmf"), in}).exitCode, 0);
    const std::string wmf = readFileText(env.file("p.wmf"));
    const struct {
        std::vector<std::string> args;
        std::string stdoutTo, before, after;
    } cases[] = {
        {{"-o", "/dev/stdout", in}, "| cat >" + quoted(sink), "", wmf},
        {{"-o", "/proc/self/fd/1", in}, "| cat >" + quoted(sink), "", wmf},
        {{"-o", "/dev/fd/1", in}, ">>" + quoted(sink), "kept", "kept" + wmf},
        {{"-o", "/dev/stdout", in}, ">>" + quoted(sink), "kept", "kept" + wmf},
        {{"-o", "-", in}, ">>" + quoted(sink), "kept", "kept" + wmf},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.stdoutTo);
        writeFileBytes(sink, c.before);
        const ConvertResult r = env.run(c.args, ".", c.stdoutTo);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(readFileText(sink), c.after);
    }
    const ConvertResult r = env.run({"--thumbnail", "64", in, "-"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(head(r.out), Png);
    EXPECT_FALSE(fs::exists(env.file("-")));
}

TEST(ConvertNames, AMissingOrBrokenPictureModuleIsAFailureThatSaysWhy)
{
    ConvertEnvironment env;
    const std::string in = pattern(env, "p.pat"), bin = env.file("bin");
    fs::create_directories(bin);
    env.program = bin + "/orvane-convert";
    fs::copy_file(ORVANE_CONVERT, env.program);
    const std::string module = bin + "/orvane-pictures.so";
    const struct {
        const char *what;
        std::function<void()> plant;
        std::string reason;
    } cases[] = {
        {"missing", [] {}, "orvane-pictures.so: No such file or directory"},
        {"not a library", [&] { writeFileBytes(module, "not a library"); }, module + ": " + module + ": "},
        {"a named pipe", [&] { ::mkfifo(module.c_str(), 0600); }, module + ": not a regular file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(module);
        c.plant();
        const ConvertResult png = env.run({"--format", "png", in});
        EXPECT_EQ(png.exitCode, 1);
        EXPECT_NE(png.err.find("picture module, which could not be loaded: "), std::string::npos) << png.err;
        EXPECT_NE(png.err.find(c.reason), std::string::npos) << png.err;
        for (const char *core : {"wmf", "svg", "pdf"}) { // the core's formats need no module
            const ConvertResult r = env.run({"--format", core, in});
            EXPECT_EQ(r.exitCode, 0) << core << ": " << r.err;
        }
    }
}

TEST(ConvertMessages, FailuresSayWhatFailedAndWhy)
{
    ConvertEnvironment env;
    const std::string in = pattern(env, "p.pat"), file = pattern(env, "file");
    const std::string nowhere = env.file("no/such/folder/x.svg");
    const struct {
        std::vector<std::string> args;
        std::string stdoutTo, err;
    } cases[] = {
        {{"-o", nowhere, in}, "", failureLine(in, "Error creating SVG file " + nowhere + ".\n\nNo such file or directory")},
        {{"--out-dir", file + "/sub", in}, "",
         "orvane-convert: " + file + "/sub: the folder cannot be made: Not a directory\n"},
        {{"-o", "-", in}, ">/dev/full", failureLine(in, "Error writing to standard output: No space left on device")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args[1]);
        const ConvertResult r = env.run(c.args, ".", c.stdoutTo);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(ConvertMessages, HelpsSynopsisNamesEveryOption)
{
    ConvertEnvironment env;
    const ConvertResult r = env.run({"--help"});
    const std::string synopsis = r.out.substr(0, r.out.find("\n\n"));
    for (const char *option : {"--format", "--width", "-q", "-o", "--out-dir", "--info", "--thumbnail", "--help",
                               "--version"})
        EXPECT_NE(synopsis.find(option), std::string::npos) << option << " missing from:\n" << synopsis;
}

TEST(ConvertInfo, ControlCharactersInTextsAreEscaped)
{
    ConvertEnvironment env;
    PatternWriter::Page page;
    page.penSizeText = std::string("a\x01z\x1F\t", 5);
    const std::string in = pattern(env, "p.pat", page);
    const ConvertResult r = env.run({"--info", in});
    EXPECT_NE(r.out.find(R"("PenSizeText":"a\u0001z\u001f\u0009")"), std::string::npos) << r.out;
}

TEST(ConvertFormats, PngCarriesThePagesSizePerAxis)
{
    ConvertEnvironment env;
    PatternWriter::Page wide; // 11 x 8.5 inches at 96 dpi: 1056 x 816 pixels
    wide.defWidth = 11.0f;
    wide.defHeight = 8.5f;
    const std::string in = pattern(env, "p.pat", wide);
    const ConvertResult r = env.run({"--format", "png", "--width", "528", "-o", "-", in});
    const std::size_t at = r.out.find("pHYs");
    ASSERT_NE(at, std::string::npos);
    auto be32 = [&](std::size_t i) {
        const auto *b = reinterpret_cast<const unsigned char *>(r.out.data() + i);
        return (b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
    };
    // 528 x 408 pixels over 0.2794 x 0.2159 m: 1890 pixels per metre both ways.
    EXPECT_EQ(be32(at + 4), 1890);
    EXPECT_EQ(be32(at + 8), 1890);
    EXPECT_EQ(r.out[at + 12], 1);
}
