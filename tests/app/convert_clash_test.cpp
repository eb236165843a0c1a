// A run never overwrites its own output; a size limit is a failed save; a
// settings file that is a pipe or holds a bad value is dealt with plainly.

#include "convertrunner.h"
#include "patternwriter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace orvane::testing;

namespace {

std::string pattern(const ConvertEnvironment &env, const std::string &name, int lines, std::int16_t major = 2,
                    std::int16_t minor = 1)
{
    PatternWriter w;
    w.header(major, minor, 0);
    major == 2 ? w.settings21({}) : w.settings11({});
    w.integer(static_cast<std::int16_t>(lines));
    for (int i = 0; i < lines; ++i)
        w.line(0, float(i * 10), 1440, float(i * 10));
    std::filesystem::create_directories(std::filesystem::path(env.file(name)).parent_path());
    w.integer(0).noPicture().save(env.file(name));
    return env.file(name);
}

} // namespace

TEST(ConvertOutputs, LaterInputNeverOverwritesWhatThisRunWrote)
{
    ConvertEnvironment env;
    const std::string a = pattern(env, "a/x.pat", 1), b = pattern(env, "b/x.pat", 2), out = env.file("out");
    ASSERT_EQ(env.run({"-o", env.file("first.wmf"), a}).exitCode, 0);
    const ConvertResult r = env.run({"--out-dir", out, a, b, a}); // a twice is no clash
    EXPECT_EQ(r.exitCode, 1);
    const std::string written = a + " -> " + out + "/x.wmf (816 x 1056 pixels)\n";
    EXPECT_EQ(r.out, written + written);
    EXPECT_EQ(r.err, failureLine(b, "Error creating metafile " + out + "/x.wmf.\n\nThis run already wrote it from " + a
                                        + "; it is not replaced."));
    EXPECT_EQ(readFileBytes(out + "/x.wmf"), readFileBytes(env.file("first.wmf")));
}

TEST(ConvertOutputs, FileSizeLimitIsAFailedSaveWithNothingLeft)
{
    ConvertEnvironment env;
    const std::string input = pattern(env, "big.pat", 300);
    rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const rlimit limited{2048, old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const ConvertResult r = env.run({"-o", env.file("big.wmf"), input});
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, failureLine(input, "Error creating metafile " + env.file("big.wmf") + ".\n\nFile too large"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(env.workFolder()), {}), 1); // only big.pat
}

TEST(ConvertSettings, StoreThatIsANamedPipeIsNeverOpened)
{
    ConvertEnvironment env;
    env.writeSettings("");
    const std::string store = env.configHome() + "/Veltrum Orvane/Veltrum Orvane.conf";
    std::filesystem::remove(store);
    ASSERT_EQ(::mkfifo(store.c_str(), 0600), 0);
    // Opening the pipe to write succeeds only while someone reads it; the
    // reader then gets end of file instead of hanging the test.
    std::atomic<bool> done{false};
    std::atomic<int> readers{0};
    std::thread watcher([&] {
        for (; !done; ::usleep(5000)) {
            const int fd = ::open(store.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0 && ++readers)
                ::close(fd);
        }
    });
    const ConvertResult r = env.run({pattern(env, "v11.pat", 1, 1, 1)});
    done = true;
    watcher.join();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readers, 0);
}

TEST(ConvertSettings, ValueThatDoesNotConvertIsNamedWithItsFile)
{
    ConvertEnvironment env;
    const std::string v11 = pattern(env, "v11.pat", 1, 1, 1), v29 = pattern(env, "v29.pat", 1, 2, 9);
    const std::string unknown = "The selected file could not be loaded.\n\nThe file format is unknown or was made "
                                "with later version of the Veltrum Pattern Maker.";
    const std::string file = env.configHome() + "/Veltrum Orvane/Veltrum Orvane.conf";
    for (const std::string key : {"PenColor", "MetricPage", "DefWidth"}) { // a width of 1e38 inches overflows
        env.writeSettings("[Pattern]\nDefHeight=11\n" + key + "=" + (key == "DefWidth" ? "1e38" : "x") + "\n");
        const ConvertResult r = env.run({v11, v29}); // the 2.9 file fails for itself, without the line
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, failureLine(v11, unknown + "\n\nThe stored setting " + key + " in the [Pattern] group of "
                                              + file + " does not hold a valid value.")
                             + failureLine(v29, unknown));
    }
}
