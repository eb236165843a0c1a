// Windows' path rules, run on every system.

#include "os/windowspath.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(WindowsPath, AbsoluteFromADriveAndASlashOrAServerName)
{
    const std::pair<const char *, bool> cases[] = {
        {"C:\\Users", true}, {"z:/cache", true},      {"C:", false},         {"C:cache", false},
        {"1:\\x", false},    {"\\\\server\\share", true}, {"//server/share", true}, {"\\\\?\\C:\\x", true},
        {"\\\\\\x", false},  {"\\cache", false},      {"cache", false},      {"", false}};
    for (const auto &[path, absolute] : cases)
        EXPECT_EQ(isAbsoluteWindowsPath(path), absolute) << path;
}

TEST(WindowsPath, JoinedWithOneBackslash)
{
    const std::pair<const char *, const char *> cases[] = {{"C:\\cache", "C:\\cache\\f.tmp"},
                                                           {"C:\\cache\\", "C:\\cache\\f.tmp"},
                                                           {"C:/cache/", "C:/cache/f.tmp"},
                                                           {"", "\\f.tmp"}};
    for (const auto &[folder, joined] : cases)
        EXPECT_EQ(joinWindowsPath(folder, "f.tmp"), joined) << folder;
}
