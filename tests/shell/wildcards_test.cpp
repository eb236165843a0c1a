// The wildcards the Windows program expands itself, as cmd and PowerShell leave them.

#include "fakes.h"

#include "shell/wildcards.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

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

TEST(Wildcards, ExpandToSortedFilesAndLeaveTheRestAlone)
{
    TempDir dir;
    for (const char *name : {"b.pat", "A.pat", "c.PAT", "notes.txt"})
        writeFileBytes(dir.file(name), "x");
    std::filesystem::create_directory(dir.file("folder.pat"));
    const std::string folder = dir.file("");

    const std::vector<std::string> got = expandWildcards({"-q", folder + "*.pat", folder + "z*", "plain.pat"});

    const std::vector<std::string> expected = {"-q",           folder + "A.pat", folder + "b.pat",
                                               folder + "c.PAT", folder + "z*",  "plain.pat"};
    EXPECT_EQ(got, expected);
}
