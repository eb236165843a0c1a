// The window's loader and orvane-convert read one store the same way.

#include "convertrunner.h"
#include "patternwriter.h"

#include "text/floattext.h"
#include "text/windows1252.h"
#include "settings/usersettingsstore.h"
#include "shell/mainform.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace orvane;
using namespace orvane::testing;

namespace {

// The fields a version 1.1 pattern takes from the store, as --info prints them.
std::vector<std::string> storedFields(const PatternSettings &s)
{
    return {"\"PenSizeValue\":" + shortestText(s.PenSizeValue),
            "\"PenSizeText\":\"" + windows1252ToUtf8(s.PenSizeText) + "\"",
            "\"PenColor\":" + std::to_string(s.PenColor),
            std::string("\"BandW\":") + (s.BandW != 0 ? "true" : "false"),
            "\"BitmapPenSize\":" + shortestText(s.BitmapPenSize),
            "\"BitmapSizeWidth\":" + shortestText(s.BitmapSizeWidth),
            "\"BitmapSizeHeight\":" + shortestText(s.BitmapSizeHeight)};
}

} // namespace

TEST(SameStore, WindowAndCommandLineReadTheSameSettings)
{
    const ConvertEnvironment env;
    ::setenv("XDG_CONFIG_HOME", env.configHome().c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", env.file("no system folder").c_str(), 1);
    env.writeSettings("[Pattern]\nPenSizeValue=0.125\nPenSizeText=1/8\nPenColor=255\nBandW=false\n"
                      "BitmapPenSize=2\nBitmapSizeWidth=640\nMarginTop=0.25\nMarginRight=0.25\n"
                      "MarginBottom=0.25\nMarginLeft=0.25\nMetricPen=true\nMetricPage=true\n"
                      "DefWidth=21\nDefHeight=29.7\n");
    const std::string pattern = env.file("v11.pat");
    PatternWriter().header(1, 1, 0).settings11({}).integer(0).integer(0).noPicture().save(pattern);
    FakeMessageBox box;
    const auto settings = userSettingsStore();
    MainForm window(Platform{box, *settings, nullptr, nullptr, 15.0, 15.0, env.file("cache")});
    window.Load();

    const MainForm::Outcome opened = window.OpenPattern(pattern);
    const ConvertResult info = env.run({"--info", pattern});

    ASSERT_EQ(opened, MainForm::Outcome::Done);
    ASSERT_EQ(info.exitCode, 0) << info.err;
    EXPECT_EQ(window.pattern().settings.PenColor, 255); // read from the store, not the defaults
    for (const std::string &field : storedFields(window.pattern().settings))
        EXPECT_NE(info.out.find(field), std::string::npos) << field << " in " << info.out;
}
