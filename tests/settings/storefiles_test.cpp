// Which files make the store, in which order, and which are left out.

#include "fakes.h"

#include "settings/filesettingsstore.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
    std::string write(const std::string &file, const std::string &text) const
    {
        fs::create_directories(fs::path(dir.file(file)).parent_path());
        writeFileBytes(dir.file(file), text);
        return dir.file(file);
    }
};

} // namespace

TEST(FileSettingsStore, FirstFileInTheReadmeOrderGivesTheValue)
{
    const StoreFolders folders;
    const std::string files[] = {"home/App/App.conf", "home/App.conf", "sys1/App/App.conf",
                                 "sys2/App/App.conf", "sys1/App.conf", "sys2/App.conf"};
    for (const std::string &file : files)
        folders.write(file, "[Pattern]\nK=" + file + "\n");
    // Each file gives the value until it is removed, then the next one does.
    for (const std::string &file : files) {
        const auto value = FileSettingsStore().readText("App", "Pattern", "K");

        EXPECT_EQ(value, file);
        fs::remove(folders.dir.file(file));
    }
    EXPECT_EQ(FileSettingsStore().readText("App", "Pattern", "K"), std::nullopt);
}

TEST(FileSettingsStore, FileThatCannotBeReadIsLeftOut)
{
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
        folders.write("home/App.conf", "[Pattern]\nK=o\n");
        const std::size_t padding = FileSettingsStore::MaxFileBytes - key.size() + (want == "o" ? 1 : 0);
        const std::string own = folders.write("home/App/App.conf", key + std::string(padding, ';'));
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
    folders.write("home/App/App.conf", "[Pattern]\nJ=1\n");
    const std::string system = folders.write("sys1/App/App.conf", "[Pattern]\nK=abc\n");
    FileSettingsStore store;

    const auto value = store.readText("App", "Pattern", "K");

    EXPECT_EQ(value, "abc");
    EXPECT_EQ(store.locationOf("App", "Pattern", "K"), system);
}
