// Reading a file whole: regular files only, never blocking on a pipe. (What a path names: the loader's tests.)

#include "fakes.h"

#include "os/fileio.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orvane;
using namespace orvane::testing;

TEST(ReadFile, RegularFilesUpToTheLimitAndNothingElse)
{
    // What "target" is: 'f' a file holding "pattern\r\n\x1a", 'd' a folder, 'p' a named pipe nobody
    // writes to (a blocking read would hang the test), 'm' nothing; "" in read: refused.
    const std::tuple<char, std::size_t, std::string, std::string> cases[] = {
        {'f', 100, "pattern\r\n\x1a", ""}, {'f', 3, "pat", ""}, {'f', 0, "", ""},
        {'d', 100, "", "Is a directory"}, {'p', 100, "", "Not a regular file."},
        {'m', 100, "", "No such file or directory"}};
    for (const auto &[kind, limit, read, reason] : cases) {
        SCOPED_TRACE(kind);
        TempDir dir;
        const std::string target = dir.file("target");
        kind == 'f' ? writeFileBytes(target, "pattern\r\n\x1a")
        : kind == 'd' ? void(std::filesystem::create_directory(target))
        : kind == 'p' ? void(::mkfifo(target.c_str(), 0600))
                      : void();
        FileBytes bytes{'o', 'l', 'd'};
        std::string error;
        const bool ok = ReadFileBytes(target, limit, bytes, error);
        EXPECT_EQ(ok, reason.empty());
        EXPECT_EQ(error, reason);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), read);
    }
}
