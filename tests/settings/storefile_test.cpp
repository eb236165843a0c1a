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

std::optional<std::string> readByQSettings(const std::string &path, const std::string &key)
{
    const QSettings settings(QString::fromStdString(path), QSettings::IniFormat);
    const QString name = QStringLiteral("Pattern/") + QString::fromStdString(key);
    if (!settings.contains(name))
        return std::nullopt;
    return utf8ToWindows1252(settings.value(name).toString().toStdString());
}

std::optional<std::string> readByOurs(const std::string &path, const std::string &key)
{
    return storeFileValue(readFileText(path), "Pattern", key);
}

} // namespace

TEST(StoreFile, ReadsWhatQSettingsWritesAsQSettings)
{
    const std::pair<const char *, QVariant> rows[] = {
        {"text", QStringLiteral("1/64")},
        {"blanks kept", QStringLiteral("  1 / 8  ")},
        {"comment and list marks", QStringLiteral("a; b, c = d")},
        {"quotes and backslashes", QStringLiteral("say \"C:\\dir\"")},
        {"controls", QString::fromUtf8("t\tn\nr\r\x01" "a")},
        {"leading at", QStringLiteral("@x")},
        {"empty", QString()},
        {"code page", QString::fromUtf8("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE4\xB8\xAD")},
        {"whole", 7},
        {"negative", -255},
        {"16-bit", static_cast<short>(300)},
        {"64-bit", static_cast<qlonglong>(16777215)},
        {"decimal", 0.015625},
        {"whole double", 11.0},
        {"tiny", 1e-30},
        {"third", 1.0 / 3},
        {"float", 0.1f},
        {"true", true},
        {"false", false},
        {"bytes", QByteArray("1/2")},
    };
    TempDir dir;
    int n = 0;
    for (const auto &[what, value] : rows) {
        SCOPED_TRACE(what);
        const std::string path = dir.file(std::to_string(++n) + ".conf");
        QSettings(QString::fromStdString(path), QSettings::IniFormat).setValue("Pattern/K", value);

        const auto ours = readByOurs(path, "K");

        EXPECT_EQ(ours, readByQSettings(path, "K")) << readFileText(path);
        EXPECT_TRUE(ours.has_value());
    }
}

TEST(StoreFile, ReadsHandWrittenFilesAsQSettings)
{
    struct Row {
        const char *what;
        std::string file;
        std::optional<std::string> want;
    };
    const Row rows[] = {
        {"plain", "[Pattern]\nJ=1\nK=12 pt\n", "12 pt"},
        {"blanks", "[Pattern]\n \t K \t=\t 1.5  \n", "1.5"},
        {"comments", "; top\n[Pattern]\n;K=no\n  ; K=no\nK=yes ; not this\n", "yes"},
        {"crlf", "[Pattern]\r\nK=1\r\nJ=2\r\n", "1"},
        {"cr", "[Pattern]\rK=1\rJ=2\r", "1"},
        {"byte-order mark", "\xEF\xBB\xBF[Pattern]\nK=1\n", "1"},
        {"byte-order mark on the key's line", "[Pattern]\n\xEF\xBB\xBFK=255\n", "255"},
        {"quoted", "[Pattern]\nK=\"  a; b = c  \"\n", "  a; b = c  "},
        {"escapes", "[Pattern]\nK=\"t\\tn\\nq\\\"s\\\\a\"\n", "t\tn\nq\"s\\a"},
        {"hex and octal", "[Pattern]\nK=\\x41\\102\n", "AB"},
        {"empty", "[Pattern]\nK=\n", ""},
        {"later line wins", "[Pattern]\nK=1\nK=2\n", "2"},
        {"section twice", "[Pattern]\nK=1\n[Other]\nK=x\n[Pattern]\nJ=2\n", "1"},
        {"section name blanks", "[  Pattern  ]\nK=1\n", "1"},
        {"other section", "[Other]\nK=1\n", std::nullopt},
        {"no section", "K=1\n", std::nullopt},
        {"case-sensitive section", "[pattern]\nK=1\n", std::nullopt},
        {"case-sensitive key", "[Pattern]\nk=1\n", std::nullopt},
        {"no equals", "[Pattern]\nK\nJ=1\n", std::nullopt},
        {"double at", "[Pattern]\nK=@@x\n", "@x"},
        {"text wrapped", "[Pattern]\nK=@String(a b)\n", "a b"},
        {"empty file", "", std::nullopt},
    };
    TempDir dir;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        const std::string path = dir.file(std::string(row.what) + ".conf");
        writeFileBytes(path, row.file);

        const auto ours = readByOurs(path, "K");

        EXPECT_EQ(ours, readByQSettings(path, "K"));
        EXPECT_EQ(ours, row.want);
    }
}

// Where QSettings reads a hand-written file otherwise, the README's rule holds.
TEST(StoreFile, SettlesWhatQSettingsReadsOtherwiseAsTheReadmeSays)
{
    const std::pair<std::string, std::optional<std::string>> rows[] = {
        {"[Pattern]\nK=a, b ,c\n", "a, b ,c"},
        {"[Pattern]\nK=one \\\n two\n", "one"},
        {"[Pattern]\nK=a\\qb\n", "aqb"},
        {"[Pattern]\n#K=1\n", std::nullopt},
        {"[Other]\n\xEF\xBB\xBF[Pattern]\nK=1\n", "1"},
        {"[Pattern]\nK=caf\xE9\n", "caf\xE9"},
        {"[Pattern]\nK=\\x10041\n", "?"},
        {"[Pattern]\nK=\"open\nJ=1\n", "open"},
        {"[Pattern]\nK=@Rect(1 2 3 4)\n", "@Rect(1 2 3 4)"},
    };
    for (const auto &[file, want] : rows) {
        SCOPED_TRACE(file);

        const auto value = storeFileValue(file, "Pattern", "K");

        EXPECT_EQ(value, want);
    }
}
