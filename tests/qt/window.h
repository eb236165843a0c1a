#pragma once

// The main window over the scripted session, its steps clicked through the
// real buttons.

#include "scriptedsession.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"
#include "view/qt/workformwidget.h"

#include <QPushButton>
#include <QtTest>

namespace orvane::testing {

struct Window : ScriptedSession {
    MainWindow window{platform()};
    PicPanel *panel = window.picPanel();
    WorkFormWidget *work = window.workFormWidget();
    Window(QSize size = {})
    {
        if (size.isValid())
            window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    // Step i, or Change Files for -1; rows 1 and 2 stay hidden.
    void click(int i)
    {
        QPushButton *b = i < 0 ? panel->CommandReset() : panel->Command(i);
        b->isVisible() ? QTest::mouseClick(b, Qt::LeftButton) : b->click();
    }
    void run(const std::string &actions)
    {
        ScriptedSession::run(actions, [this](int i) { click(i); });
    }
    // A version 2.1 letter page with lines {x1, y1, x2, y2} and shapes {kind, left, top, width, height}.
    void open(const std::vector<std::array<float, 4>> &lines, const std::vector<std::array<float, 5>> &shapes,
              float width = 8.5f)
    {
        PatternWriter::Page page;
        page.defWidth = width;
        PatternWriter w;
        w.header(2, 1, 0).settings21(page).integer(std::int16_t(lines.size()));
        for (const auto &l : lines)
            w.line(l[0], l[1], l[2], l[3]);
        w.integer(std::int16_t(shapes.size()));
        for (const auto &s : shapes)
            w.shape(std::int16_t(s[0]), s[1], s[2], s[3], s[4]);
        run("open:" + write(w.noPicture(), "drawing.pat"));
    }
    std::string path(const std::string &name) const { return dir.file(name); }
    QString states()
    {
        QString out;
        for (const auto state : window.mainForm().stepStates())
            out += QString::number(state);
        return out;
    }
    int dialogsShown() const { return int(dialogs.openShown.size() + dialogs.saveShown.size()); }
    static bool blackNear(const QImage &image, int x, int y, int radius = 0)
    {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (qGray(image.pixel(x + dx, y + dy)) < 64)
                    return true;
        return false;
    }
};


// An empty version 1.1 pattern of width x height twips.
inline std::string pagePattern(const ScriptedSession &s, const std::string &name, float width, float height)
{
    PatternWriter::Page page;
    page.patternWidth = width, page.patternHeight = height;
    return s.write(PatternWriter().header(1, 1, 0).settings11(page).integer(0).integer(0).noPicture(), name);
}

} // namespace orvane::testing
