// Windows' path rules, run on every system.

#include "os/windowspath.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(WindowsPath, AbsoluteFromADriveAndASlashOrAServerName)
{
    const struct {
        const char *path;
        bool absolute;
    } cases[] = {{"C:\\Users", true}, {"z:/cache", true},    {"C:", false},       {"C:cache", false},
                 {"1:\\x", false},    {"\\\\server\\share", true}, {"//server/share", true},
                 {"\\\\?\\C:\\x", true}, {"\\\\\\x", false}, {"\\cache", false}, {"cache", false}, {"", false}};
    for (const auto &c : cases) {
        const bool absolute = isAbsoluteWindowsPath(c.path);

        EXPECT_EQ(absolute, c.absolute) << c.path;
    }
}

TEST(WindowsPath, JoinedWithOneBackslash)
{
    const struct {
        const char *folder;
        const char *joined;
    } cases[] = {{"C:\\cache", "C:\\cache\\f.tmp"}, {"C:\\cache\\", "C:\\cache\\f.tmp"},
                 {"C:/cache/", "C:/cache/f.tmp"},   {"", "\\f.tmp"}};
    for (const auto &c : cases) {
        const std::string joined = joinWindowsPath(c.folder, "f.tmp");

        EXPECT_EQ(joined, c.joined) << c.folder;
    }
}
