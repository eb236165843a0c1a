#pragma once

// The window's platform with the dialogs answered from a script, and pattern
// fixtures written into a temporary folder.

#include "fakes.h"
#include "patternwriter.h"
#include "shell/mainform.h"

#include <array>

namespace orvane::testing {

struct ScriptedPlatform {
    FakeMessageBox messages;
    EmptySettingsStore settings;
    ScriptedDialogs dialogs;
    ScriptedInput input;
    TempDir folder;

    Platform platform() { return Platform{messages, settings, dialogs, input, 15.0, 15.0, folder.file("cache")}; }
    std::string path(const char *name) const { return folder.file(name); }
    int dialogsShown() const { return int(dialogs.openShown.size() + dialogs.saveShown.size()); }
};

struct Shape {
    std::int16_t kind;
    float left, top, width, height;
};

// A version 1.1 pattern: the page size as given, the lines (x1, y1, x2, y2)
// and shapes in file order.
inline std::string writePattern(const ScriptedPlatform &platform, const char *name, float width, float height,
                                const std::vector<std::array<float, 4>> &lines, const std::vector<Shape> &shapes)
{
    PatternWriter w;
    PatternWriter::Page page;
    page.patternWidth = width;
    page.patternHeight = height;
    w.header(1, 1, 0).settings11(page);
    w.integer(static_cast<std::int16_t>(lines.size()));
    for (const auto &l : lines)
        w.line(l[0], l[1], l[2], l[3]);
    w.integer(static_cast<std::int16_t>(shapes.size()));
    for (const Shape &s : shapes)
        w.shape(s.kind, s.left, s.top, s.width, s.height);
    w.noPicture();
    const std::string path = platform.path(name);
    w.save(path);
    return path;
}

} // namespace orvane::testing
