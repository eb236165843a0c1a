// The window as a desktop program: the work window kept inside its area, the
// minimum size, files from the command line and from a drop, and where the
// dialogs start.

#include "window.h"
#include "platform/preferences.h"
#include "platform/qt/qtpreferences.h"
#include "shell/qt/shapewidget.h"
#include "view/qt/patternsurface.h"
#include "view/qt/workformwidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QScrollBar>

using namespace orvane;
using namespace orvane::testing;

namespace {

class MemoryPreferences : public Preferences {
public:
    std::string lastFolder() override { return folder; }
    void setLastFolder(const std::string &f) override { folder = f; }
    std::string folder;
};

bool areaScrolls(const MainWindow &w)
{
    return w.mdiArea()->horizontalScrollBar()->isVisible() || w.mdiArea()->verticalScrollBar()->isVisible();
}

// The work window lies wholly inside the area's viewport.
bool workWindowInside(const MainWindow &w)
{
    return w.mdiArea()->viewport()->rect().contains(w.workFormWindow()->geometry());
}

// Drops the URLs on a widget of the window, as a file manager would.
void drop(QWidget *target, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return;
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT

private slots:
    // Opened in main windows of several sizes: the design size when there is
    // room, else fitted; the area itself never scrolls.
    void workWindowPlacement_data()
    {
        QTest::addColumn<QSize>("mainWindow");
        QTest::addColumn<bool>("designSize");
        QTest::newRow("as designed") << QSize() << false;
        QTest::newRow("enlarged") << QSize(1100, 880) << true;
        QTest::newRow("wide, low") << QSize(1100, 400) << false;
        QTest::newRow("narrow, tall") << QSize(600, 880) << false;
    }
    void workWindowPlacement()
    {
        QFETCH(QSize, mainWindow);
        QFETCH(bool, designSize);
        Window s;
        if (mainWindow.isValid())
            s.window.resize(mainWindow);
        s.run("open");
        QMdiSubWindow *work = s.window.workFormWindow();
        QTRY_VERIFY(work->isVisible());
        QCOMPARE(work->pos(), QPoint(0, 0));
        QVERIFY(workWindowInside(s.window));
        QCOMPARE(work->size(), work->sizeHint().boundedTo(s.window.mdiArea()->viewport()->size()));
        QCOMPARE(s.window.workFormWidget()->size() == QSize(639, 390), designSize);
        QVERIFY(!areaScrolls(s.window));
        // The page's own bars sit inside what is shown.
        QVERIFY(s.window.workFormWidget()->rect().contains(s.window.workFormWidget()->VScroll1()->geometry()));

        // Dragged partly out, it comes back; the area grown again, so does the window.
        work->move(-50, 4000);
        QVERIFY(workWindowInside(s.window));
        s.window.resize(1200, 1000);
        QTRY_COMPARE(s.window.workFormWidget()->size(), QSize(639, 390));
        QVERIFY(workWindowInside(s.window));
        // A size the user gives it is kept, and comes back after a smaller area.
        work->setGeometry(10, 20, 700, 500);
        QCOMPARE(work->geometry(), QRect(10, 20, 700, 500));
        s.window.resize(700, 500);
        QVERIFY(workWindowInside(s.window));
        s.window.resize(1200, 1000);
        QCOMPARE(work->size(), QSize(700, 500));

        s.run("reset");
        QVERIFY(!work->isVisible());
        QVERIFY(!areaScrolls(s.window));
    }

    // Made as small as it goes, every control of the panel is still in view.
    void minimumSize()
    {
        Window s;
        s.run("open");
        s.window.resize(1, 1);
        QCoreApplication::processEvents();
        QVERIFY(s.window.width() < 613); // smaller than designed is allowed
        PicPanel *panel = s.panel;
        const QRect shown = s.window.rect();
        int visible = 0;
        for (QWidget *control : panel->findChildren<QWidget *>()) {
            if (!control->isVisible())
                continue;
            ++visible;
            const QRect r(control->mapTo(&s.window, QPoint(0, 0)), control->size());
            QVERIFY2(shown.contains(r), qPrintable(control->objectName() + " cut off"));
        }
        QVERIFY(visible >= 20);
        QVERIFY(panel->TextFilename(0)->width() > 100);
        QVERIFY(workWindowInside(s.window));
        QVERIFY(s.window.workFormWindow()->height() >= s.window.workFormWindow()->minimumSizeHint().height());
    }

    // A name given to the program behaves as the same name chosen in the dialog.
    void fileFromOutside_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("states");
        QTest::newRow("pattern") << "letter.pat" << "10000";
        QTest::newRow("missing") << "missing.pat" << "30000";
    }
    void fileFromOutside()
    {
        QFETCH(QString, file);
        QFETCH(QString, states);
        Window byDialog;
        byDialog.dialogs.scriptOpen(DialogOutcome::Accepted, byDialog.path(qPrintable(file)));
        byDialog.click(0);
        Window byName;
        byName.window.openFile(byName.path(qPrintable(file)));
        for (Window *s : {&byDialog, &byName}) {
            QCOMPARE(s->states(), states);
            QCOMPARE(s->box.boxes.size(), states == "10000" ? 0u : 1u);
            QCOMPARE(s->panel->ShapeC(0)->fillColor(), byDialog.panel->ShapeC(0)->fillColor());
            QCOMPARE(s->window.workFormWindow()->isVisible(), states == "10000");
        }
        auto message = [](const Window &s) {
            return QString::fromStdString(s.box.boxes.at(0).text).replace(s.dir.str().c_str(), "");
        };
        if (states != "10000")
            QCOMPARE(message(byName), message(byDialog));
    }

    // A dropped pattern replaces the open one; anything else is refused.
    void dropOnTheWindow()
    {
        Window s;
        s.run("open");
        s.run("size:400");
        const std::string house = pagePattern(s, "house.pat", 7200, 7200);
        const QUrl houseUrl = QUrl::fromLocalFile(QString::fromStdString(house));
        drop(s.window.workFormWidget()->Pattern(), {QUrl::fromLocalFile(QString::fromStdString(s.path("a.txt")))});
        QTest::qWait(20);
        QCOMPARE(s.states(), "12210");
        drop(s.window.workFormWidget()->Pattern(), {QUrl("https://example.org/x.pat"), houseUrl});
        QTRY_COMPARE(s.states(), "10000");
        QCOMPARE(s.panel->TextFilename(0)->text(), QString::fromStdString(house));
        QCOMPARE(s.panel->LabelPixelsX(1)->text(), "480");
        QVERIFY(s.window.workFormWindow()->isVisible() && workWindowInside(s.window));
        drop(s.panel, {QUrl::fromLocalFile(QString::fromStdString(s.path("gone.pat")))});
        QTRY_COMPARE(s.states(), "30000");
        QCOMPARE(s.box.boxes.size(), 1u);
        QCOMPARE(s.dialogsShown(), 1);
    }

    // The open dialog starts where the last pattern was; the save dialog
    // beside the pattern, with its name.
    void dialogFolders()
    {
        ScriptedSession p;
        MemoryPreferences remembered;
        Platform platform = p.platform();
        platform.preferences = &remembered;
        std::filesystem::create_directory(p.dir.file("sub"));
        const std::string pattern = pagePattern(p, "sub/my house.v2.pat", 1440, 1440);
        {
            MainForm form(platform);
            form.Load();
            p.dialogs.scriptOpen(DialogOutcome::Accepted, pattern);
            form.CommandClick(0);
            QCOMPARE(p.dialogs.openShown.at(0).InitDir, ""); // nothing remembered yet
            QCOMPARE(remembered.folder, p.dir.file("sub"));
            form.CommandClick(4); // cancelled
            QCOMPARE(p.dialogs.saveShown.at(0).InitDir, p.dir.file("sub"));
            QCOMPARE(p.dialogs.saveShown.at(0).FileName, "my house.v2.wmf");
            form.CommandResetClick();
            form.CommandClick(0);
            QCOMPARE(p.dialogs.openShown.at(1).InitDir, p.dir.file("sub"));
        }
        // The next run starts there too, and a name given relative to the
        // working folder is remembered as a full one.
        p.dialogs.openShown.clear();
        MainForm next(platform);
        next.Load();
        next.CommandClick(0);
        QCOMPARE(p.dialogs.openShown.at(0).InitDir, p.dir.file("sub"));
        remembered.folder.clear();
        QVERIFY(QDir::setCurrent(QString::fromStdString(p.dir.file("sub"))));
        QCOMPARE(next.OpenPattern("../sub/my house.v2.pat"), MainForm::Outcome::Done);
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
        QCOMPARE(remembered.folder, p.dir.file("sub"));

        // After a start with a file name no open dialog has set CancelError:
        // a cancelled save dialog, which leaves the suggestion, still only
        // skips the step.
        next.MainCommonDialog().CancelError = false;
        p.dialogs.scriptSave(DialogOutcome::Cancelled);
        next.CommandClick(4);
        QCOMPARE(next.stepStates()[4], std::int16_t(StepSkipped));
        QVERIFY(!next.panel().textFilenameVisible[1]);
    }

    // The window's own settings file keeps folder and geometry; the store of
    // pattern defaults is never written.
    void preferencesFile()
    {
        const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        QVERIFY(!config.isEmpty());
        QDir(config + "/Veltrum Orvane").removeRecursively();
        QByteArray geometry;
        {
            Window s;
            s.window.setGeometry(40, 50, 700, 500);
            geometry = s.window.saveGeometry();
            QtPreferences preferences;
            QCOMPARE(preferences.lastFolder(), "");
            preferences.setLastFolder("/srv/patterns é");
            preferences.setWindowGeometry(geometry);
        }
        QVERIFY(QFile::exists(config + "/Veltrum Orvane/orvane-window.conf"));
        QVERIFY(!QFile::exists(config + "/Veltrum Orvane/Veltrum Orvane.conf"));
        QtPreferences again;
        QCOMPARE(again.lastFolder(), "/srv/patterns é");
        Window s;
        QVERIFY(s.window.restoreGeometry(again.windowGeometry()));
        QCOMPARE(s.window.size(), QSize(700, 500));
    }
};

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
