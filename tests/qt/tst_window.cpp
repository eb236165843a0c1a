// The window through its real buttons, and the Qt adapters behind the core's interfaces.

#include "scriptedsession.h"

#include "shell/qt/qtfiledialogs.h"
#include "shell/qt/progressform.h"
#include "shell/qt/convertfilesdialog.h"
#include "shell/qt/convertfilesrun.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"
#include "shell/qt/windowplacement.h"
#include "shell/qt/shapewidget.h"
#include "view/qt/patternsurface.h"
#include "view/qt/workformwidget.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <thread>

using namespace orvane;
using namespace orvane::testing;

namespace {

struct Window : ScriptedSession {
    MainWindow window;
    PicPanel *panel = window.picPanel();
    WorkFormWidget *work = window.workFormWidget();
    QMdiSubWindow *sub = window.workFormWindow();
    explicit Window(QSize size = {}, SettingsStore *settings = nullptr)
        : window(settings ? Platform{box, *settings, &dialogs, &input, 15.0, 15.0, dir.file("cache")} : platform())
    {
        if (size.isValid())
            window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    void run(const std::string &actions)
    {
        ScriptedSession::run(actions, [this](int i) {
            QTest::mouseClick(i < 0 ? panel->CommandReset() : panel->Command(i), Qt::LeftButton);
        });
    }
    QString states()
    {
        QString s;
        for (const auto v : window.mainForm().stepStates())
            s += QString::number(v);
        return s;
    }
    std::optional<std::string> start(std::vector<std::string> inputs)
    {
        BatchOptions options;
        options.inputs = std::move(inputs);
        options.outDir = dir.file("out");
        return window.convertFilesRun()->start(options);
    }
};

bool blackNear(const QImage &image, int x, int y, int radius = 0)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (qGray(image.pixel(x + dx, y + dy)) < 64)
                return true;
    return false;
}

void drop(QWidget *target, std::initializer_list<QString> urls) // as a file manager would
{
    QMimeData data;
    QList<QUrl> list;
    for (const QString &url : urls)
        list << (url.startsWith('/') ? QUrl::fromLocalFile(url) : QUrl(url));
    data.setUrls(list);
    QDragEnterEvent enter(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent dropped(target->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (enter.isAccepted())
        QCoreApplication::sendEvent(target, &dropped);
}

template <typename T>
void whenShown(std::function<void(T *)> check) // on the modal dialog once it is shown
{
    QTimer::singleShot(0, [check] {
        T *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        check(dialog);
    });
}

// A store that holds every reader until opened: a version 1 pattern being
// converted waits in it, so a test sees the window while a file is converted
// whatever the machine's load.
struct GatedStore : SettingsStore {
    std::optional<std::string> readText(const std::string &, const std::string &, const std::string &) override
    {
        while (!open)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return std::nullopt;
    }
    std::atomic<bool> open{false};
};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    // What can be pressed, the names, and the indicators painted
    // as each step ended; Change Files clears them.
    void panelFollowsTheSteps()
    {
        Window s;
        PicPanel *p = s.panel;
        const auto painted = [p](int i) {
            return p->grab().toImage().pixelColor(p->ShapeC(i)->geometry().center());
        };
        const auto controls = [p] { // Open, Set Pattern Size, Save and Change Files usable, the names shown
            return QList<bool>{p->Command(0)->isEnabled(), p->Command(3)->isEnabled(), p->Command(4)->isEnabled(),
                               p->CommandReset()->isVisible(), p->TextFilename(0)->isVisible(),
                               p->TextFilename(1)->isVisible()};
        };

        s.run("open fail-save");
        const QList<bool> during = controls();
        const QList<QColor> colours{painted(0), painted(3), painted(4)}; // done, skipped, failed
        const QString saveShown = p->TextFilename(1)->text();
        s.run("reset");

        QCOMPARE(during, (QList<bool>{false, true, true, true, true, true}));
        QCOMPARE(colours, (QList<QColor>{QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)}));
        QCOMPARE(saveShown, "Error: File not saved");
        QCOMPARE(controls(), (QList<bool>{true, false, false, false, false, false}));
        QCOMPARE(painted(4), QColor(Qt::white));
        QCOMPARE(s.sub->isVisible(), false);
    }

    // The keyboard alone: each step is pressed where the focus is, with Enter
    // or Space in turn, and the focus ends where the next step waits.
    void keyboardFollowsTheSteps_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("focused");
        QTest::newRow("at the start") << "" << "Command0";
        QTest::newRow("opened") << "open" << "Command3";
        QTest::newRow("open cancelled") << "cancel-open" << "Command0";
        QTest::newRow("sized") << "open size:400" << "Command4";
        QTest::newRow("save failed") << "open size:400 fail-save" << "Command4";
    }
    void keyboardFollowsTheSteps()
    {
        QFETCH(QString, actions);
        QFETCH(QString, focused);
        Window s;
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        int keys = 0;

        ScriptedSession &session = s;
        session.run(actions.toStdString(), [&](int i) {
            QPushButton *button = i < 0 ? s.panel->CommandReset() : s.panel->Command(i);
            QTRY_COMPARE(QApplication::focusWidget(), button);
            QTest::keyClick(button, ++keys % 2 ? Qt::Key_Return : Qt::Key_Space);
        });

        QTRY_COMPARE(QApplication::focusWidget()->objectName(), focused);
    }

    // The examples and a file that is not a pattern: the examples written,
    // the other named in the summary with the converter's line.
    void convertFilesSummary()
    {
        Window s;
        std::vector<std::string> inputs;
        for (const QString &input : ConvertFilesDialog::patternsIn(ORVANE_EXAMPLES))
            inputs.push_back(input.toStdString());
        inputs.push_back(s.write(PatternWriter().raw("not a pattern"), "garbage.pat"));
        const ConvertFilesRun &run = *s.window.convertFilesRun();
        QSignalSpy finished(&run, &ConvertFilesRun::finished);

        QCOMPARE(s.start(inputs), std::nullopt);
        QVERIFY(finished.wait(60000));

        QVERIFY2(run.summary().startsWith("7 written, 1 failed.\n"), qPrintable(run.summary()));
        QVERIFY2(run.failures().first().startsWith(QString::fromStdString(inputs.back()) + ": "),
                 qPrintable(run.failures().first()));
        QDialog *summary = s.window.findChild<QDialog *>("BatchSummary");
        if (const QString shots = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR"); !shots.isEmpty())
            summary->grab().save(shots + "/convert-files-summary.png"); // for the README
    }

    // A run goes on beside the window, which holds its steps meanwhile: the
    // progress window names the file being converted, a second Convert Files
    // raises it, Escape in the main window cancels what has not started, and
    // the summary shows at the end.
    void convertFilesRunsBesideTheWindow()
    {
        GatedStore gate;
        const auto opened = qScopeGuard([&gate] { gate.open = true; });
        Window s({}, &gate);
        const std::string waits =
            s.write(PatternWriter().header(1, 1, 0).settings11({}).integer(0).integer(0).noPicture(), "house-v1.1.pat");
        const ConvertFilesRun &run = *s.window.convertFilesRun();
        QSignalSpy finished(&run, &ConvertFilesRun::finished);
        const auto usable = [&s] {
            return QList<bool>{s.window.menuFileConvert()->isEnabled(), s.window.menuFileOpen()->isEnabled(),
                               s.panel->isEnabled()};
        };

        QCOMPARE(s.start({s.letter, waits, s.letter, s.letter}), std::nullopt);
        QTRY_COMPARE_WITH_TIMEOUT(run.progressForm()->HeaderText()->text(), "2 of 4: house-v1.1.pat", 60000);
        if (const QString shots = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR"); !shots.isEmpty()) {
            QImage image = s.window.grab().toImage(); // for the README
            QPainter(&image).drawPixmap(run.progressForm()->pos() - s.window.pos(), run.progressForm()->grab());
            image.save(shots + "/convert-files-progress.png");
        }
        const QList<bool> during = usable();
        s.window.convertFiles();
        QWidget *modal = QApplication::activeModalWidget();
        s.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        QTest::keyClick(&s.window, Qt::Key_Escape);
        gate.open = true;
        QVERIFY(finished.wait(60000));

        QCOMPARE(during, (QList<bool>{false, false, false}));
        QCOMPARE(modal, nullptr);
        QCOMPARE(usable(), (QList<bool>{true, true, true}));
        QVERIFY2(run.summary().startsWith("2 written, 0 failed, 2 not converted after Cancel.\n"), qPrintable(run.summary()));
        QDialog *summary = s.window.findChild<QDialog *>("BatchSummary");
        QVERIFY(summary);
        QVERIFY(summary->isVisible());
        QCOMPARE(summary->findChild<QPlainTextEdit *>()->toPlainText(), run.summary());
    }

    // Every problem shows at its field at once, in the window's words, and
    // the focus goes to the first; a folder adds its patterns by name.
    void convertFilesDialogChecksEveryField()
    {
        Window s;
        const QString folder = QString::fromStdString(s.dir.file("patterns"));
        QDir().mkpath(folder);
        for (const char *name : {"b.pat", "A.PAT", "c.txt"})
            QFile(QString::fromStdString(s.letter)).copy(folder + '/' + name);
        std::vector<BatchOptions> started;
        QtFileDialogs fileDialogs;
        ConvertFilesDialog dialog(s.window.convertFilesRun()->formats(), [&](const BatchOptions &o, const QStringList &) {
            started.push_back(o);
            return std::nullopt;
        }, fileDialogs, &s.window);
        const auto errors = [&dialog] {
            QStringList shown;
            for (QLabel *label : {dialog.inputsError(), dialog.outDirError(), dialog.widthError()})
                shown << (label->isVisible() ? label->text() : QString());
            return shown.join('|');
        };
        dialog.show();
        dialog.widthEdit()->setText("x");
        dialog.widthEdit()->setFocus();

        dialog.convertButton()->click();
        const QString refused = errors();
        QWidget *focused = dialog.focusWidget();
        dialog.addInputs({folder, QString::fromStdString(s.letter)});
        dialog.outDirEdit()->setText(QString::fromStdString(s.dir.file("out")));
        dialog.widthEdit()->setText("300");
        dialog.formatBox()->setCurrentIndex(1);
        dialog.convertButton()->click();

        QCOMPARE(refused, "Add the pattern files to convert.|Choose the folder to write to.|"
                          "Enter the width as a number of pixels above 0, or leave it empty for the page's own size.");
        QCOMPARE(focused, dialog.inputList());
        QCOMPARE(errors(), "||");
        QCOMPARE(started.size(), 1u);
        const BatchOptions &o = started.front();
        QCOMPARE(QString::fromStdString(o.inputs.at(0) + "|" + o.inputs.at(1) + "|" + o.inputs.at(2)),
                 folder + "/A.PAT|" + folder + "/b.pat|" + QString::fromStdString(s.letter));
        QCOMPARE(QString::fromStdString(o.format + " " + o.width.value_or("")), "placeable 300");
    }

    // A run into a folder that already holds some of its files asks once
    // first: replace them all, keep them and convert the rest, or go back.
    void convertFilesAsksBeforeReplacing_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("run");
        QTest::addColumn<bool>("oldKept");
        QTest::newRow("replace all") << "ReplaceAll" << true << false;
        QTest::newRow("skip existing") << "SkipExisting" << true << true;
        QTest::newRow("cancel") << "Cancel" << false << true;
    }
    void convertFilesAsksBeforeReplacing()
    {
        QFETCH(QString, answer);
        QFETCH(bool, run);
        QFETCH(bool, oldKept);
        Window s;
        const QDir out(QString::fromStdString(s.dir.file("out")));
        QVERIFY(QDir().mkpath(out.path()));
        s.write(PatternWriter().raw("old"), "out/letter.wmf");
        const QString second = QString::fromStdString(s.dir.file("second.pat"));
        QVERIFY(QFile::copy(QString::fromStdString(s.letter), second));
        QtFileDialogs fileDialogs;
        ConvertFilesDialog dialog(s.window.convertFilesRun()->formats(), [&](const BatchOptions &o, const QStringList &keep) {
            return s.window.convertFilesRun()->start(o, keep);
        }, fileDialogs, &s.window);
        dialog.addInputs({QString::fromStdString(s.letter), second});
        dialog.outDirEdit()->setText(out.path());
        QStringList asked;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            asked << box->text();
            box->findChild<QPushButton *>(answer)->click();
        });
        QSignalSpy started(s.window.convertFilesRun(), &ConvertFilesRun::started);

        dialog.convertButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(s.window.convertFilesRun()->running(), false, 60000);

        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked.first().section('\n', 0, 0), "1 file this run would write is already in " + out.path() + ":");
        QCOMPARE(started.size(), run ? 1 : 0);
        QCOMPARE(dialog.result() == QDialog::Accepted, run);
        QCOMPARE(QFileInfo(out.filePath("letter.wmf")).size() == 3, oldKept); // "old"
        QCOMPARE(QFile::exists(out.filePath("second.wmf")), run);
    }

    // The menus' keys: Ctrl+O opens, Ctrl+0 fits the page in view, Ctrl+1
    // shows its pixels again.
    void menuKeys()
    {
        Window s({1100, 880});
        s.dialogs.opens.push_back({DialogOutcome::Accepted, s.letter});
        s.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));

        QTest::keyClick(&s.window, Qt::Key_O, Qt::ControlModifier);
        QTest::keyClick(&s.window, Qt::Key_0, Qt::ControlModifier);
        const QRect page = s.work->Pattern()->geometry();
        const QImage shown = s.work->Pattern()->grab().toImage();
        QTest::keyClick(&s.window, Qt::Key_1, Qt::ControlModifier);

        QCOMPARE(s.states(), "10000");
        QVERIFY2(s.work->PicScroll()->rect().contains(page), qPrintable(QString("%1 x %2").arg(page.width()).arg(page.height())));
        QCOMPARE(page.height(), s.work->PicScroll()->height()); // a letter page: its height decides
        const double zoom = page.height() / 1056.0; // the letter's line from (96, 96) to (192, 96), scaled
        QVERIFY(blackNear(shown, qRound(144 * zoom), qRound(96 * zoom), 1));
        QVERIFY(!blackNear(shown, 144, 96, 1));
        QCOMPARE(s.work->Pattern()->size(), QSize(816, 1056));
    }

    // The design size when there is room, else fitted to the area, its
    // scroll bars in view.
    void workWindowPlacement_data()
    {
        QTest::addColumn<QSize>("mainWindow");
        QTest::addColumn<bool>("designSize");
        QTest::newRow("as designed") << QSize() << false;
        QTest::newRow("enlarged") << QSize(1100, 880) << true;
    }
    void workWindowPlacement()
    {
        QFETCH(QSize, mainWindow);
        QFETCH(bool, designSize);
        Window s(mainWindow);

        s.run("open");

        const QSize room = s.window.mdiArea()->viewport()->size();
        QCOMPARE(s.sub->geometry(), QRect(QPoint(), s.sub->sizeHint().boundedTo(room)));
        QCOMPARE(s.work->size() == QSize(639, 390), designSize);
        QVERIFY(s.work->rect().contains(s.work->VScroll1()->geometry()));
    }

    void paintsWhatTheMetafileHolds()
    {
        Window s({900, 800});
        PatternWriter w;
        w.header(2, 1, 0).settings21({}).integer(1).line(1500, 1500, 6000, 1500).integer(3);
        w.shape(1, 1500, 3000, 3000, 1500).shape(3, 6000, 3000, 3000, 1500).shape(5, 1500, 6000, 1500, 1500);

        s.run("open:" + s.write(w.noPicture()));

        const QImage image = s.work->Pattern()->grab().toImage();
        for (int x = 0; x < image.width(); ++x)
            QCOMPARE(blackNear(image, x, 100), x >= 100 && x <= 400);
        QVERIFY(blackNear(image, 100, 250)); // a square fills its box
        QVERIFY(blackNear(image, 299, 250));
        QVERIFY(!blackNear(image, 200, 250, 20));
        QVERIFY(blackNear(image, 400, 250, 2)); // a circle touches its sides only
        QVERIFY(!blackNear(image, 402, 202, 2));
        QVERIFY(blackNear(image, 100, 400)); // a rounded square is drawn square
    }

    // A name dropped acts as if chosen in the dialog, what is not a local
    // pattern is not taken, and several are offered as a batch.
    void dropsOpenPatterns()
    {
        Window s;
        const QString house = QString::fromStdString(s.dir.file("HOUSE.PAT"));
        QVERIFY(QFile::copy(QString::fromStdString(s.letter), house));
        const QString gone = QString::fromStdString(s.dir.file("gone.pat"));
        QStringList offered;

        drop(s.panel, {house, gone});
        whenShown<ConvertFilesDialog>([&](ConvertFilesDialog *d) { // the drop's dialog comes first
            for (int i = 0; i < d->inputList()->count(); ++i)
                offered << d->inputList()->item(i)->text();
            d->reject();
        });
        QTRY_COMPARE(offered.size(), 2);
        const QString afterBatch = s.states();
        s.run("open size:400");
        drop(s.work->Pattern(), {QString::fromStdString(s.dir.file("a.txt"))});
        const QString afterText = s.states();
        drop(s.work->Pattern(), {"https://example.org/x.pat", house}); // named in capitals, as old systems do
        QTRY_COMPARE(s.states(), "10000");
        const QString shown = s.panel->TextFilename(0)->text();
        drop(s.panel, {gone});
        QTRY_COMPARE(s.states(), "30000");

        QCOMPARE(offered, (QStringList{house, gone}));
        QCOMPARE(afterBatch, "00000");
        QCOMPARE(afterText, "12210");
        QCOMPARE(shown, house);
        QCOMPARE(s.box.boxes.size(), 1u);
    }

    // The save dialog asks before replacing when the flags say so, and a
    // later filter's suffix becomes its default, so that it asks about the
    // file the suffix names.
    void saveDialogAsksBeforeReplacing()
    {
        CommonDialog d;
        d.Filter = "Windows Metafile (*.wmf)|*.wmf";
        d.Flags = 0x806; // the overwrite prompt among them
        QFileDialog save;
        QtFileDialogs::configure(save, d, QtFileDialogs::Save);
        d.Flags = 0;
        d.Filter += "|Pictures|*.svg;*.a";
        QFileDialog formats;
        QtFileDialogs::configure(formats, d, QtFileDialogs::Save);
        QStringList suffixes;
        for (const int filter : {0, 1, 0}) {
            emit formats.filterSelected(formats.nameFilters().at(filter));
            suffixes << formats.defaultSuffix();
        }

        QCOMPARE(save.windowTitle(), "Save As Metafile");
        QCOMPARE(save.testOption(QFileDialog::DontConfirmOverwrite), false);
        QCOMPARE(formats.testOption(QFileDialog::DontConfirmOverwrite), true);
        QCOMPARE(formats.nameFilters(), (QStringList{"Windows Metafile (*.wmf)", "Pictures (*.svg *.a)"}));
        QCOMPARE(suffixes, (QStringList{"", "svg", ""}));
    }

    // A second window whose place is taken opens one step down and right;
    // the slot is free again once the first has gone.
    void windowsCascade()
    {
        QTemporaryDir locks;
        const WindowPlacement::Save ignored = [](const QByteArray &) {};
        QWidget first;
        QWidget second;
        QWidget again;
        first.setGeometry(100, 120, 300, 200);
        const QByteArray saved = first.saveGeometry();
        auto firstPlacement = std::make_unique<WindowPlacement>(first, locks.path(), ignored);
        WindowPlacement secondPlacement(second, locks.path(), ignored);

        firstPlacement->restore(saved);
        secondPlacement.restore(saved);
        firstPlacement.reset();
        WindowPlacement againPlacement(again, locks.path(), ignored);
        againPlacement.restore(saved);

        const int step = secondPlacement.cascadeStep();
        QVERIFY(step > 0);
        QCOMPARE(second.geometry().topLeft() - first.geometry().topLeft(), QPoint(step, step));
        QCOMPARE(again.geometry(), QRect(100, 120, 300, 200)); // where the first was, at its saved place
    }

    // Saved once the window settles after a change, not only at exit; the
    // placing that follows showing is no change. No delay: the order of
    // events decides, not the clock.
    void geometrySavedWhenChanged()
    {
        QTemporaryDir locks;
        QWidget window;
        QList<QByteArray> saves;
        WindowPlacement placement(window, locks.path(), [&](const QByteArray &g) { saves << g; }, 0);
        placement.restore({});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
        const qsizetype placed = saves.size();

        window.setGeometry(210, 160, 320, 240);
        QTRY_COMPARE(saves.size(), 1);

        QCOMPARE(placed, 0);
        QCOMPARE(saves.first(), window.saveGeometry());
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
