// Saving over a target: links followed, pipes written through, kills leave nothing, owner kept, umask obeyed.

#include "fakes.h"
#include "samebytes.h"

#include "os/fileio.h"
#include "savesignals.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

const std::vector<unsigned char> NewBytes(3000, 'n');

int g_raise = 0;
extern "C" void raiseChosenSignal(int) { ::raise(g_raise); }

} // namespace

TEST(SafeWrite, EachKindOfTargetIsWrittenWhereUsersExpect)
{
    // At "target": 'l' a link into another folder, 'd' a dangling link, 'p' a named pipe with a reader,
    // 'n' one nobody reads (3 s); an empty reason: saved, into written.
    const std::tuple<char, std::string, std::string, std::vector<std::string>> cases[] = {
        {'l', "", "other/real.wmf", {"other", "other/real.wmf", "target"}},
        {'d', "", "made.wmf", {"made.wmf", "target"}},
        {'p', "", "copy", {"copy", "target"}},
        {'n', "No program reads from the named pipe.", "", {"target"}}};
    for (const auto &[kind, reason, written, after] : cases) {
        SCOPED_TRACE(kind);
        TempDir dir;
        const std::string target = dir.file("target");
        if (kind == 'l') {
            fs::create_directory(dir.file("other"));
            writeFileBytes(dir.file("other/real.wmf"), "old");
        }
        kind == 'l' ? fs::create_symlink("other/real.wmf", target)
        : kind == 'd' ? fs::create_symlink("made.wmf", target)
                      : void(::mkfifo(target.c_str(), 0600));
        const auto type = fs::symlink_status(target).type();
        const pid_t reader = kind == 'p' ? ::fork() : -1;
        if (reader == 0) {
            ::alarm(5); // should the save never open the pipe
            const auto bytes = readFileBytes(target);
            writeFileBytes(dir.file("copy"), std::string(bytes.begin(), bytes.end()));
            ::_exit(0);
        }
        std::string error;
        EXPECT_EQ(WriteFileReplacing(target, NewBytes, error), reason.empty());
        EXPECT_EQ(error, reason);
        if (reader > 0)
            ::waitpid(reader, nullptr, 0);
        EXPECT_EQ(fs::symlink_status(target).type(), type);
        if (!written.empty()) {
            EXPECT_TRUE(sameBytes(readFileBytes(dir.file(written)), NewBytes));
        }
        EXPECT_EQ(dir.names(), after); // nothing left beside
    }
}

TEST(SafeWrite, ANullDeviceDiscardsAndStaysADevice)
{
    // Root makes a null device of its own, so that a fault replaces that one
    // and not the machine's /dev/null.
    TempDir dir;
    const std::string own = dir.file("null");
    const std::string device = ::mknod(own.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? own : "/dev/null";
    std::string error;

    const bool written = WriteFileReplacing(device, NewBytes, error);

    EXPECT_TRUE(written) << error;
    EXPECT_EQ(fs::symlink_status(device).type(), fs::file_type::character);
}

TEST(SafeWrite, RefusedOrKilledSaveLeavesNoTemporaryFile)
{
    // The size limit stops the write half way. With SIGXFSZ ignored (0) the write fails and says why;
    // else SIGXFSZ ends the child (standing for SIGKILL) or its handler raises the signal of the case,
    // which the command line's watch (SaveSignals) answers by removing a named temporary file.
    for (const auto &[unnamed, signal] :
         {std::pair{true, 0}, {false, 0}, {true, SIGXFSZ}, {true, SIGTERM}, {false, SIGTERM}, {false, SIGINT}}) {
        SCOPED_TRACE(std::string(unnamed ? "O_TMPFILE, " : "named, ") + (signal ? strsignal(signal) : "refused"));
        TempDir dir;
        writeFileBytes(dir.file("old.wmf"), "precious");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGINT, SIG_DFL);
            std::signal(SIGTERM, SIG_DFL);
            SaveSignals watch;
            g_raise = signal;
            if (signal != SIGXFSZ)
                std::signal(SIGXFSZ, signal ? raiseChosenSignal : SIG_IGN);
            const rlimit limit{1024, RLIM_INFINITY};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            std::string error;
            const bool saved = WriteFileReplacing(dir.file("old.wmf"), NewBytes, error, SaveOptions{&watch, unnamed});
            ::_exit(!saved && error == "File too large" ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        const int outcome = WIFSIGNALED(status) ? WTERMSIG(status) : status; // the signal, or the exit status
        EXPECT_EQ(outcome, signal) << "status " << status;
        EXPECT_EQ(dir.names(), std::vector<std::string>{"old.wmf"});
        EXPECT_EQ(readFileText(dir.file("old.wmf")), "precious");
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
    EXPECT_EQ(readFileText(dir.file("hard link")), "old");
}

TEST(SafeWrite, NewFileTakesTheUmaskButKeepsOwnerReadAndWrite)
{
    // 0777 (as emscripten starts) would leave a file nobody may open: it gets the usual 0644.
    const std::pair<mode_t, fs::perms> cases[] = {{077, fs::perms(0600)}, {0777, fs::perms(0644)}};
    for (const auto &[mask, mode] : cases) {
        SCOPED_TRACE(mask);
        TempDir dir;
        const mode_t before = ::umask(mask);
        std::string error;

        const bool saved = WriteFileReplacing(dir.file("new.wmf"), NewBytes, error);

        const mode_t after = ::umask(before);
        EXPECT_TRUE(saved) << error;
        EXPECT_EQ(fs::status(dir.file("new.wmf")).permissions(), mode);
        EXPECT_EQ(after, mask); // read, not changed
    }
}
