// The store's reader against QSettings on the same files: what QSettings
// writes, and what people write by hand within the README's format.

#include "fakes.h"

#include "text/windows1252.h"
#include "settings/storefile.h"

#include <QSettings>
#include <QVariant>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::testing;

namespace {

std::optional<std::string> readByQSettings(const std::string &path)
{
    const QSettings settings(QString::fromStdString(path), QSettings::IniFormat);
    if (!settings.contains("Pattern/K"))
        return std::nullopt;
    return utf8ToWindows1252(settings.value("Pattern/K").toString().toStdString());
}

} // namespace

TEST(StoreFile, ReadsWhatQSettingsWritesAsQSettings)
{
    const std::pair<const char *, QVariant> rows[] = {
        {"blanks kept", QStringLiteral("  1 / 8  ")},
        {"comment and list marks", QStringLiteral("a; b, c = d")},
        {"quotes and backslashes", QStringLiteral("say \"C:\\dir\"")},
        {"controls", QString::fromUtf8("t\tn\nr\r\x01" "a")},
        {"leading at", QStringLiteral("@x")},
        {"empty", QString()},
        {"code page", QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD")},
        {"number", -255},
        {"truth value", true},
        {"bytes", QByteArray("1/2")},
    };
    TempDir dir;
    for (const auto &[what, value] : rows) {
        SCOPED_TRACE(what);
        const std::string path = dir.file(std::string(what) + ".conf");
        QSettings(QString::fromStdString(path), QSettings::IniFormat).setValue("Pattern/K", value);

        const auto ours = storeFileValue(readFileText(path), "Pattern", "K");

        ASSERT_TRUE(ours.has_value()) << readFileText(path);
        EXPECT_EQ(ours, readByQSettings(path)) << readFileText(path);
    }
}

// What people write by hand: read as QSettings reads it, or (false) where QSettings reads it otherwise, as the
// README settles it.
TEST(StoreFile, ReadsHandWrittenFilesAsQSettingsOrAsTheReadmeSettles)
{
    const std::tuple<const char *, std::string, std::optional<std::string>, bool> rows[] = {
        {"blanks", "[Pattern]\n \t K \t=\t 1.5  \n", "1.5", true},
        {"comments", "; top\n[Pattern]\n;K=no\n  ; K=no\nK=yes ; not this\n", "yes", true},
        {"crlf", "[Pattern]\r\nK=1\r\nJ=2\r\n", "1", true},
        {"cr", "[Pattern]\rK=1\rJ=2\r", "1", true},
        {"byte-order mark on the key's line", "[Pattern]\n\xEF\xBB\xBFK=255\n", "255", true},
        {"hex and octal", "[Pattern]\nK=\\x41\\102\n", "AB", true},
        {"later line wins", "[Pattern]\nK=1\nK=2\n", "2", true},
        {"section twice", "[Pattern]\nK=1\n[Other]\nK=x\n[Pattern]\nJ=2\n", "1", true},
        {"section name blanks", "[  Pattern  ]\nK=1\n", "1", true},
        {"no section", "K=1\n", std::nullopt, true},
        {"case-sensitive", "[Pattern]\nk=1\n", std::nullopt, true},
        {"percent u in a key", "[Pattern]\nK=1\n%u004B=2\n", "1", true},
        {"no equals", "[Pattern]\nK\nJ=1\n", std::nullopt, true},
        {"hash comment", "[Pattern]\n#K=1\n", std::nullopt, true},
        {"no list", "[Pattern]\nK=a, b ,c\n", "a, b ,c", false},
        {"no continued line", "[Pattern]\nK=one \\\n two\n", "one", false},
        {"unknown escape", "[Pattern]\nK=a\\qb\n", "aqb", false},
        {"byte-order mark before a section", "[Other]\n\xEF\xBB\xBF[Pattern]\nK=1\n", "1", false},
        {"Latin-1", "[Pattern]\nK=caf\xE9\n", "caf\xE9", false},
        {"past Unicode", "[Pattern]\nK=\\x10041\n", "?", false},
        {"open quote", "[Pattern]\nK=\"open\nJ=1\n", "open", false},
        {"other type", "[Pattern]\nK=@Rect(1 2 3 4)\n", "@Rect(1 2 3 4)", false},
    };
    TempDir dir;
    for (const auto &[what, file, want, asQSettings] : rows) {
        SCOPED_TRACE(what);
        const std::string path = dir.file(std::string(what) + ".conf");
        writeFileBytes(path, file);

        const auto ours = storeFileValue(readFileText(path), "Pattern", "K");
        const auto theirs = readByQSettings(path);

        EXPECT_EQ(ours, want);
        EXPECT_EQ(ours == theirs, asQSettings) << "QSettings: " << theirs.value_or("(none)");
    }
}
