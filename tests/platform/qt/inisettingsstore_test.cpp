// The std-only settings reader gives what QSettingsStore gives, file by file.

#include "fakes.h"

#include "platform/inisettingsstore.h"
#include "platform/qt/qsettingsstore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

using namespace orvane;
using namespace orvane::testing;
namespace fs = std::filesystem;

namespace {

// QSettings takes the user's folder from the environment once per process and
// keeps each file it read, so the folders are set once, before any store is
// made, and every case gets an application name of its own.
struct Folders {
    TempDir root;
    Folders()
    {
        for (const char *name : {"config", "sys1", "sys2"})
            fs::create_directory(root.file(name));
        ::setenv("XDG_CONFIG_HOME", root.file("config").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", (root.file("sys1") + ":" + root.file("sys2")).c_str(), 1);
    }
};

const Folders &folders()
{
    static const Folders instance;
    return instance;
}

std::string freshApplication()
{
    static int count = 0;
    return "Orvane Case " + std::to_string(++count);
}

// Writes text as the application's file in folder ("config", "sys1", "sys2"),
// as its own file (app) or as the organization's (org).
void writeStoreFile(const std::string &app, const std::string &folder, bool own, const std::string &text)
{
    const std::string dir = folders().root.file(folder);
    if (own)
        fs::create_directories(dir + "/" + app);
    writeFileBytes(own ? dir + "/" + app + "/" + app + ".conf" : dir + "/" + app + ".conf", text);
}

// The key in section Pattern from both stores.
std::pair<std::optional<std::string>, std::optional<std::string>> readBoth(const std::string &app,
                                                                          const std::string &key)
{
    IniSettingsStore ini;
    QSettingsStore qsettings;
    return {ini.readText(app, "Pattern", key), qsettings.readText(app, "Pattern", key)};
}

constexpr const char *Same = "\x01same"; // no value of its own: both stores agree

struct Row {
    const char *what;
    std::string file; // $XDG_CONFIG_HOME/<app>/<app>.conf
    std::string key;
    std::optional<std::string> want;
};

} // namespace

TEST(IniSettingsStore, ReadsEachValueAsQSettings)
{
    const std::optional<std::string> missing;
    const Row rows[] = {
        {"plain", "[Pattern]\nPenSizeText=12 pt\nMarginTop=0.5\n", "PenSizeText", "12 pt"},
        {"spaces trimmed", "[Pattern]\n   MarginTop   =   1.5  \t \n", "MarginTop", "1.5"},
        {"empty value", "[Pattern]\nK=\n", "K", ""},
        {"quoted", "[Pattern]\nK=\"  a; b = c  \"\n", "K", "  a; b = c  "},
        {"quoted in part", "[Pattern]\nK=  x \"  y  \"  z  \n", "K", Same},
        {"unterminated quote", "[Pattern]\nK=\"open\nJ=1\n", "K", Same},
        {"escapes", "[Pattern]\nK=\"t\\tn\\nq\\\"s\\\\a\\?e\\'\"\n", "K", "t\tn\nq\"s\\a?e'"},
        {"hex and octal", "[Pattern]\nK=\\x41\\x42z \\101\\102, \\0x\n", "K", Same},
        {"unknown escape", "[Pattern]\nK=a\\qb\\x\\zc\n", "K", Same},
        {"hex wraps", "[Pattern]\nK=\\x10041\\xd800\n", "K", Same},
        {"escape ends value", "[Pattern]\nK=ab  \\\n", "K", Same},
        {"continued line", "[Pattern]\nK=one \\\n   two\nJ=x\n", "K", Same},
        {"continued crlf", "[Pattern]\r\nK=one\\\r\ntwo\r\n", "K", Same},
        {"unquoted commas", "[Pattern]\nK=a, b ,c\n", "K", "a,b,c"},
        {"quoted comma", "[Pattern]\nK=\"a,b\" , c\n", "K", "a,b,c"},
        {"empty items", "[Pattern]\nK=,\n", "K", ","},
        {"at in list", "[Pattern]\nK=a, @b\n", "K", Same},
        {"double at in list", "[Pattern]\nK=@@a, b\n", "K", "@a,b"},
        {"percent key", "[Pattern]\nPen%53ize%UFFFFText=1\nPen%53ize%55Text=2\n", "PenSizeUText", "2"},
        {"bad percent", "[Pattern]\nx%zz%=1\n", "x%zz%", "1"},
        {"comments", "; top\n[Pattern]\n;K=no\n  ; K=no\nK=yes ; not this\n", "K", "yes"},
        {"semicolon in quotes", "[Pattern]\nK=\"a;b\";c\n", "K", "a;b"},
        {"missing key", "[Pattern]\nJ=1\n", "K", missing},
        {"other section", "[Other]\nK=1\n", "K", missing},
        {"outside any section", "K=1\n[General]\nK=2\n", "K", missing},
        {"section is case-sensitive", "[pattern]\nK=1\n", "K", missing},
        {"key is case-sensitive", "[Pattern]\nk=1\n", "K", missing},
        {"section name trimmed", "[  Pattern  ]\nK=1\n", "K", "1"},
        {"escaped section", "[Pat%74ern]\nK=1\n", "K", "1"},
        {"unclosed section", "[Pattern\nK=1\n", "K", Same},
        {"duplicate key", "[Pattern]\nK=1\nK=2\n", "K", "2"},
        {"duplicate section", "[Pattern]\nK=1\n[Other]\nJ=x\n[Pattern]\nJ=2\n", "K", "1"},
        {"duplicate section later key", "[Pattern]\nJ=1\n[Other]\nJ=x\n[Pattern]\nJ=2\n", "J", "2"},
        {"subgroup before the key", "[Pattern]\nK=1\n[Pattern\\A]\nx=2\n", "K", Same},
        {"subgroup after the key", "[Pattern]\nA=1\n[Pattern\\K]\nx=2\n", "A", "1"},
        {"no equals", "[Pattern]\nK\nJ=1\n", "K", missing},
        {"key with spaces", "[Pattern]\n  a b  =1\n", "a b", "1"},
        {"quoted equals in key", "[Pattern]\n\"K=1\"=2\n", "\"K", Same},
        {"crlf", "[Pattern]\r\nK=1\r\n", "K", "1"},
        {"bom", "\xEF\xBB\xBF[Pattern]\nK=1\n", "K", "1"},
        {"utf-8", "[Pattern]\nK=Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD\n", "K", "Gr\xFC\xDF" "e \x80 ?"},
        {"utf-8 key", "[Pattern]\nPr\xC3\xBC" "f=1\n", "Pr\xC3\xBC" "f", "1"},
        {"latin-1 at end", "[Pattern]\nK=caf\xE9\n", "K", Same},
        {"latin-1 inside", "[Pattern]\nK=caf\xE9s\n", "K", Same},
        {"cut sequence then quote", "[Pattern]\nK=a\xC3\"x\"b\n", "K", Same},
        {"sequence across quote", "[Pattern]\nK=\xC3\"\"\xA9\n", "K", Same},
        {"stray bytes", "[Pattern]\nK=\xFF\x80\xC0\xAF\xED\xA0\x80\n", "K", Same},
        {"bom in value", "[Pattern]\nK=\xEF\xBB\xBFx\n", "K", Same},
        {"@String", "[Pattern]\nK=@String(a, b)\n", "K", Same},
        {"@ByteArray", "[Pattern]\nK=@ByteArray(\\xe9t\xC3\xA9)\n", "K", Same},
        {"@@", "[Pattern]\nK=@@x\n", "K", "@x"},
        {"@Invalid", "[Pattern]\nK=@Invalid()\n", "K", ""},
        {"@Rect", "[Pattern]\nK=@Rect(1 2 3 4)\n", "K", Same},
        {"@Size wrong count", "[Pattern]\nK=@Size(1)\n", "K", Same},
        {"@other", "[Pattern]\nK=@Foo(1)\n", "K", "@Foo(1)"},
        {"@Variant int", "[Pattern]\nK=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\a)\n", "K", "7"},
        {"@Variant text", "[Pattern]\nK=@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0h\\0i)\n", "K", "hi"},
        {"@Variant bool", "[Pattern]\nK=@Variant(\\0\\0\\0\\x1\\x1)\n", "K", Same},
        {"@Variant short", "[Pattern]\nK=@Variant(\\0\\0)\n", "K", Same},
        {"empty file", "", "K", missing},
    };
    folders();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const std::string app = freshApplication();
        writeStoreFile(app, "config", true, row.file);

        const auto [fromIni, fromQt] = readBoth(app, row.key);

        EXPECT_EQ(fromIni, fromQt);
        if (row.want != Same) {
            EXPECT_EQ(fromIni, row.want);
        }
    }
}

TEST(IniSettingsStore, ReadsTheFilesInQSettingsOrder)
{
    // Files: a = own user file, o = organization user file, 1/2 = own file in
    // XDG_CONFIG_DIRS 1/2, p = organization file in the first system folder.
    struct Case {
        std::string files;
        std::string key;
        std::optional<std::string> want;
    };
    const Case cases[] = {
        {"", "K", std::nullopt},   {"o", "K", "o"},  {"ao", "K", "a"}, {"a12p", "J", std::nullopt},
        {"op", "K", "o"},          {"1p", "K", "1"}, {"2p", "K", "2"}, {"p", "K", "p"},
        {"12", "K", "1"},          {"a2", "K", "a"},
    };
    folders();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.files);
        const std::string app = freshApplication();
        for (char f : c.files) {
            const std::string folder = f == 'a' || f == 'o' ? "config" : f == '2' ? "sys2" : "sys1";
            writeStoreFile(app, folder, f != 'o' && f != 'p', "[Pattern]\nK=" + std::string(1, f) + "\n");
        }

        const auto [fromIni, fromQt] = readBoth(app, c.key);

        EXPECT_EQ(fromIni, fromQt);
        EXPECT_EQ(fromIni, c.want);
    }
}

TEST(IniSettingsStore, AStoreFileThatIsNoRegularFileEmptiesTheStore)
{
    // In place of the own file ('a'), the organization's ('o') or the first
    // system folder's ('s'): a named pipe nobody writes to ('p') or a folder
    // ('d'); the own or organization file holds the key.
    const char *cases[] = {"ap", "op", "ad", "od", "sp", "sd"};
    folders();
    for (const char *c : cases) {
        SCOPED_TRACE(c);
        const std::string app = freshApplication();
        const std::string config = folders().root.file("config");
        fs::create_directories(config + "/" + app);
        const std::string own = config + "/" + app + "/" + app + ".conf", org = config + "/" + app + ".conf";
        const std::string system = folders().root.file("sys1") + "/" + app;
        fs::create_directories(system);
        const std::string odd = c[0] == 'a' ? own : c[0] == 'o' ? org : system + "/" + app + ".conf";
        writeFileBytes(c[0] == 'a' ? org : own, "[Pattern]\nK=1\n");
        c[1] == 'p' ? void(::mkfifo(odd.c_str(), 0600)) : void(fs::create_directory(odd));

        const auto [fromIni, fromQt] = readBoth(app, "K");

        EXPECT_EQ(fromIni, std::nullopt);
        EXPECT_EQ(fromQt, std::nullopt);
    }
}

TEST(IniSettingsStore, NamesTheUserFileAsQSettingsStore)
{
    // HOME and XDG_CONFIG_HOME (nullptr: unset) and the file both stores name.
    const std::tuple<const char *, const char *, std::string> cases[] = {
        {"/home/u", nullptr, "/home/u/.config/A/A.conf"},
        {"/home/u", "", "/home/u/.config/A/A.conf"},
        {"/home//u/./x/../", nullptr, "/home/u/.config/A/A.conf"},
        {"/home/u", "/etc/conf/", "/etc/conf//A/A.conf"},
        {"/home/u", "relative", "relative/A/A.conf"},
        {nullptr, nullptr, "//.config/A/A.conf"},
        {"", nullptr, "//.config/A/A.conf"},
        {"home", nullptr, "home/.config/A/A.conf"},
    };
    folders();
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    const std::string savedConfig = std::getenv("XDG_CONFIG_HOME");
    for (const auto &[home, configHome, want] : cases) {
        SCOPED_TRACE(std::string(home ? home : "(unset)") + " " + (configHome ? configHome : "(unset)"));
        home ? void(::setenv("HOME", home, 1)) : void(::unsetenv("HOME"));
        configHome ? void(::setenv("XDG_CONFIG_HOME", configHome, 1)) : void(::unsetenv("XDG_CONFIG_HOME"));

        const std::string fromIni = IniSettingsStore().location("A");
        const std::string fromQt = QSettingsStore().location("A");

        EXPECT_EQ(fromIni, fromQt);
        EXPECT_EQ(fromIni, want);
    }
    ::setenv("HOME", savedHome.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", savedConfig.c_str(), 1);
}
