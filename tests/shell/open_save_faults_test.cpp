// The picture copy waits for another program's copy and finds its folder
// without HOME; a page of no pixels is refused; a name too long says so.

#include "harness.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace orvane;
using namespace orvane::testing;

TEST(PictureLoad, WaitsWhileAnotherProgramHoldsTheCopy)
{
    LoaderHarness h;
    std::filesystem::create_directories(h.pictureFolder());
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) { // holds the lock for 300 ms, half way through a copy of its own
        const int fd = ::open(h.picturePath().c_str(), O_WRONLY | O_CREAT, 0600);
        ::flock(fd, LOCK_EX);
        (void)!::write(fd, "other", 5);
        (void)!::write(ready[1], "x", 1);
        ::usleep(300000);
        ::_exit(0);
    }
    char x;
    ASSERT_EQ(::read(ready[0], &x, 1), 1);
    const std::string picture(5000, 'p');
    PatternWriter w;
    w.header(1, 6, 2).settings15(PatternWriter::Page{}, true).integer(0).integer(0).picture(picture);
    EXPECT_TRUE(h.load(w));
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(h.box.boxes.empty());
    EXPECT_EQ(readFileBytes(h.file.temporaryPicturePath()), std::vector<unsigned char>(picture.begin(), picture.end()));
}

TEST(PictureLoad, FolderWithoutHomeComesFromThePasswordDatabase)
{
    const std::string database = std::string(::getpwuid(::geteuid())->pw_dir) + "/.cache/Veltrum Orvane";
    using Env = std::optional<std::string>;
    const auto set = [](const char *name, const Env &v) { v ? ::setenv(name, v->c_str(), 1) : ::unsetenv(name); };
    const auto get = [](const char *name) { const char *v = std::getenv(name); return v ? Env(v) : std::nullopt; };
    const Env home = get("HOME"), cache = get("XDG_CACHE_HOME");
    const std::tuple<Env, Env, std::string> cases[] = {{std::nullopt, std::nullopt, database},
                                                       {"relative", "relative too", database},
                                                       {"/h", std::nullopt, "/h/.cache/Veltrum Orvane"}};
    for (const auto &[h, c, folder] : cases) {
        set("HOME", h);
        set("XDG_CACHE_HOME", c);
        EXPECT_EQ(TemporaryPicture().path(), folder + "/vrtmimage.tmp"); // the path a message names
    }
    set("HOME", home);
    set("XDG_CACHE_HOME", cache);
}

TEST(SaveAsMetafile, PageThatRoundsToNoPixelsIsRefusedLikeAnEmptyPage)
{
    // Inches; at 15 twips a pixel 0.005 inch is 0.48 pixels.
    for (const auto &[width, height] : {std::pair{1e-30f, 1e-30f}, {8.5f, 0.005f}, {0.005f, 11.0f}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        MainFormHarness h;
        PatternWriter w;
        PatternWriter::Page page;
        page.defWidth = width;
        page.defHeight = height;
        h.run("open:" + h.write(w.header(2, 1, 0).settings21(page).integer(1).line(0, 0, 10, 10).integer(0).noPicture()));
        ASSERT_EQ(h.steps()[0], StepDone);
        h.run("save:" + h.dir.file("tiny.wmf"));
        EXPECT_EQ(h.steps()[4], StepFailed);
        EXPECT_FALSE(std::filesystem::exists(h.dir.file("tiny.wmf")));
        ASSERT_EQ(h.box.boxes.size(), 1u);
        EXPECT_EQ(h.box.boxes[0].text, "Error creating metafile " + h.dir.file("tiny.wmf")
                                           + ".\r\n\r\nThe pattern page has no width or height to scale from.");
    }
}

TEST(LoadPattern, NameLongerThanTheSystemAllowsSaysSo)
{
    LoaderHarness h;
    std::string longPath = h.dir.str();
    while (longPath.size() < 5000)
        longPath += "/folder";
    for (const std::string &path : {h.dir.file(std::string(300, 'n') + ".pat"), longPath + "/x.pat"}) {
        h.box.clear();
        EXPECT_FALSE(h.file.LoadPattern(path));
        ASSERT_EQ(h.box.boxes.size(), 1u);
        EXPECT_EQ(h.box.boxes[0].text, "The selected file name is longer than the system allows.\r\nFile: " + path);
    }
}
