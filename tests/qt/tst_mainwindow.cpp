// The main window driven through its buttons in the scripted session: what
// needs real widgets (indicators painted, the panel laid out, focus, the work
// window's bars and painting, the progress window); the step logic is in the
// core tests.

#include "window.h"
#include "platform/libprogress.h"
#include "platform/qt/progressform.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"
#include "shell/qt/shapewidget.h"
#include "view/qt/patternsurface.h"
#include "view/qt/workformwidget.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

using namespace orvane;
using namespace orvane::testing;


class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void stepIndicatorsArePainted_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("expected");
        QTest::newRow("start-up") << "" << "00000";
        QTest::newRow("open failed") << "bad-open" << "30000";
        QTest::newRow("size rejected") << "open size:abc" << "12230";
        QTest::newRow("hidden connect and optimize") << "open optimize size:900 save connect" << "11000";
        QTest::newRow("change files") << "open size:900 save reset" << "00000";
    }
    void stepIndicatorsArePainted()
    {
        QFETCH(QString, actions);
        QFETCH(QString, expected);
        Window s;
        s.run(actions.toStdString());
        const QColor colours[] = {Qt::white, QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)};
        const QImage painted = s.panel->grab().toImage();
        for (int i = 0; i < StepCount; ++i) {
            const QColor want = colours[expected.at(i).digitValue()];
            QCOMPARE(s.panel->ShapeC(i)->fillColor(), want);
            if (i == 0 || i >= 3) // 1 and 2 are hidden
                QCOMPARE(painted.pixelColor(s.panel->ShapeC(i)->geometry().center()), want);
        }
    }

    void panelWidgetsFollowTheSteps()
    {
        Window s;
        PicPanel *p = s.panel;
        QVERIFY(!p->Command(1)->isVisible() && !p->ShapeC(2)->isVisible());
        s.run("open");
        QVERIFY(!p->Command(0)->isEnabled() && p->Command(4)->isEnabled() && p->CommandReset()->isVisible());
        QCOMPARE(p->TextFilename(0)->text().toStdString(), s.letter);
        QCOMPARE(p->LabelPixelsX(0)->text() + p->LabelPixelsY(0)->text(), "Horizonal Pixels:Vertical Pixels:");
        QCOMPARE(p->LabelPixelsX(1)->text() + "/" + p->LabelPixelsY(1)->text(), "816/1056");
        QVERIFY(s.window.workFormWindow()->isVisible());
        QCOMPARE(s.work->Pattern()->size(), QSize(816, 1056));
        s.run("fail-save");
        QVERIFY(p->TextFilename(1)->isVisible());
        QCOMPARE(p->TextFilename(1)->text(), "Error: File not saved");
        s.run("reset");
        QVERIFY(p->Command(0)->isEnabled() && !p->Command(3)->isEnabled() && !p->CommandReset()->isVisible());
        QVERIFY(!p->TextFilename(0)->isVisible() && !p->LabelPixelsX(1)->isVisible());
        QVERIFY(!s.window.workFormWindow()->isVisible());
        QCOMPARE(p->Command(0)->cursor().shape(), Qt::PointingHandCursor);
    }

    void panelFollowsTheWindowWidthAndTabOrder()
    {
        Window s({800, 600}); // 12000 twips
        QTRY_COMPARE(s.panel->width(), 800);
        QCOMPARE(s.panel->widthTwips(s.panel->Shape2(4)), 8250.0f);
        QCOMPARE(s.panel->widthTwips(s.panel->TextFilename(1)), 8060.0f);
        QCOMPARE(s.panel->TextFilename(1)->width(), 537);
        s.run("open");
        s.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.panel->CommandReset()->setFocus(); // Command(0) is disabled, 1 and 2 hidden
        for (QWidget *next :
             {(QWidget *)s.panel->Command(3), (QWidget *)s.panel->Command(4), (QWidget *)s.panel->TextFilename(0)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
        s.window.resize(120, s.window.height()); // however narrow, every fixed control stays inside
        QTest::qWait(50);
        for (QWidget *control : s.panel->findChildren<QWidget *>())
            if (control->isVisibleTo(s.panel) && !control->objectName().startsWith("Shape2")
                && !control->objectName().startsWith("TextFilename"))
                QVERIFY2(control->geometry().right() < s.panel->width(), qPrintable(control->objectName()));
    }

    void workWindowBarsScrollAndResize()
    {
        Window s({900, 800});
        s.open({}, {});
        QCOMPARE(s.window.workFormWindow()->windowTitle(), "New");
        QCOMPARE(s.work->size(), QSize(639, 390)); // 9585 x 5850 twips
        QCOMPARE(s.work->VScroll1()->geometry(), QRect(620, 0, 19, 371));
        QCOMPARE(s.work->HScroll1()->geometry(), QRect(0, 371, 620, 19));
        QScrollBar *h = s.work->HScroll1(), *v = s.work->VScroll1();
        QCOMPARE((QList<int>{h->maximum(), h->pageStep(), h->singleStep()}), (QList<int>{2940, 295, 30}));
        v->setTracking(false); // every position of a thumb drag moves the page
        v->setSliderDown(true);
        v->setSliderPosition(1500);
        QCOMPARE(s.work->Pattern()->y(), -100);
        v->setSliderDown(false);
        s.window.showMinimized(); // no new layout while minimized
        QTRY_VERIFY(s.window.isMinimized());
        auto resize = [&](QSize size) {
            QResizeEvent event(size, s.work->size());
            s.work->resize(size);
            QCoreApplication::sendEvent(s.work, &event);
        };
        resize({300, 200});
        QCOMPARE(s.work->Pattern()->y(), -100);
        s.window.showNormal();
        QTRY_VERIFY(!s.window.isMinimized());
        resize({300, 200});
        QCOMPARE(s.work->Pattern()->pos(), QPoint(0, 0));
        QCOMPARE(v->value(), 0);

        Window wide({900, 800}); // an overhang beyond 16 bits still scrolls to the page's edge
        wide.open({}, {}, 60000.0f / 1440);
        wide.work->HScroll1()->setValue(wide.work->HScroll1()->maximum());
        QCOMPARE(wide.work->HScroll1()->maximum(), 50700);
        QCOMPARE(wide.work->Pattern()->x(), -3380);
    }

    void paintsWhatTheMetafileHolds()
    {
        Window s({900, 800});
        s.open({{1500, 1500, 6000, 1500}},
               {{1, 1500, 3000, 3000, 1500}, {3, 6000, 3000, 3000, 1500}, {5, 1500, 6000, 1500, 1500}});
        const QImage image = s.work->Pattern()->grab().toImage();
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(Window::blackNear(image, x, 100), x >= 100 && x <= 400);
        // A square fills its 200 x 100 box, its right edge a pixel inside; a circle touches all four sides.
        QVERIFY(Window::blackNear(image, 100, 250) && Window::blackNear(image, 299, 250)
                && Window::blackNear(image, 200, 299));
        QVERIFY(!Window::blackNear(image, 300, 250) && !Window::blackNear(image, 200, 250, 20));
        QVERIFY(Window::blackNear(image, 400, 250, 2) && Window::blackNear(image, 599, 250, 2));
        QVERIFY(!Window::blackNear(image, 402, 202, 2));
        QVERIFY(Window::blackNear(image, 100, 400)); // a rounded square is drawn square
        for (const auto &[rect, count] :
             {std::pair{QRect(0, 0, 50, 50), 0}, {QRect(90, 90, 20, 20), 1}, {image.rect(), 4}}) {
            s.work->Pattern()->grab(rect);
            QCOMPARE(s.work->Pattern()->lastPaintCount(), count);
        }
        s.run("reset open:"
              + s.write(PatternWriter().header(2, 1, 0).settings21({}).integer(1).line(0, 0, 1, 1).integer(-32768)));
        s.work->Pattern()->grab();
        QCOMPARE(s.work->Pattern()->lastPaintCount(), 0); // a failed open leaves nothing to paint
    }

    void progressWindowCentredWithCancel()
    {
        Window s;
        LibProgress &progress = s.window.mainForm().progress();
        ProgressForm *form = s.window.progressForm();
        progress.SetProgressEnabled(true);
        progress.StartProgress(0, 3, "Loading Pattern - Lines", false);
        QVERIFY(form->isVisible() && (form->windowFlags() & Qt::FramelessWindowHint)
                && form->HeaderText()->font().bold());
        QCOMPARE(form->HeaderText()->text(), "Loading Pattern - Lines");
        QCOMPARE(form->size(), QSize(419, 72)); // 6285 x 1080 twips
        for (int i = 0; i < 4; ++i)
            progress.StepProgress(1);
        QCOMPARE(QList<int>({form->Bar()->maximum(), form->Bar()->value()}), QList<int>({3, 3}));
        progress.StartProgress(0, 10, "x", true);
        const QRect main = s.window.frameGeometry();
        QCOMPARE(form->height(), 110); // 1655 twips, its top where the design height (1545) would be centred
        QVERIFY(qAbs(form->x() - (main.x() + (main.width() - 419) / 2)) <= 1);
        QVERIFY(qAbs(form->y() - (main.y() + (main.height() - 103) / 2)) <= 1);
        QTest::mouseClick(form->CommandCancel(), Qt::LeftButton);
        QVERIFY(!form->CommandCancel()->isEnabled() && !progress.StepProgress(1));
        progress.EndProgress();
        QVERIFY(!form->isVisible());
    }

    void exitEndsProgramAtOnce_data()
    {
        QTest::addColumn<bool>("viaMenu");
        QTest::newRow("File/Exit") << true;
        QTest::newRow("window closed") << false;
    }
    void exitEndsProgramAtOnce()
    {
        QFETCH(bool, viaMenu);
        Window s;
        s.run("open");
        if (viaMenu)
            QTimer::singleShot(0, s.window.menuFileExit(), &QAction::trigger);
        else
            QTimer::singleShot(0, &s.window, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!s.window.isVisible() && s.box.boxes.empty());
        QCOMPARE(s.dialogs.openShown.size() + s.dialogs.saveShown.size(), 1u);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
