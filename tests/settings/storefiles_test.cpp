// Which files make the store, in which order, and which are left out.

#include "fakes.h"

#include "settings/filesettingsstore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sys/stat.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

// The user's and the system's folders in a temporary folder, for this process.
struct StoreFolders {
    TempDir dir;
    StoreFolders()
    {
        ::setenv("XDG_CONFIG_HOME", dir.file("home").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (dir.file("sys1") + ":" + dir.file("sys2")).c_str(), 1);
    }
    // a, 1, 2: the application's own file at home, in sys1, in sys2; o, p, q: the organization's.
    std::string write(char which, const std::string &text) const
    {
        const std::map<char, std::string> files = {{'a', "home/App/App.conf"}, {'o', "home/App.conf"},
                                                   {'1', "sys1/App/App.conf"}, {'p', "sys1/App.conf"},
                                                   {'2', "sys2/App/App.conf"}, {'q', "sys2/App.conf"}};
        const std::string path = dir.file(files.at(which));
        fs::create_directories(fs::path(path).parent_path());
        writeFileBytes(path, text);
        return path;
    }
};

} // namespace

TEST(FileSettingsStore, FirstFileInTheReadmeOrderGivesTheValue)
{
    const std::pair<std::string, std::optional<std::string>> rows[] = {
        {"", std::nullopt}, {"ao", "a"}, {"o1", "o"}, {"12", "1"}, {"2p", "2"}, {"pq", "p"},
    };
    for (const auto &[files, want] : rows) {
        SCOPED_TRACE(files);
        const StoreFolders folders;
        for (const char which : files)
            folders.write(which, "[Pattern]\nK=" + std::string(1, which) + "\n");

        const auto value = FileSettingsStore().readText("App", "Pattern", "K");

        EXPECT_EQ(value, want);
    }
}

TEST(FileSettingsStore, FileThatCannotBeReadIsLeftOut)
{
    const std::size_t limit = FileSettingsStore::MaxFileBytes;
    const std::string key = "[Pattern]\nK=a\n";
    // What stands at the user's own file; the organization's file holds K=o.
    const std::pair<const char *, std::string> rows[] = {
        {"named pipe", "o"},
        {"one byte over the limit", "o"},
        {"at the limit", "a"},
    };
    for (const auto &[what, want] : rows) {
        SCOPED_TRACE(what);
        const StoreFolders folders;
        folders.write('o', "[Pattern]\nK=o\n");
        const std::string own = folders.write('a', key + std::string(limit - key.size() + (want == "o" ? 1 : 0), ';'));
        if (what == std::string("named pipe")) {
            fs::remove(own);
            ASSERT_EQ(::mkfifo(own.c_str(), 0600), 0);
        }

        const auto value = FileSettingsStore().readText("App", "Pattern", "K");

        EXPECT_EQ(value, want);
    }
}

TEST(FileSettingsStore, NamesTheFileTheValueCameFrom)
{
    const StoreFolders folders;
    folders.write('a', "[Pattern]\nJ=1\n");
    const std::string system = folders.write('1', "[Pattern]\nK=abc\n");
    FileSettingsStore store;

    const auto value = store.readText("App", "Pattern", "K");

    EXPECT_EQ(value, "abc");
    EXPECT_EQ(store.locationOf("App", "Pattern", "K"), system);
}
