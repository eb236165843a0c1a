// Saving over what stands at the target: links followed, pipes written
// straight through, nothing left by a killed save, owner and group kept.

#include "fakes.h"

#include "platform/fileio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

const std::vector<unsigned char> NewBytes(3000, 'n');

std::vector<std::string> listing(const fs::path &folder)
{
    std::vector<std::string> names;
    for (const auto &entry : fs::recursive_directory_iterator(folder))
        names.push_back(entry.path().lexically_relative(folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

int g_raise = 0;
extern "C" void raiseChosenSignal(int) { ::raise(g_raise); }

} // namespace

TEST(SafeWrite, EachKindOfTargetIsWrittenWhereUsersExpect)
{
    struct Case {
        const char *name;
        std::function<void(const TempDir &)> plant; // at "target"
        std::string reason, written;                // an empty reason: saved, into written
    };
    const Case cases[] = {
        {"link into another folder", [](const TempDir &d) {
             fs::create_directory(d.file("other"));
             writeFileBytes(d.file("other/real.wmf"), "old");
             fs::create_symlink("other/real.wmf", d.file("target"));
         }, "", "other/real.wmf"},
        {"dangling link", [](const TempDir &d) { fs::create_symlink("made.wmf", d.file("target")); }, "", "made.wmf"},
        {"named pipe with a reader", [](const TempDir &d) { ::mkfifo(d.file("target").c_str(), 0600); }, "", "copy"},
        {"named pipe nobody reads (3 s)", [](const TempDir &d) { ::mkfifo(d.file("target").c_str(), 0600); },
         "No program reads from the named pipe.", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        c.plant(dir);
        const std::string target = dir.file("target");
        const auto kind = fs::symlink_status(target).type();
        auto expected = listing(dir.path());
        const pid_t reader = c.written == "copy" ? ::fork() : -1;
        if (reader == 0) {
            ::alarm(5); // should the save never open the pipe
            const auto bytes = readFileBytes(target);
            writeFileBytes(dir.file("copy"), std::string(bytes.begin(), bytes.end()));
            ::_exit(0);
        }
        std::string error;
        EXPECT_EQ(WriteFileReplacing(target, NewBytes, error), c.reason.empty());
        EXPECT_EQ(error, c.reason);
        if (reader > 0)
            ::waitpid(reader, nullptr, 0);
        EXPECT_EQ(fs::symlink_status(target).type(), kind);
        EXPECT_TRUE(c.written.empty() || readFileBytes(dir.file(c.written)) == NewBytes);
        if (!c.written.empty() && std::find(expected.begin(), expected.end(), c.written) == expected.end())
            expected.insert(std::upper_bound(expected.begin(), expected.end(), c.written), c.written);
        EXPECT_EQ(listing(dir.path()), expected); // nothing left beside
    }
    std::string error; // discarding; as root a fault would cost the machine its /dev/null
    EXPECT_TRUE(::geteuid() == 0 || WriteFileReplacing("/dev/null", NewBytes, error)) << error;
}

TEST(SafeWrite, KilledSaveLeavesNoTemporaryFile)
{
    // The size limit stops the write half way, where SIGXFSZ ends the child
    // (standing for SIGKILL) or its handler raises the signal of the case.
    const std::pair<bool, int> cases[] = {{true, SIGXFSZ}, {true, SIGTERM}, {false, SIGTERM}, {false, SIGINT}};
    for (const auto &[unnamed, signal] : cases) {
        SCOPED_TRACE(std::string(unnamed ? "O_TMPFILE, " : "named, ") + strsignal(signal));
        TempDir dir;
        writeFileBytes(dir.file("old.wmf"), "precious");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            setUnnamedTemporaryFiles(unnamed);
            std::signal(SIGINT, SIG_DFL);
            std::signal(SIGTERM, SIG_DFL);
            g_raise = signal;
            if (signal != SIGXFSZ)
                std::signal(SIGXFSZ, raiseChosenSignal);
            const rlimit limit{1024, RLIM_INFINITY};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::string error;
            WriteFileReplacing(dir.file("old.wmf"), NewBytes, error);
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "status " << status;
        EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"old.wmf"});
        EXPECT_EQ(fs::file_size(dir.file("old.wmf")), 8u); // "precious"
    }
}

TEST(SafeWrite, ReplaceKeepsOwnerGroupAndModeAndSplitsAHardLink)
{
    TempDir dir;
    const std::string target = dir.file("shared.wmf");
    writeFileBytes(target, "old");
    ::link(target.c_str(), dir.file("hard link").c_str());
    const bool root = ::geteuid() == 0; // root may give the file away; anyone else keeps their own
    const uid_t owner = root ? 65534 : ::geteuid();
    const gid_t group = root ? 65534 : ::getegid();
    ASSERT_EQ(::chown(target.c_str(), owner, group), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    std::string error;
    ASSERT_TRUE(WriteFileReplacing(target, NewBytes, error)) << error;
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(std::vector<unsigned>({st.st_uid, st.st_gid, st.st_mode & 07777u}),
              std::vector<unsigned>({owner, group, 0640u}));
    EXPECT_EQ(readFileBytes(target), NewBytes);
    EXPECT_EQ(fs::file_size(dir.file("hard link")), 3u); // still "old"
}
