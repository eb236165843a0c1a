#pragma once

// The window's platform with the dialogs answered from a script, pattern
// fixtures written into a temporary folder, and a main window shown over it.

#include "fakes.h"
#include "patternwriter.h"
#include "shell/mainform.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"

#include <QPushButton>
#include <QtTest>

#include <array>

namespace orvane::testing {

struct ScriptedPlatform {
    FakeMessageBox messages;
    EmptySettingsStore settings;
    ScriptedDialogs dialogs;
    ScriptedInput input;
    TempDir folder;

    Platform platform() { return Platform{messages, settings, &dialogs, &input, 15.0, 15.0, folder.file("cache")}; }
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

// A shown main window with a letter page (one line, one square) on disk.
struct Session {
    ScriptedPlatform p;
    std::string letter = writePattern(p, "letter.pat", 12240, 15840, {{1500, 1500, 6000, 1500}}, {{0, 600, 600, 900, 900}});
    MainWindow window{p.platform()};
    PicPanel *panel() const { return window.picPanel(); }
    Session()
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("main window not exposed");
    }
    void click(int i)
    {
        if (panel()->Command(i)->isVisible())
            QTest::mouseClick(panel()->Command(i), Qt::LeftButton);
        else
            panel()->Command(i)->click(); // rows 1 and 2 exist but stay hidden
    }
    // open, bad-open, connect, optimize, size:TEXT, save, cancel-save, fail-save, reset
    void run(const QString &a)
    {
        if (a == "reset")
            return QTest::mouseClick(panel()->CommandReset(), Qt::LeftButton);
        if (a.endsWith("open"))
            p.dialogs.scriptOpen(DialogOutcome::Accepted, a == "open" ? letter : p.path("missing.pat"));
        if (a.endsWith("save"))
            p.dialogs.scriptSave(a == "cancel-save" ? DialogOutcome::Cancelled : DialogOutcome::Accepted,
                                 p.path(a == "fail-save" ? "no-such-folder/out.wmf" : "out.wmf"));
        if (a.startsWith("size:"))
            p.input.replies.push_back(a.mid(5).toStdString());
        click(a.endsWith("open") ? 0 : a == "connect" ? 1 : a == "optimize" ? 2 : a.startsWith("size:") ? 3 : 4);
    }
    QString states()
    {
        QString s;
        for (const auto state : window.mainForm().stepStates())
            s += QString::number(state);
        return s;
    }
};

} // namespace orvane::testing
