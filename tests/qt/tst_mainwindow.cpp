// The main window driven through its buttons, with scripted dialogs.

#include "scriptedplatform.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"
#include "shell/qt/shapewidget.h"
#include "view/qt/patternsurface.h"
#include "view/qt/workformwidget.h"

#include <QAction>
#include <QFile>
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

private:
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
        void run(const QString &action);
    };

    static QString states(const MainForm &form)
    {
        QString s;
        for (const auto state : form.stepStates())
            s += QString::number(state);
        return s;
    }

private slots:
    void stepStates_data();
    void stepStates();
    void panelStates();
    void saveOutcomes();
    void savedFileMatchesConverter();
    void failedOpenLeavesNothingBehind();
    void exitEndsProgramAtOnce();
    void closingEndsProgram();
};

void TestMainWindow::Session::run(const QString &action)
{
    if (action == "open") {
        p.dialogs.scriptOpen(DialogOutcome::Accepted, letter);
        click(0);
    } else if (action == "cancel-open") {
        p.dialogs.scriptOpen(DialogOutcome::Cancelled);
        click(0);
    } else if (action == "bad-open") {
        p.dialogs.scriptOpen(DialogOutcome::Accepted, p.path("missing.pat"));
        click(0);
    } else if (action == "connect") {
        click(1);
    } else if (action == "optimize") {
        click(2);
    } else if (action.startsWith("size:")) {
        p.input.replies.push_back(action.mid(5).toStdString());
        click(3);
    } else if (action == "save") {
        p.dialogs.scriptSave(DialogOutcome::Accepted, p.path("out.wmf"));
        click(4);
    } else if (action == "cancel-save") {
        p.dialogs.scriptSave(DialogOutcome::Cancelled);
        click(4);
    } else if (action == "fail-save") {
        p.dialogs.scriptSave(DialogOutcome::Accepted, p.path("no-such-folder/out.wmf"));
        click(4);
    } else if (action == "reset") {
        QTest::mouseClick(panel()->CommandReset(), Qt::LeftButton);
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
}

void TestMainWindow::stepStates_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<QString>("expected");
    QTest::newRow("start-up") << "" << "00000";
    QTest::newRow("open succeeded") << "open" << "10000";
    QTest::newRow("open cancelled") << "cancel-open" << "20000";
    QTest::newRow("open failed") << "bad-open" << "30000";
    QTest::newRow("connect resets later steps") << "open optimize size:900 save connect" << "11000";
    QTest::newRow("optimize") << "open optimize" << "12100";
    QTest::newRow("optimize keeps step 4") << "open size:900 save optimize" << "12101";
    QTest::newRow("size, empty answer") << "open size:" << "10000";
    QTest::newRow("size accepted") << "open size:900" << "12210";
    QTest::newRow("size rejected") << "open size:abc" << "12230";
    QTest::newRow("save written") << "open save" << "12221";
    QTest::newRow("save cancelled") << "open cancel-save" << "12222";
    QTest::newRow("save failed") << "open fail-save" << "12223";
    QTest::newRow("change files") << "open size:900 save reset" << "00000";
}

void TestMainWindow::stepStates()
{
    QFETCH(QString, actions);
    QFETCH(QString, expected);
    Session s;
    for (const QString &action : actions.split(' ', Qt::SkipEmptyParts))
        s.run(action);
    QCOMPARE(states(s.window.mainForm()), expected);

    const QColor colours[] = {Qt::white, QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)};
    const QImage painted = s.panel()->grab().toImage();
    for (int i = 0; i < StepCount; ++i) {
        const QColor want = colours[expected.at(i).digitValue()];
        QCOMPARE(s.panel()->ShapeC(i)->fillColor(), want);
        if (i == 0 || i >= 3)
            QCOMPARE(painted.pixelColor(s.panel()->ShapeC(i)->geometry().center()), want);
    }
}

void TestMainWindow::panelStates()
{
    Session s;
    PicPanel *panel = s.panel();
    auto checkReadyToOpen = [&] {
        QVERIFY(panel->Command(0)->isEnabled());
        for (int i = 1; i < StepCount; ++i)
            QVERIFY(!panel->Command(i)->isEnabled());
        QVERIFY(!panel->CommandReset()->isVisible());
        QVERIFY(!panel->TextFilename(0)->isVisible());
        QVERIFY(!panel->TextFilename(1)->isVisible());
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
    QVERIFY(panel->CommandReset()->isVisible());
    QVERIFY(panel->TextFilename(0)->isVisible());
    QCOMPARE(panel->TextFilename(0)->text(), QString::fromStdString(s.letter));
    QCOMPARE(panel->LabelPixelsX(0)->text(), "Horizonal Pixels:");
    QCOMPARE(panel->LabelPixelsX(1)->text(), "816");
    QCOMPARE(panel->LabelPixelsY(0)->text(), "Vertical Pixels:");
    QCOMPARE(panel->LabelPixelsY(1)->text(), "1056");
    QVERIFY(panel->LabelPixelsX(1)->isVisible() && panel->LabelPixelsY(1)->isVisible());
    QVERIFY(s.window.workFormWindow()->isVisible());
    QCOMPARE(s.window.workFormWidget()->Pattern()->size(), QSize(816, 1056));

    s.run("size:1000");
    QCOMPARE(panel->LabelPixelsX(1)->text(), "1000");
    QCOMPARE(panel->LabelPixelsY(1)->text(), "1294");

    s.run("reset");
    checkReadyToOpen();
    QCOMPARE(s.window.mainForm().workForm().drawing().OutLine.count(), 1);
}

void TestMainWindow::saveOutcomes()
{
    Session s;
    s.run("open");
    QLineEdit *result = s.panel()->TextFilename(1);

    s.run("save");
    QVERIFY(result->isVisible());
    QCOMPARE(result->text().toStdString(), s.p.path("out.wmf"));
    QVERIFY(QFile::exists(QString::fromStdString(s.p.path("out.wmf"))));

    s.run("cancel-save");
    QVERIFY(!result->isVisible());

    s.run("fail-save");
    QVERIFY(result->isVisible());
    QCOMPARE(result->text(), "Error: File not saved");
    QCOMPARE(s.p.messages.boxes.size(), std::size_t(1));
    QCOMPARE(s.p.messages.beeps, 1);
}

void TestMainWindow::savedFileMatchesConverter()
{
    // An A4 page is no whole number of pixels: the window must scale by the
    // page as loaded, as the converter does.
    Session s;
    const std::string pattern = ORVANE_EXAMPLES "/star-a4-v2.1.pat";
    s.p.dialogs.scriptOpen(DialogOutcome::Accepted, pattern);
    s.click(0);
    s.run("size:500");
    s.run("save");
    QCOMPARE(s.window.mainForm().stepStates()[4], std::int16_t(StepDone));

    const QString converted = QString::fromStdString(s.p.path("converted.wmf"));
    QProcess convert;
    convert.start(ORVANE_CONVERT, {"--width", "500", "-o", converted, QString::fromStdString(pattern)});
    QVERIFY(convert.waitForFinished(30000));
    QCOMPARE(convert.exitCode(), 0);

    const auto saved = readFileBytes(s.p.path("out.wmf"));
    QVERIFY(saved.size() > 18);
    QVERIFY(saved == readFileBytes(converted.toStdString()));
}

void TestMainWindow::failedOpenLeavesNothingBehind()
{
    Session s;
    // Two lines are read before an impossible shape count ends the load.
    PatternWriter w;
    w.header(1, 1, 0).settings11(PatternWriter::Page{});
    w.integer(2).line(0, 0, 3000, 3000).line(0, 3000, 3000, 0).integer(-32768);
    const std::string broken = s.p.path("broken.pat");
    QVERIFY(w.save(broken));
    s.p.dialogs.scriptOpen(DialogOutcome::Accepted, broken);
    s.click(0);
    QCOMPARE(s.window.mainForm().stepStates()[0], std::int16_t(StepFailed));
    QCOMPARE(s.p.messages.boxes.size(), std::size_t(1));

    const Drawing &drawing = s.window.mainForm().workForm().drawing();
    QCOMPARE(drawing.OutLine.count(), 1);
    QVERIFY(!drawing.OutLine[0].Visible);

    s.run("open");
    PatternSurface *surface = s.window.workFormWidget()->Pattern();
    surface->grab();
    QCOMPARE(surface->lastPaintCount(), 2); // the letter's line and square only
}

void TestMainWindow::exitEndsProgramAtOnce()
{
    Session s;
    s.run("open");
    const int dialogs = s.p.dialogsShown();
    QTimer::singleShot(0, s.window.menuFileExit(), &QAction::trigger);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!s.window.isVisible());
    QCOMPARE(s.p.dialogsShown(), dialogs);
    QVERIFY(s.p.messages.boxes.empty());
}

void TestMainWindow::closingEndsProgram()
{
    Session s;
    QTimer::singleShot(0, &s.window, &QWidget::close);
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(!s.window.isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
