// What orvane-convert reads and where it writes: no output of a run ever replaces one of its inputs, whatever
// name reaches it; standard input, pipes and process substitution as inputs; standard output and names that
// are no regular files as outputs.

#include "convertrunner.h"
#include "patternwriter.h"
#include "samebytes.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

std::string pattern(const ConvertEnvironment &env, const std::string &name, int lines = 1)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(std::int16_t(lines));
    for (int i = 0; i < lines; ++i)
        w.line(1440, 1440 + i * 20.0f, 2880, 1440);
    fs::create_directories(fs::path(env.file(name)).parent_path());
    w.integer(0).noPicture().save(env.file(name));
    return env.file(name);
}

// Runs a bash command line in which CONVERT is the program with the test's own home; its exit status, or 128 and
// the signal's number.
int shell(const ConvertEnvironment &env, std::string line)
{
    const std::string program = "env XDG_CACHE_HOME=" + quoted(env.dir.file("cache")) + " XDG_CONFIG_HOME="
        + quoted(env.configHome()) + " " + quoted(env.program);
    for (auto at = line.find("CONVERT"); at != std::string::npos; at = line.find("CONVERT", at + program.size()))
        line.replace(at, 7, program);
    const int status = std::system(("exec bash -c " + quoted(line)).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TEST(ConvertInputs, NoOutputReplacesAnInputOfTheRun)
{
    ConvertEnvironment env;
    const std::string t = pattern(env, "t.pat");
    const std::string p = pattern(env, "p.pat");
    const std::string pw = pattern(env, "p.wmf", 2);
    const std::string r = pattern(env, "r.pat");
    const std::string ow = pattern(env, "o/r.wmf", 3);
    const std::string h = pattern(env, "h.pat", 4);
    const std::string o = env.file("o");
    const std::string linked = env.file("linked.png");
    const std::string hard = env.file("hard/r.wmf");
    const std::string later = env.file("t.wmf"); // not there yet
    fs::create_symlink(t, linked);
    fs::create_directories(env.file("hard"));
    fs::create_hard_link(h, hard);
    const std::string itself = "It is the input file itself.";
    const struct {
        std::vector<std::string> args;
        std::string err; // the first line of standard error
    } cases[] = {
        {{"--thumbnail", "64", t, t}, "orvane-convert: " + t + ": Error creating PNG file " + t + ". " + itself},
        {{"--thumbnail", "64", t, linked},
         "orvane-convert: " + t + ": Error creating PNG file " + linked + ". " + itself},
        {{p, pw}, "orvane-convert: " + p + ": Error creating metafile " + pw + ". It is the input " + pw
                      + " of this run; it is not replaced."},
        {{"--out-dir", o, r, ow}, "orvane-convert: " + r + ": Error creating metafile " + ow + ". It is the input "
                                      + ow + " of this run; it is not replaced."},
        {{"--out-dir", env.file("hard"), h, r}, "orvane-convert: " + r + ": Error creating metafile " + hard
                                                    + ". It is the input " + h + " of this run; it is not replaced."},
        {{t, later}, "orvane-convert: " + t + ": Error creating metafile " + later + ". It is the input " + later
                         + " of this run; it is not written."},
    };
    const std::vector<std::string> inputs = {t, p, pw, r, ow, h};
    std::vector<std::vector<unsigned char>> before;
    for (const std::string &input : inputs)
        before.push_back(readFileBytes(input));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.back());
        const ConvertResult result = env.run(c.args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')), c.err);
        for (std::size_t i = 0; i < inputs.size(); ++i)
            EXPECT_TRUE(sameBytes(readFileBytes(inputs[i]), before[i])) << inputs[i];
    }
    EXPECT_FALSE(fs::exists(later));
}

// Longer than a pipe holds at once, so that a read that stops early shows.
TEST(ConvertInputs, StandardInputPipesAndProcessSubstitutionAreReadWhole)
{
    ConvertEnvironment env;
    const std::string x = quoted(pattern(env, "x.pat", 5000));
    const std::string out = env.file("out.wmf");
    ASSERT_EQ(env.run({"-o", env.file("file.wmf"), env.file("x.pat")}).exitCode, 0);
    const std::vector<unsigned char> expected = readFileBytes(env.file("file.wmf"));
    const std::string lines[] = {
        "cat " + x + " | CONVERT - -o " + quoted(out),
        "cat " + x + " | CONVERT -o - - >" + quoted(out),
        "cat " + x + " | CONVERT /dev/stdin -o " + quoted(out),
        "CONVERT -o " + quoted(out) + " <(cat " + x + ")",
        "CONVERT -o " + quoted(out) + " - <" + x,
    };
    for (const std::string &line : lines) {
        SCOPED_TRACE(line);
        fs::remove(out);
        EXPECT_EQ(shell(env, line + " 2>" + quoted(env.file("err"))), 0) << readFileText(env.file("err"));
        EXPECT_TRUE(sameBytes(readFileBytes(out), expected));
    }
}

// Every input is converted whoever reads the report; the exit status says whether it could be written.
TEST(ConvertInputs, AReportNobodyReadsStopsNoConversion)
{
    ConvertEnvironment env;
    std::string inputs;
    for (int i = 0; i < 40; ++i)
        inputs += " " + quoted(pattern(env, "in/" + std::to_string(i) + ".pat"));
    const std::string fifo = quoted(env.file("fifo"));
    ASSERT_EQ(::mkfifo(env.file("fifo").c_str(), 0600), 0);
    // File 4 is a pipe whose reader has already gone.
    const std::string line = "exec 3<>" + fifo + " 4>" + fifo + " 3<&- && CONVERT --out-dir " + quoted(env.file("out"))
        + inputs + " 2>" + quoted(env.file("err"));
    const std::string lost = "orvane-convert: the report could not be written to standard output\n";
    const struct {
        std::string redirect; // after the line
        int status;
        std::string err;
    } cases[] = {
        {" >&4", 1, lost}, {" >/dev/full", 1, lost}, {" >&-", 1, lost}, {" -q >&4", 0, ""}, {" >/dev/null 2>&-", 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.redirect);
        fs::remove_all(env.file("out"));
        EXPECT_EQ(shell(env, line + c.redirect), c.status);
        EXPECT_EQ(readFileText(env.file("err")), c.err);
        EXPECT_EQ(std::distance(fs::directory_iterator(env.file("out")), {}), 40);
    }
}

TEST(ConvertNames, StandardOutputAndWhatIsNoRegularFileAreWrittenThrough)
{
    ConvertEnvironment env;
    const std::string in = pattern(env, "p.pat");
    const std::string sink = env.file("sink");
    ASSERT_EQ(env.run({"-o", env.file("p.wmf"), in}).exitCode, 0);
    const std::string wmf = readFileText(env.file("p.wmf"));
    const struct {
        std::vector<std::string> args;
        std::string stdoutTo;
        std::string after; // in the file of "kept"
    } cases[] = {
        {{"-o", "/dev/stdout", in}, "| cat >" + quoted(sink), wmf},
        {{"-o", "/dev/fd/1", in}, ">>" + quoted(sink), "kept" + wmf},
        {{"-o", "/dev/stdout", in}, ">>" + quoted(sink), "kept" + wmf},
        {{"-o", "-", in}, ">>" + quoted(sink), "kept" + wmf},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.stdoutTo);
        writeFileBytes(sink, "kept");
        const ConvertResult r = env.run(c.args, ".", c.stdoutTo);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(readFileText(sink), c.after);
    }
    const ConvertResult r = env.run({"--thumbnail", "64", in, "-"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 4), "\x89PNG");
    EXPECT_FALSE(fs::exists(env.file("-")));
}
