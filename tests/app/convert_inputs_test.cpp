// What orvane-convert reads: no output of a run ever replaces one of its inputs, whatever name reaches it;
// standard input, pipes and process substitution as inputs.

#include "convertrunner.h"
#include "patternwriter.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <sys/wait.h>
#include <unistd.h>

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

// The first offset at which two files' bytes differ; npos when they are the same.
std::size_t firstDifference(const std::string &a, const std::string &b)
{
    const auto [at, other] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return at == a.end() && other == b.end() ? std::string::npos : std::size_t(at - a.begin());
}

} // namespace

TEST(ConvertInputs, NoOutputReplacesAnInputOfTheRun)
{
    ConvertEnvironment env;
    const std::string t = pattern(env, "t.pat"), p = pattern(env, "p.pat"), pw = pattern(env, "p.wmf", 2);
    const std::string r = pattern(env, "r.pat"), ow = pattern(env, "o/r.wmf", 3), h = pattern(env, "h.pat", 4);
    const std::string o = env.file("o"), linked = env.file("linked.png"), hard = env.file("hard/r.wmf");
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
    };
    const std::vector<std::string> inputs = {t, p, pw, r, ow, h};
    std::vector<std::string> before;
    for (const std::string &input : inputs)
        before.push_back(readFileText(input));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.back());
        const ConvertResult result = env.run(c.args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err.substr(0, result.err.find('\n')), c.err);
        for (std::size_t i = 0; i < inputs.size(); ++i)
            EXPECT_EQ(firstDifference(readFileText(inputs[i]), before[i]), std::string::npos) << inputs[i];
    }
}

// A name that is not there yet is not written either when the run reads it later.
TEST(ConvertInputs, AnOutputNamedAsALaterMissingInputIsNotWritten)
{
    ConvertEnvironment env;
    const std::string a = pattern(env, "a.pat"), later = env.file("a.wmf");

    const ConvertResult r = env.run({a, later});

    EXPECT_EQ(r.exitCode, 1);
    EXPECT_FALSE(fs::exists(later));
}

namespace {

// A shell command line in which CONVERT runs the program with the test's own home; its exit status, or 128 and
// the signal's number. With noReader, standard output is a pipe whose reader has already gone.
int shell(const ConvertEnvironment &env, std::string line, bool noReader = false)
{
    const std::string program = "env XDG_CACHE_HOME=" + quoted(env.dir.file("cache")) + " XDG_CONFIG_HOME="
        + quoted(env.configHome()) + " " + quoted(env.program);
    for (auto at = line.find("CONVERT"); at != std::string::npos; at = line.find("CONVERT", at + program.size()))
        line.replace(at, 7, program);
    int pipe[2] = {-1, -1};
    if (noReader && ::pipe(pipe) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        if (noReader) {
            ::close(pipe[0]);
            ::dup2(pipe[1], STDOUT_FILENO);
        }
        ::execl("/bin/bash", "bash", "-c", line.c_str(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    if (noReader) {
        ::close(pipe[0]);
        ::close(pipe[1]);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

// Longer than a pipe holds at once, so that a read that stops early shows.
TEST(ConvertInputs, StandardInputPipesAndProcessSubstitutionAreReadWhole)
{
    ConvertEnvironment env;
    const std::string x = quoted(pattern(env, "x.pat", 5000)), out = env.file("out.wmf");
    ASSERT_EQ(env.run({"-o", env.file("file.wmf"), env.file("x.pat")}).exitCode, 0);
    const std::string expected = readFileText(env.file("file.wmf"));
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
        EXPECT_EQ(firstDifference(readFileText(out), expected), std::string::npos);
    }
}

TEST(ConvertInputs, StandardInputIsTheOnlyInputAndNeedsANamedOutput)
{
    ConvertEnvironment env;
    const std::string a = pattern(env, "a.pat");
    for (const std::vector<std::string> &args : {std::vector<std::string>{"-"}, {"--out-dir", env.file("o"), "-"},
                                                 {"-", a}, {a, "-"}, {"-o", "-", "-", "-"}}) {
        const ConvertResult r = env.run(args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
    }
    const ConvertResult r = env.run({"-o", env.file("x.wmf"), "-"}); // empty standard input
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.rfind("orvane-convert: standard input: ", 0), 0u) << r.err;
}

// Every input is converted whoever reads the report; the exit status says whether it could be written.
TEST(ConvertInputs, AReportNobodyReadsStopsNoConversion)
{
    ConvertEnvironment env;
    std::string inputs;
    for (int i = 0; i < 40; ++i)
        inputs += " " + quoted(pattern(env, "in/" + std::to_string(i) + ".pat"));
    const std::string line = "CONVERT --out-dir " + quoted(env.file("out")) + inputs + " 2>" + quoted(env.file("err"));
    const std::string lost = "orvane-convert: the report could not be written to standard output\n";
    const struct {
        std::string redirect; // after the line
        bool noReader;
        int status;
        std::string err;
    } cases[] = {
        {"", true, 1, lost},         {" >/dev/full", false, 1, lost},       {" >&-", false, 1, lost},
        {" -q", true, 0, ""},        {" >/dev/null 2>&-", false, 0, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.redirect);
        fs::remove_all(env.file("out"));
        EXPECT_EQ(shell(env, line + c.redirect, c.noReader), c.status);
        EXPECT_EQ(readFileText(env.file("err")), c.err);
        EXPECT_EQ(std::distance(fs::directory_iterator(env.file("out")), {}), 40);
    }
}
