// The work window: scroll layout, scrolling, and what the surface paints.

#include "scriptedplatform.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"
#include "view/qt/patternsurface.h"
#include "view/qt/workformwidget.h"

#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest>

using namespace orvane;
using namespace orvane::testing;

class TestWorkForm : public QObject {
    Q_OBJECT

private:
    void open(const std::string &path)
    {
        m_platform->dialogs.scriptOpen(DialogOutcome::Accepted, path);
        QTest::mouseClick(m_window->picPanel()->Command(0), Qt::LeftButton);
        QCOMPARE(m_window->mainForm().stepStates()[0], std::int16_t(StepDone));
    }
    WorkFormWidget *work() const { return m_window->workFormWidget(); }
    // Resizes the window's inner area and delivers the resize at once.
    void resizeInner(QSize size)
    {
        const QSize old = work()->size();
        work()->resize(size);
        QResizeEvent event(size, old);
        QCoreApplication::sendEvent(work(), &event);
    }
    static bool blackNear(const QImage &image, int x, int y, int radius = 0)
    {
        for (int dy = -radius; dy <= radius; ++dy)
            for (int dx = -radius; dx <= radius; ++dx)
                if (qGray(image.pixel(x + dx, y + dy)) < 64)
                    return true;
        return false;
    }

private slots:
    void init()
    {
        m_platform = std::make_unique<ScriptedPlatform>();
        m_window = std::make_unique<MainWindow>(m_platform->platform());
        m_window->resize(900, 800);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_platform.reset();
    }

    void workedExample()
    {
        open(writePattern(*m_platform, "letter.pat", 12240, 15840, {}, {}));
        QCOMPARE(m_window->workFormWindow()->windowTitle(), "New");
        QCOMPARE(work()->size(), QSize(639, 390)); // 9585 x 5850 twips
        QCOMPARE(work()->PicScroll()->size(), QSize(620, 371));
        QCOMPARE(work()->VScroll1()->geometry(), QRect(620, 0, 19, 371));
        QCOMPARE(work()->HScroll1()->geometry(), QRect(0, 371, 620, 19));
        // The bars take the core's numbers.
        QScrollBar *h = work()->HScroll1();
        QCOMPARE((QList<int>{h->maximum(), h->pageStep(), h->singleStep()}), (QList<int>{2940, 295, 30}));
        QVERIFY(h->isEnabled() && work()->VScroll1()->isEnabled());

        // Every position of a thumb drag moves the page, even without tracking.
        QScrollBar *v = work()->VScroll1();
        v->setTracking(false);
        v->setSliderDown(true);
        v->setSliderPosition(1500);
        QCOMPARE(work()->Pattern()->y(), -100);
        v->setSliderDown(false);
        QCOMPARE(v->value(), 1500);
        QCOMPARE(work()->Pattern()->y(), -100);

        // A resize lays out again from the top-left corner, but not while the
        // main window is minimized.
        m_window->showMinimized();
        QTRY_VERIFY(m_window->isMinimized());
        resizeInner(QSize(300, 200));
        QCOMPARE(work()->Pattern()->y(), -100);
        m_window->showNormal();
        QTRY_VERIFY(!m_window->isMinimized());
        resizeInner(QSize(300, 200));
        QCOMPARE(work()->Pattern()->pos(), QPoint(0, 0));
        QCOMPARE(v->value(), 0);
        QCOMPARE(m_window->mainForm().workForm().layout().PicScrollWidth, 300 * 15 - 285.0f);
    }

    void overhangBeyondSixteenBits()
    {
        open(writePattern(*m_platform, "wide.pat", 60000, 1000, {}, {}));
        QScrollBar *h = work()->HScroll1();
        QCOMPARE(h->maximum(), 50700);
        h->setValue(h->maximum());
        QCOMPARE(work()->Pattern()->x(), -3380); // the page's right edge at the viewport's
    }

    void paintsWhatTheMetafileHolds()
    {
        open(writePattern(*m_platform, "drawing.pat", 12240, 15840, {{1500, 1500, 6000, 1500}},
                          {{1, 1500, 3000, 3000, 1500}, {3, 6000, 3000, 3000, 1500}, {5, 1500, 6000, 1500, 1500}}));
        const QImage image = work()->Pattern()->grab().toImage();
        QCOMPARE(image.size(), QSize(816, 1056));

        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(blackNear(image, x, 100), x >= 100 && x <= 400);
        QVERIFY(!blackNear(image, 250, 150, 10));

        // A square fills its 200 x 100 box, its right edge a pixel inside.
        QVERIFY(blackNear(image, 100, 250) && blackNear(image, 299, 250));
        QVERIFY(blackNear(image, 200, 200) && blackNear(image, 200, 299));
        QVERIFY(!blackNear(image, 300, 250) && !blackNear(image, 200, 250, 20));
        // So does a circle: an ellipse touching all four sides.
        QVERIFY(blackNear(image, 400, 250, 2) && blackNear(image, 599, 250, 2));
        QVERIFY(blackNear(image, 500, 200, 1) && blackNear(image, 500, 299, 1));
        QVERIFY(!blackNear(image, 402, 202, 2));
        // A rounded square is a plain square: its corner is drawn.
        QVERIFY(blackNear(image, 100, 400));
    }

    void paintsOnlyTheExposedArea()
    {
        open(writePattern(*m_platform, "three.pat", 12240, 15840, {{1500, 1500, 6000, 1500}, {0, 9000, 9000, 0}},
                          {{0, 1500, 10500, 3000, 3000}}));
        PatternSurface *surface = work()->Pattern();
        const std::pair<QRect, int> exposed[] = {
            {surface->rect(), 3},
            {QRect(0, 0, 50, 50), 0},     // inside the diagonal's box, off its path
            {QRect(150, 750, 50, 50), 0}, // inside the square's outline
            {QRect(90, 90, 20, 20), 1},
            {QRect(290, 290, 20, 20), 1}, // on the diagonal
        };
        for (const auto &[rect, count] : exposed) {
            surface->grab(rect);
            QCOMPARE(surface->lastPaintCount(), count);
        }
    }

private:
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TestWorkForm)
#include "tst_workform.moc"
