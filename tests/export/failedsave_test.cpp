// A save that fails must not cost the user a file: whatever stood at the
// target stays byte for byte, and no temporary file is left beside it.

#include "formfixture.h"

#include "export/libemf.h"
#include "shell/libid.h"
#include "view/drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace orvane;
using orvane::testing::PatternWriter;
using Boxes = orvane::testing::RecordingBoxes;
namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

class Folder {
public:
    Folder()
    {
        std::string pattern = (fs::temp_directory_path() / "orvane-save-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~Folder()
    {
        std::error_code error;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(m_path, error);
    }
    std::string file(const std::string &name) const { return (m_path / name).string(); }
    const fs::path &path() const { return m_path; }

    // Everything in the folder apart from the names given.
    std::vector<std::string> othersThan(const std::vector<std::string> &names) const
    {
        std::vector<std::string> others;
        for (const auto &entry : fs::directory_iterator(m_path)) {
            const std::string name = entry.path().filename().string();
            if (std::find(names.begin(), names.end(), name) == names.end())
                others.push_back(name);
        }
        return others;
    }

private:
    fs::path m_path;
};

const Bytes Precious = {'a', 'n', ' ', 'e', 'a', 'r', 'l', 'i', 'e', 'r', ' ', 'm', 'e', 't', 'a', 'f', 'i', 'l', 'e'};

void writeBytes(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void addLine(Drawing &drawing, float x1, float y1, float x2, float y2)
{
    const int i = drawing.OutLine.count();
    ASSERT_TRUE(drawing.OutLine.addMember(i));
    PatternLine &line = drawing.OutLine.member(i);
    line.X1 = x1;
    line.Y1 = y1;
    line.X2 = x2;
    line.Y2 = y2;
    drawing.OutLine.setVisible(i, true);
}

// A letter page (12240 x 15840 twips) saved at 816 x 1056 pixels.
constexpr float PageWidth = 12240.0f;
constexpr float PageHeight = 15840.0f;
constexpr float PixelsX = 816.0f;
constexpr float PixelsY = 1056.0f;

const std::string RangeText = "A point of the pattern lies outside the range a metafile can hold";

TEST(SaveMetafile, CoordinateOutOfRangeKeepsExistingFile)
{
    Folder folder;
    const std::string target = folder.file("pattern.wmf");
    writeBytes(target, Precious);
    Drawing drawing;
    addLine(drawing, 1440, 1440, 2880, 1440);
    // 1e6 twips at 816 / 12240 pixels per twip is 66667: beyond a 16-bit field.
    addLine(drawing, 0, 0, 1e6f, 0);
    Boxes box;

    EXPECT_FALSE(LibEMF::SaveMetafileTo(PixelsX, PixelsY, target, drawing, PageWidth, PageHeight, box));

    EXPECT_EQ(readBytes(target), Precious);
    EXPECT_TRUE(folder.othersThan({"pattern.wmf"}).empty());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text.rfind("Error creating metafile " + target + ".", 0), 0u) << box.shown[0].text;
    EXPECT_NE(box.shown[0].text.find(RangeText), std::string::npos) << box.shown[0].text;
    EXPECT_EQ(box.shown[0].title, LibId::ApplicationTitle());
    EXPECT_EQ(box.beeps, 1);
}

TEST(SaveMetafile, NotANumberCoordinateKeepsExistingFile)
{
    Folder folder;
    const std::string target = folder.file("pattern.wmf");
    writeBytes(target, Precious);
    Drawing drawing;
    addLine(drawing, std::numeric_limits<float>::quiet_NaN(), 0, 10, 10);
    Boxes box;

    EXPECT_FALSE(LibEMF::SaveMetafileTo(PixelsX, PixelsY, target, drawing, PageWidth, PageHeight, box));

    EXPECT_EQ(readBytes(target), Precious);
    EXPECT_TRUE(folder.othersThan({"pattern.wmf"}).empty());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].text.find(RangeText), std::string::npos) << box.shown[0].text;
}

TEST(SaveMetafile, EmptyPageKeepsExistingFile)
{
    Folder folder;
    const std::string target = folder.file("pattern.wmf");
    writeBytes(target, Precious);
    Drawing drawing;
    addLine(drawing, 0, 0, 10, 10);
    Boxes box;

    EXPECT_FALSE(LibEMF::SaveMetafileTo(PixelsX, PixelsY, target, drawing, 0.0f, PageHeight, box));

    EXPECT_EQ(readBytes(target), Precious);
    EXPECT_TRUE(folder.othersThan({"pattern.wmf"}).empty());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].text.find("The pattern page has no width or height"), std::string::npos) << box.shown[0].text;
}

TEST(SaveMetafile, MissingFolderFailsWithReason)
{
    Folder folder;
    const std::string target = folder.file("no such folder/pattern.wmf");
    Drawing drawing;
    addLine(drawing, 0, 0, 10, 10);
    Boxes box;

    EXPECT_FALSE(LibEMF::SaveMetafileTo(PixelsX, PixelsY, target, drawing, PageWidth, PageHeight, box));

    EXPECT_FALSE(fs::exists(folder.file("no such folder")));
    EXPECT_TRUE(folder.othersThan({}).empty());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Error creating metafile " + target + ".\r\n\r\nNo such file or directory");
}

TEST(SaveMetafile, UnwritableFolderKeepsExistingFile)
{
    // Permission bits do not stop root; the size limit test covers a refused
    // write for that case.
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, which writes into read-only folders";
    Folder folder;
    const std::string target = folder.file("pattern.wmf");
    writeBytes(target, Precious);
    ::chmod(folder.path().c_str(), 0500);
    Drawing drawing;
    addLine(drawing, 0, 0, 10, 10);
    Boxes box;

    const bool saved = LibEMF::SaveMetafileTo(PixelsX, PixelsY, target, drawing, PageWidth, PageHeight, box);
    ::chmod(folder.path().c_str(), 0700);

    EXPECT_FALSE(saved);
    EXPECT_EQ(readBytes(target), Precious);
    EXPECT_TRUE(folder.othersThan({"pattern.wmf"}).empty());
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, "Error creating metafile " + target + ".\r\n\r\nPermission denied");
}

// The save runs in a child whose file size limit is smaller than the
// metafile, so the write itself is refused half way (EFBIG; SIGXFSZ ignored).
// The child reports through its exit status: 0 the save failed with the
// expected message, 1 it claimed success, 2 the message was wrong.
TEST(SaveMetafile, FileSizeLimitKeepsExistingFile)
{
    Folder folder;
    const std::string target = folder.file("pattern.wmf");
    writeBytes(target, Precious);
    Drawing drawing;
    for (int i = 0; i < 300; ++i)
        addLine(drawing, 0, float(i * 10), 1440, float(i * 10));
    const std::size_t full = LibEMF::BuildMetafile(drawing, PageWidth, PageHeight, PixelsX, PixelsY).bytes.size();
    ASSERT_GT(full, 4096u); // well above the limit set below

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        Boxes box;
        const bool saved = LibEMF::SaveMetafileTo(PixelsX, PixelsY, target, drawing, PageWidth, PageHeight, box);
        if (saved)
            ::_exit(1);
        const std::string expected = "Error creating metafile " + target + ".\r\n\r\nFile too large";
        ::_exit(box.shown.size() == 1 && box.shown[0].text == expected ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "child ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(readBytes(target), Precious);
    EXPECT_TRUE(folder.othersThan({"pattern.wmf"}).empty());
}

TEST(SaveMetafile, FileSizeLimitCreatesNoFile)
{
    Folder folder;
    const std::string target = folder.file("new.wmf");
    Drawing drawing;
    for (int i = 0; i < 300; ++i)
        addLine(drawing, 0, float(i * 10), 1440, float(i * 10));

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{512, 512};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        Boxes box;
        ::_exit(LibEMF::SaveMetafileTo(PixelsX, PixelsY, target, drawing, PageWidth, PageHeight, box) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    EXPECT_TRUE(folder.othersThan({}).empty());
}

class SaveAsMetafile : public orvane::testing::FormFixture {};

TEST_F(SaveAsMetafile, FailedSaveShowsNotSavedAndKeepsExistingFile)
{
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(0, 0, 1e6f, 0).integer(0).noPicture();
    ASSERT_TRUE(open(w, "far.pat"));
    const std::string target = file("far.wmf");
    writeBytes(target, Precious);

    EXPECT_FALSE(save(target));

    EXPECT_EQ(form.stepStates()[4], StepFailed);
    EXPECT_EQ(form.panel().textFilename[1], "Error: File not saved");
    EXPECT_TRUE(form.panel().textFilenameVisible[1]);
    EXPECT_EQ(readBytes(target), Precious);
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(m_folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"cache", "far.pat", "far.wmf"}));
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_NE(box.shown[0].text.find(RangeText), std::string::npos) << box.shown[0].text;
}

} // namespace
