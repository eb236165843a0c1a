// The main window driven through its buttons, with scripted dialogs: what
// needs real widgets; the step-state logic is in the core tests.

#include "scriptedplatform.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"
#include "shell/qt/shapewidget.h"
#include "view/qt/patternsurface.h"
#include "view/qt/workformwidget.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace orvane;
using namespace orvane::testing;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    // Each button clicked, each indicator colour read back from the panel.
    void stepStates_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("expected");
        QTest::newRow("start-up") << "" << "00000";
        QTest::newRow("open failed") << "bad-open" << "30000";
        QTest::newRow("size rejected") << "open size:abc" << "12230";
        QTest::newRow("save written") << "open save" << "12221";
        QTest::newRow("hidden connect and optimize") << "open optimize size:900 save connect" << "11000";
        QTest::newRow("change files") << "open size:900 save reset" << "00000";
    }
    void stepStates()
    {
        QFETCH(QString, actions);
        QFETCH(QString, expected);
        Session s;
        for (const QString &action : actions.split(' ', Qt::SkipEmptyParts))
            s.run(action);
        QCOMPARE(s.states(), expected);
        const QColor colours[] = {Qt::white, QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)};
        const QImage painted = s.panel()->grab().toImage();
        for (int i = 0; i < StepCount; ++i) {
            const QColor want = colours[expected.at(i).digitValue()];
            QCOMPARE(s.panel()->ShapeC(i)->fillColor(), want);
            if (i == 0 || i >= 3) // 1 and 2 are hidden
                QCOMPARE(painted.pixelColor(s.panel()->ShapeC(i)->geometry().center()), want);
        }
    }

    void panelStates()
    {
        Session s;
        PicPanel *panel = s.panel();
        auto checkReadyToOpen = [&] {
            QVERIFY(panel->Command(0)->isEnabled());
            for (int i = 1; i < StepCount; ++i)
                QVERIFY(!panel->Command(i)->isEnabled());
            QVERIFY(!panel->CommandReset()->isVisible());
            QVERIFY(!panel->TextFilename(0)->isVisible() && !panel->TextFilename(1)->isVisible());
            for (int i = 0; i < 2; ++i)
                QVERIFY(!panel->LabelPixelsX(i)->isVisible() && !panel->LabelPixelsY(i)->isVisible());
            QVERIFY(!s.window.workFormWindow()->isVisible());
        };
        checkReadyToOpen();
        QVERIFY(!panel->Command(1)->isVisible() && !panel->Command(2)->isVisible());
        QVERIFY(!panel->ShapeC(1)->isVisible() && !panel->ShapeC(2)->isVisible());

        s.run("open");
        QVERIFY(!panel->Command(0)->isEnabled());
        QVERIFY(panel->Command(3)->isEnabled() && panel->Command(4)->isEnabled());
        QVERIFY(panel->CommandReset()->isVisible() && panel->TextFilename(0)->isVisible());
        QCOMPARE(panel->TextFilename(0)->text(), QString::fromStdString(s.letter));
        QCOMPARE(panel->LabelPixelsX(0)->text(), "Horizonal Pixels:");
        QCOMPARE(panel->LabelPixelsY(0)->text(), "Vertical Pixels:");
        QCOMPARE(panel->LabelPixelsX(1)->text() + "/" + panel->LabelPixelsY(1)->text(), "816/1056");
        QVERIFY(panel->LabelPixelsX(1)->isVisible() && panel->LabelPixelsY(1)->isVisible());
        QVERIFY(s.window.workFormWindow()->isVisible());
        QCOMPARE(s.window.workFormWidget()->Pattern()->size(), QSize(816, 1056));

        QLineEdit *result = panel->TextFilename(1);
        s.run("save");
        QVERIFY(result->isVisible());
        QCOMPARE(result->text().toStdString(), s.p.path("out.wmf"));
        s.run("cancel-save");
        QVERIFY(!result->isVisible());
        s.run("fail-save");
        QVERIFY(result->isVisible());
        QCOMPARE(result->text(), "Error: File not saved");

        s.run("reset");
        checkReadyToOpen();
    }

    void savedFileMatchesConverter()
    {
        Session s; // an A4 page is no whole number of pixels
        const std::string pattern = ORVANE_EXAMPLES "/star-a4-v2.1.pat";
        s.p.dialogs.scriptOpen(DialogOutcome::Accepted, pattern);
        s.click(0);
        s.run("size:500");
        s.run("save");
        QCOMPARE(s.states(), "12211");

        const QString converted = QString::fromStdString(s.p.path("converted.wmf"));
        QProcess convert;
        convert.start(ORVANE_CONVERT, {"--width", "500", "-o", converted, QString::fromStdString(pattern)});
        QVERIFY(convert.waitForFinished(30000));
        QCOMPARE(convert.exitCode(), 0);
        const auto saved = readFileBytes(s.p.path("out.wmf"));
        QVERIFY(saved.size() > 18);
        QVERIFY(saved == readFileBytes(converted.toStdString()));
    }

    void failedOpenLeavesNothingToPaint()
    {
        Session s;
        PatternWriter w; // two lines, then an impossible shape count
        w.header(1, 1, 0).settings11({}).integer(2).line(0, 0, 3000, 3000).line(0, 3000, 3000, 0).integer(-32768);
        QVERIFY(w.save(s.p.path("broken.pat")));
        s.p.dialogs.scriptOpen(DialogOutcome::Accepted, s.p.path("broken.pat"));
        s.click(0);
        s.run("open");
        QCOMPARE(s.states(), "10000");
        PatternSurface *surface = s.window.workFormWidget()->Pattern();
        surface->grab();
        QCOMPARE(surface->lastPaintCount(), 2); // the letter's line and square only
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
        Session s;
        s.run("open");
        const int dialogs = s.p.dialogsShown();
        if (viaMenu)
            QTimer::singleShot(0, s.window.menuFileExit(), &QAction::trigger);
        else
            QTimer::singleShot(0, &s.window, &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!s.window.isVisible());
        QCOMPARE(s.p.dialogsShown(), dialogs);
        QVERIFY(s.p.messages.boxes.empty());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
