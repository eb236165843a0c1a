// The wildcards the Windows program expands itself, as cmd and PowerShell leave them. (Their expansion:
// tests/windows.)

#include "shell/wildcards.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(Wildcards, MatchLikeWindowsNames)
{
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"*.pat", "house.pat", true},  {"*.pat", "house.PAT", true},  {"*.pat", "house.pattern", false},
        {"h?use.pat", "house.pat", true}, {"h?use.pat", "hoouse.pat", false}, {"?.pat", "\xC3\xA9.pat", true},
        {"*a*b", "xaxxab", true},        {"*a*b", "xaxxa", false},       {"*.*", "README", true},
        {"*", "", true},
    };
    for (const auto &[pattern, name, matches] : cases)
        EXPECT_EQ(matchesWildcard(pattern, name), matches) << pattern << " " << name;
}
