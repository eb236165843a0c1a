// Messages that say what failed: --info's JSON whatever bytes a path holds, a width too large, and the window's
// own command line, answered before it needs a display.

#include "convertrunner.h"
#include "patternwriter.h"

#include "orvane/orvane.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

// --info copies no picture, so only the library's info names a copy: in a folder its caller chose.
TEST(ConvertUsage, InfoIsValidJsonWhateverBytesThePictureCopysPathHolds)
{
    ConvertEnvironment env;
    const std::string cache = env.file("cache \xFF\xC3");
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(0).integer(0).picture("bytes");
    ConvertOptions options;
    options.pictureFolder = cache;

    const std::string json = orvane::info(w.bytes(), options).json;
    writeFileBytes(env.file("info.json"), json);
    const std::string parsed = sh("python3 -c 'import json, sys; print(json.loads(sys.stdin.buffer.read().decode())"
                                  "[\"picture\"][\"path\"])' < " + quoted(env.file("info.json")));

    EXPECT_NE(json.find("cache \\ufffd\\ufffd/vrtmimage.tmp"), std::string::npos) << json;
    EXPECT_EQ(parsed, env.file("cache \xEF\xBF\xBD\xEF\xBF\xBD/vrtmimage.tmp\n"));
}

TEST(ConvertUsage, AWidthTooLargeIsNamedAsSuch)
{
    ConvertEnvironment env;
    const std::string in = env.file("in.pat");
    PatternWriter().header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440).integer(0).noPicture()
        .save(in);

    const ConvertResult r = env.run({"--width", "1e9", "-o", env.file("out.wmf"), in});

    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, failureLine(in, "Error creating metafile " + env.file("out.wmf") + ".\n\nThe width 1e9 is too "
                                     "large: a point of the pattern would lie outside the range a metafile can hold "
                                     "(-32768 to 32767). Choose a smaller width."));
}

#ifdef ORVANE_WINDOW
// The window answers its command line without a display, under its own name whatever path started it.
TEST(WindowCommandLine, AnsweredWithoutADisplay)
{
    ConvertEnvironment env;
    const struct {
        std::string args, out; // the start of standard output and error together
        int status;
    } cases[] = {
        {"--help", "Usage: orvane [options] [FILE.pat]\n", 0},
        {"--bogus a.pat", "orvane: --bogus is not an option; orvane --help lists them\n", 2},
        {"-platform xcb -x", "orvane: -x is not an option; orvane --help lists them\n", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args);
        const std::string line = "cd / && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + quoted(ORVANE_WINDOW)
            + " " + c.args + " >" + quoted(env.file("out")) + " 2>&1";
        const int status = std::system(line.c_str());
        const std::string out = readFileText(env.file("out"));
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.status);
        EXPECT_EQ(out.substr(0, c.out.size()), c.out);
        EXPECT_TRUE(c.status == 0 || out == c.out) << out;
    }
}

// Said before anything needs a display; without one the window itself then fails.
TEST(WindowCommandLine, SeveralFilesOpenTheFirstAndSaySo)
{
    ConvertEnvironment env;
    const std::string line = "cd / && ulimit -c 0 && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "
        + quoted(ORVANE_WINDOW) + " a.pat b.pat c.pat 2>" + quoted(env.file("err"));

    std::system(line.c_str());

    const std::string err = readFileText(env.file("err"));
    EXPECT_EQ(err.substr(0, err.find('\n') + 1), "orvane: opening a.pat only, as the window holds one pattern; "
                                                  "not opened: b.pat c.pat\n");
}
#endif
