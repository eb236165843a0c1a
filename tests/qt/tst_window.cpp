// The window through its real buttons, and the Qt adapters behind the core's interfaces.

#include "scriptedsession.h"

#include "settings/preferences.h"
#include "shell/qt/qmessageboxadapter.h"
#include "shell/qt/qtfiledialogs.h"
#include "shell/qt/qtinputbox.h"
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
#include <QHeaderView>
#include <QTreeView>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
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
    MainWindow window{platform()};
    PicPanel *panel = window.picPanel();
    WorkFormWidget *work = window.workFormWidget();
    QMdiSubWindow *sub = window.workFormWindow();
    explicit Window(QSize size = {})
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
    QString states() { QString s; for (const auto v : window.mainForm().stepStates()) s += QString::number(v); return s; }
    // The work window lies inside the area, which shows no bars of its own.
    bool fits() const
    {
        const QMdiArea *a = window.mdiArea();
        return a->viewport()->rect().contains(sub->geometry()) && !a->horizontalScrollBar()->isVisible()
               && !a->verticalScrollBar()->isVisible();
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

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Runs Convert Files... without its dialog and waits for the end.
void convertAll(MainWindow &window, const BatchOptions &options)
{
    QSignalSpy finished(window.convertFilesRun(), &ConvertFilesRun::finished);
    const auto refused = window.convertFilesRun()->start(options);
    QCOMPARE(QString::fromStdString(refused.value_or("")), QString());
    QVERIFY(finished.wait(60000));
}

// A store that holds every reader until opened: a version 1 pattern being
// converted waits in it, so a test sees the window while a file is converted
// whatever the machine's load.
struct GatedStore : SettingsStore {
    std::optional<std::string> readText(const std::string &, const std::string &, const std::string &) override
    {
        if (onRead)
            onRead();
        ++waiting;
        while (!open)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return std::nullopt;
    }
    std::atomic<bool> open{false};
    std::atomic<int> waiting{0};
    std::function<void()> onRead;
};

// The window over a gated store; a version 1 pattern in a run waits at the gate.
struct GatedWindow : ScriptedSession {
    GatedStore gate;
    MainWindow window{Platform{box, gate, &dialogs, &input, 15.0, 15.0, dir.file("cache")}};
    const std::string waits = write(PatternWriter().header(1, 1, 0).settings11({}).integer(0).integer(0).noPicture(),
                                    "house-v1.1.pat");
    GatedWindow()
    {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    }
    ~GatedWindow() { gate.open = true; }
    // Starts a run of inputs into out/ and returns once the worker waits at the gate.
    void startWaiting(std::vector<std::string> inputs)
    {
        BatchOptions options;
        options.inputs = std::move(inputs);
        options.outDir = dir.file("out");
        QCOMPARE(QString::fromStdString(window.convertFilesRun()->start(options).value_or("")), QString());
        QTRY_VERIFY_WITH_TIMEOUT(gate.waiting > 0, 60000);
    }
};

struct MemoryPreferences : Preferences {
    std::string lastFolder() override { return folder; }
    void setLastFolder(const std::string &f) override { folder = f; }
    std::string folder;
};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT

private slots:
    void panelFollowsTheSteps()
    {
        Window s;
        PicPanel *p = s.panel;
        s.run("open fail-save");
        QVERIFY(!p->Command(0)->isEnabled() && p->Command(4)->isEnabled() && p->CommandReset()->isVisible());
        QCOMPARE(p->TextFilename(0)->text() + " " + p->LabelPixelsX(1)->text() + "/" + p->LabelPixelsY(1)->text()
                     + " " + p->TextFilename(1)->text(),
                 QString::fromStdString(s.letter) + " 816/1056 Error: File not saved");
        QVERIFY(p->TextFilename(1)->isVisible() && s.work->Pattern()->size() == QSize(816, 1056));
        const auto painted = [p](int i) { return p->grab().toImage().pixelColor(p->ShapeC(i)->geometry().center()); };
        QCOMPARE((QList<QColor>{painted(0), painted(3), painted(4)}), // done, skipped, failed
                 (QList<QColor>{QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)}));
        s.run("reset");
        QCOMPARE(painted(4), QColor(Qt::white));
        QVERIFY(p->Command(0)->isEnabled() && !p->Command(3)->isEnabled() && !p->CommandReset()->isVisible());
        QVERIFY(!p->TextFilename(0)->isVisible() && !s.sub->isVisible());
    }

    // The keyboard alone: each step is pressed where the focus is, with Enter
    // or Space in turn, and the focus ends where the next step waits.
    void keyboardFollowsTheSteps_data()
    {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("focused");
        QTest::newRow("opened") << "open" << "Command3";
        QTest::newRow("open cancelled") << "cancel-open" << "Command0";
        QTest::newRow("open failed") << "bad-open" << "Command0";
        QTest::newRow("sized") << "open size:400" << "Command4";
        QTest::newRow("size refused") << "open size:abc" << "Command3";
        QTest::newRow("size cancelled") << "open size:" << "Command3";
        QTest::newRow("saved") << "open size:400 save" << "Command4";
        QTest::newRow("save failed") << "open size:400 fail-save" << "Command4";
        QTest::newRow("save cancelled") << "open size:400 cancel-save" << "Command4";
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

    void keyboardFromTheStart()
    {
        Window s;
        QVERIFY(QTest::qWaitForWindowActive(&s.window));

        const QWidget *focused = QApplication::focusWidget();

        QCOMPARE(focused, s.panel->Command(0));
        QCOMPARE(s.window.testAttribute(Qt::WA_KeyboardFocusChange), true);
    }

    // Tab walks the panel from top to bottom and round again, Shift+Tab back;
    // neither is caught in the work window.
    void tabOrder()
    {
        Window s;
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.run("open save");
        QStringList forward, backward;
        s.panel->CommandReset()->setFocus();

        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            forward << QApplication::focusWidget()->objectName();
        }
        for (int i = 0; i < 6; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
            backward << QApplication::focusWidget()->objectName();
        }

        QCOMPARE(forward.join(' '), "TextFilename0 Command3 Command4 TextFilename1 CommandReset TextFilename0");
        QCOMPARE(backward.join(' '), "CommandReset TextFilename1 Command4 Command3 TextFilename0 CommandReset");
    }

    // The examples and a garbage file: the examples as orvane-convert --out-dir
    // writes them, the garbage named in the summary with the converter's line.
    void convertFilesAsTheCommandLine_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("width");
        QTest::newRow("metafile") << "wmf" << "";
        QTest::newRow("placeable, 300 wide") << "placeable" << "300";
    }
    void convertFilesAsTheCommandLine()
    {
        QFETCH(QString, format);
        QFETCH(QString, width);
        Window s;
        QStringList inputs = ConvertFilesDialog::patternsIn(ORVANE_EXAMPLES);
        inputs << QString::fromStdString(s.write(PatternWriter().raw("not a pattern"), "garbage.pat"));
        BatchOptions options;
        for (const QString &input : inputs)
            options.inputs.push_back(input.toStdString());
        options.outDir = s.dir.file("window");
        options.format = format.toStdString();
        if (!width.isEmpty())
            options.width = width.toStdString();
        QStringList arguments{"--format", format, "--out-dir", QString::fromStdString(s.dir.file("cli"))};
        if (!width.isEmpty())
            arguments << "--width" << width;
        QProcess convert;
        convert.start(ORVANE_CONVERT, arguments + inputs);
        QVERIFY(convert.waitForFinished(60000));

        convertAll(s.window, options);

        const QDir cli(QString::fromStdString(s.dir.file("cli")));
        const QDir window(QString::fromStdString(s.dir.file("window")));
        QCOMPARE(window.entryList(QDir::Files), cli.entryList(QDir::Files));
        QCOMPARE(window.entryList(QDir::Files).size(), 7);
        for (const QString &name : cli.entryList(QDir::Files))
            QVERIFY2(bytesOf(window.filePath(name)) == bytesOf(cli.filePath(name)), qPrintable(name));
        const ConvertFilesRun &run = *s.window.convertFilesRun();
        QCOMPARE(run.written().size(), 7);
        QCOMPARE(run.failures().size(), 1);
        QVERIFY2(run.failures().first().startsWith(inputs.last() + ": "), qPrintable(run.failures().first()));
        QVERIFY2(run.summary().startsWith("7 written, 1 failed.\n"), qPrintable(run.summary()));
        QDialog *summary = s.window.findChild<QDialog *>("BatchSummary");
        if (const QString shots = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR"); !shots.isEmpty() && width.isEmpty())
            summary->grab().save(shots + "/convert-files-summary.png"); // for the README
    }

    // Cancel stops after the file being converted: the rest never start.
    void convertFilesCancel()
    {
        Window s;
        BatchOptions options;
        for (int i = 0; i < 40; ++i)
            options.inputs.push_back(s.letter);
        options.outDir = s.dir.file("out");
        QSignalSpy finished(s.window.convertFilesRun(), &ConvertFilesRun::finished);
        s.window.convertFilesRun()->start(options);

        QTest::mouseClick(s.window.convertFilesRun()->progressForm()->CommandCancel(), Qt::LeftButton);

        QVERIFY(finished.wait(20000));
        const ConvertFilesRun &run = *s.window.convertFilesRun();
        QVERIFY2(run.notConverted() >= 38, qPrintable(run.summary()));
        QCOMPARE(run.written().size() + run.failures().size() + run.notConverted(), 40);
        QVERIFY(!run.progressForm()->isVisible());
    }

    // The progress window names the file and counts while the file is
    // converted beside the window: the worker waits at the gate, the window
    // goes on.
    void convertFilesKeepsTheWindowAlive()
    {
        GatedWindow s;
        std::atomic<std::thread::id> reader;
        s.gate.onRead = [&] { reader = std::this_thread::get_id(); };
        QSignalSpy finished(s.window.convertFilesRun(), &ConvertFilesRun::finished);

        s.startWaiting({s.letter, s.waits, s.letter, s.letter});

        ProgressForm *progress = s.window.convertFilesRun()->progressForm();
        QTRY_COMPARE_WITH_TIMEOUT(progress->HeaderText()->text(), "2 of 4: house-v1.1.pat", 60000);
        QVERIFY(reader.load() != std::this_thread::get_id());
        if (const QString shots = qEnvironmentVariable("ORVANE_SCREENSHOT_DIR"); !shots.isEmpty()) {
            QImage image = s.window.grab().toImage(); // for the README
            QPainter(&image).drawPixmap(progress->pos() - s.window.pos(), progress->grab());
            image.save(shots + "/convert-files-progress.png");
        }
        s.gate.open = true;
        QVERIFY(finished.wait(60000));
        QCOMPARE(s.window.convertFilesRun()->written().size(), 4);
        QDialog *summary = s.window.findChild<QDialog *>("BatchSummary");
        QVERIFY(summary);
        QVERIFY(summary->isVisible());
        QCOMPARE(summary->findChild<QPlainTextEdit *>()->toPlainText(), s.window.convertFilesRun()->summary());
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
        QCOMPARE(dialog.formatBox()->itemText(0), "Windows Metafile (*.wmf)");
        QCOMPARE(dialog.findChild<QLabel *>("WidthLabel")->buddy(), dialog.widthEdit());
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
        QDir().mkpath(out.path());
        QFile old(out.filePath("letter.wmf"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const QString second = QString::fromStdString(s.dir.file("second.pat"));
        QFile::copy(QString::fromStdString(s.letter), second);
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
        QTRY_COMPARE_WITH_TIMEOUT(s.window.convertFilesRun()->running(), false, 20000);

        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked.first().startsWith("1 file this run would write is already in "), qPrintable(asked.first()));
        QCOMPARE(started.size(), run ? 1 : 0);
        QCOMPARE(dialog.result() == QDialog::Accepted, run);
        QCOMPARE(bytesOf(out.filePath("letter.wmf")) == "old", oldKept);
        QCOMPARE(QFile::exists(out.filePath("second.wmf")), run);
    }

    // The dialog opens with the last run's folders, format and width, in the
    // same window and the next.
    void convertFilesRemembersTheLastRun()
    {
        QString out;
        QString filesFolder;
        {
            Window s;
            s.window.windowSettings().remove("ConvertFiles");
            out = QString::fromStdString(s.dir.file("out"));
            filesFolder = QFileInfo(QString::fromStdString(s.letter)).absolutePath();
            QSignalSpy finished(s.window.convertFilesRun(), &ConvertFilesRun::finished);
            whenShown<ConvertFilesDialog>([&](ConvertFilesDialog *d) {
                d->addInputs({QString::fromStdString(s.letter)});
                d->outDirEdit()->setText(out);
                d->formatBox()->setCurrentIndex(d->formatBox()->findData("svg"));
                d->widthEdit()->setText("300");
                d->convertButton()->click();
            });
            s.window.menuFileConvert()->trigger();
            QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
        }
        Window next;
        ConvertFilesChoices seen;
        whenShown<ConvertFilesDialog>([&](ConvertFilesDialog *d) {
            seen = d->choices();
            d->reject();
        });

        next.window.menuFileConvert()->trigger();

        QCOMPARE(seen.filesFolder + "|" + seen.outDir + "|" + seen.format + "|" + seen.width,
                 filesFolder + "|" + out + "|svg|300");
    }

    // While a run goes on, the steps and a second run are not to be had: a
    // second Convert Files raises the progress window. Escape in the main
    // window cancels the run; afterwards all is as before.
    void convertFilesRunHoldsTheWindow()
    {
        GatedWindow s;
        const ConvertFilesRun &run = *s.window.convertFilesRun();
        QSignalSpy finished(&run, &ConvertFilesRun::finished);
        s.startWaiting({s.waits, s.waits});
        const QList<bool> during{s.window.menuFileConvert()->isEnabled(), s.window.menuFileOpen()->isEnabled(),
                                 s.window.picPanel()->isEnabled()};
        s.window.convertFiles();
        QWidget *modal = QApplication::activeModalWidget();
        s.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));

        QTest::keyClick(&s.window, Qt::Key_Escape);
        s.gate.open = true;

        QVERIFY(finished.wait(20000));
        QCOMPARE(during, (QList<bool>{false, false, false}));
        QCOMPARE(modal, nullptr);
        QCOMPARE(run.notConverted(), 1);
        QCOMPARE((QList<bool>{s.window.menuFileConvert()->isEnabled(), s.window.menuFileOpen()->isEnabled(),
                              s.window.picPanel()->isEnabled()}),
                 (QList<bool>{true, true, true}));
    }

    // Several files dropped at once are offered as a batch; the steps are untouched.
    void dropSeveralOffersTheBatch()
    {
        Window s;
        QStringList listed;
        const QString second = QString::fromStdString(s.write(PatternWriter().raw("x"), "second.pat"));

        drop(s.panel, {QString::fromStdString(s.letter), second});
        whenShown<ConvertFilesDialog>([&](ConvertFilesDialog *d) { // the drop's dialog comes first
            for (int i = 0; i < d->inputList()->count(); ++i)
                listed << d->inputList()->item(i)->text();
            d->reject();
        });

        QTRY_COMPARE(listed, (QStringList{QString::fromStdString(s.letter), second}));
        QCOMPARE(s.states(), "00000");
    }

    // The menus with their keys, the panel's steps among them; Ctrl+O opens.
    void menusAndShortcuts()
    {
        Window s;
        QStringList menus;
        for (const QAction *menu : s.window.menuBar()->actions()) {
            QStringList items;
            for (const QAction *item : menu->menu()->actions())
                items << item->text() + (item->shortcut().isEmpty() ? "" : " " + item->shortcut().toString());
            menus << menu->text() + ": " + items.join(", ");
        }
        s.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        s.dialogs.opens.push_back({DialogOutcome::Accepted, s.letter});

        QTest::keyClick(&s.window, Qt::Key_O, Qt::ControlModifier);

        QCOMPARE(menus.join('\n'), QString::fromUtf8("&File: &Open Pattern File… Ctrl+O, &Save As Metafile… Ctrl+S, , "
                                                     "&Convert Files… Ctrl+Shift+O, , E&xit Ctrl+Q\n"
                                                     "&View: &Fit Page Ctrl+0, &Actual Size Ctrl+1\n"
                                                     "&Help: &About Orvane…"));
        QCOMPARE(s.states(), "10000");
        QCOMPARE(s.window.menuFileOpen()->isEnabled(), false);
        QCOMPARE(s.window.menuFileSave()->isEnabled(), true);
    }

    void aboutNamesVersionLicenceAndFiles()
    {
        Window s;

        const QString text = s.window.aboutText();

        for (const QString &part : {QStringLiteral(ORVANE_VERSION), QStringLiteral("MIT licence"),
                                    s.window.windowSettings().fileName(), QStringLiteral("/vrtmimage.tmp")})
            QVERIFY2(text.contains(part), qPrintable(part + " not in " + text));
    }

    // The panel takes the desktop's face, at a size its captions fit, and
    // follows a change of it.
    void panelFollowsTheDesktopFont()
    {
        Window s;
        const QFont desktop = QApplication::font();
        const auto restore = qScopeGuard([desktop] { QApplication::setFont(desktop); });
        const QFont atStart = s.panel->font();
        QFont large(QStringLiteral("Nimbus Roman"));
        large.setPointSizeF(14);

        QApplication::setFont(large);

        QCOMPARE(atStart.family(), desktop.family());
        QVERIFY(s.panel->captionsFit(atStart));
        QCOMPARE(s.panel->font().family(), large.family());
        QVERIFY(s.panel->captionsFit(s.panel->font()));
        QVERIFY2(s.panel->font().pointSizeF() < 14, qPrintable(QString::number(s.panel->font().pointSizeF())));
    }

    // Fit Page shows the whole page, Actual Size its pixels again; the saved
    // file is the same in both.
    void viewScaleLeavesTheSaveAlone()
    {
        Window s({1100, 880});
        const std::string actual = s.dir.file("actual.wmf");
        const std::string fitted = s.dir.file("fitted.wmf");
        s.run("open save:" + actual);
        s.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));

        QTest::keyClick(&s.window, Qt::Key_0, Qt::ControlModifier);
        const QRect page = s.work->Pattern()->geometry();
        const QImage shown = s.work->Pattern()->grab().toImage();
        s.run("save:" + fitted);
        QTest::keyClick(&s.window, Qt::Key_1, Qt::ControlModifier);

        QVERIFY2(s.work->PicScroll()->rect().contains(page), qPrintable(QString("%1 x %2").arg(page.width()).arg(page.height())));
        QCOMPARE(page.height(), s.work->PicScroll()->height()); // a letter page: its height decides
        const double zoom = page.height() / 1056.0; // the letter's line from (96, 96) to (192, 96), scaled
        QVERIFY(blackNear(shown, qRound(144 * zoom), qRound(96 * zoom), 1));
        QVERIFY(!blackNear(shown, 144, 96, 1));
        QCOMPARE(s.work->Pattern()->size(), QSize(816, 1056));
        QCOMPARE(bytesOf(QString::fromStdString(fitted)), bytesOf(QString::fromStdString(actual)));
    }

    // The design size when there is room, else fitted; dragged out, it comes back.
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
        Window s(mainWindow);
        s.run("open");
        QTRY_VERIFY(s.sub->isVisible());
        const QSize room = s.window.mdiArea()->viewport()->size();
        QCOMPARE(s.sub->geometry(), QRect(QPoint(), s.sub->sizeHint().boundedTo(room)));
        QCOMPARE(s.work->size() == QSize(639, 390), designSize);
        QVERIFY(s.fits() && s.work->rect().contains(s.work->VScroll1()->geometry()));
        s.sub->move(-50, 4000);
        QVERIFY(s.fits());
        s.window.resize(1200, 1000);
        s.sub->setGeometry(10, 20, 700, 500); // a size the user gives it comes back after a smaller area
        s.window.resize(700, 500);
        QVERIFY(s.fits());
        s.window.resize(1200, 1000);
        QCOMPARE(s.sub->size(), QSize(700, 500));
        s.run("reset");
        QVERIFY(!s.sub->isVisible() && s.fits());
    }

    // Enlarging the main window enlarges the work window by as much; back
    // again, it has its designed size.
    void workWindowFollowsTheMainWindow()
    {
        Window s({1100, 880});
        s.run("open");
        QTRY_VERIFY(s.sub->isVisible());
        const QSize designed = s.sub->size();

        s.window.resize(1400, 1080);
        const QSize enlarged = s.sub->size();
        s.window.resize(1100, 880);

        QCOMPARE(enlarged - designed, QSize(300, 200));
        QCOMPARE(s.sub->size(), designed);
        QVERIFY(s.fits());
    }

    // As small as it goes, every visible control of the panel stays in view.
    void minimumSize()
    {
        Window s;
        s.run("open");
        s.window.resize(1, 1);
        QCoreApplication::processEvents();
        QVERIFY(s.window.width() < 613);
        int visible = 0;
        for (QWidget *c : s.panel->findChildren<QWidget *>())
            if (c->isVisible() && ++visible)
                QVERIFY2(s.window.rect().contains(QRect(c->mapTo(&s.window, QPoint()), c->size())),
                         qPrintable(c->objectName()));
        QVERIFY(visible >= 20 && s.panel->TextFilename(0)->width() > 100 && s.fits());
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
        // A square fills its box, a circle touches its sides only, a rounded square is drawn square.
        QVERIFY(blackNear(image, 100, 250) && blackNear(image, 299, 250) && !blackNear(image, 200, 250, 20));
        QVERIFY(blackNear(image, 400, 250, 2) && !blackNear(image, 402, 202, 2) && blackNear(image, 100, 400));
    }

    // A name given to the program or dropped on it acts as if chosen in the dialog.
    void fileFromOutside()
    {
        Window s;
        QVERIFY(s.window.openFile(s.dir.file("missing.pat")) != MainForm::Outcome::Done);
        QCOMPARE(s.states() + QString::number(s.box.boxes.size()), "300001");
        s.window.openFile(s.letter);
        QVERIFY(s.states() == "10000" && s.sub->isVisible());
        s.run("size:400");
        drop(s.work->Pattern(), {QString::fromStdString(s.dir.file("a.txt"))});
        QTest::qWait(20);
        QCOMPARE(s.states(), "12210");
        PatternWriter::Page page;
        page.patternWidth = page.patternHeight = 7200;
        const QString house = QString::fromStdString(
            s.write(PatternWriter().header(1, 1, 0).settings11(page).integer(0).integer(0).noPicture(), "HOUSE.PAT"));
        drop(s.work->Pattern(), {"https://example.org/x.pat", house}); // named in capitals, as old systems do
        QTRY_COMPARE(s.states(), "10000");
        QCOMPARE(s.panel->TextFilename(0)->text() + " " + s.panel->LabelPixelsX(1)->text(), house + " 480");
        QVERIFY(s.sub->isVisible() && s.fits());
        drop(s.panel, {QString::fromStdString(s.dir.file("gone.pat"))});
        QTRY_COMPARE(s.states(), "30000");
        QCOMPARE(s.box.boxes.size() + s.dialogs.openShown.size() + s.dialogs.saveShown.size(), 2u);
    }

    // The open dialog starts where the last pattern was, in this run and the
    // next; the save dialog beside the pattern, with its name.
    void dialogFolders()
    {
        ScriptedSession p;
        MemoryPreferences remembered;
        Platform platform = p.platform();
        platform.preferences = &remembered;
        const std::string sub = p.dir.file("sub");
        std::filesystem::create_directory(sub);
        p.write(PatternWriter().header(1, 1, 0).settings11({}).integer(0).integer(0).noPicture(), "sub/a.v2.pat");
        {
            MainForm form(platform);
            form.Load();
            p.dialogs.opens.push_back({DialogOutcome::Accepted, sub + "/a.v2.pat"});
            for (int step : {0, 4, -1, 0})
                step < 0 ? form.CommandResetClick() : form.CommandClick(step);
        }
        MainForm next(platform);
        next.Load();
        next.CommandClick(0);
        const auto &o = p.dialogs.openShown;
        QCOMPARE(o.at(0).InitDir + "|" + o.at(1).InitDir + "|" + o.at(2).InitDir, "|" + sub + "|" + sub);
        QCOMPARE(p.dialogs.saveShown.at(0).InitDir + "|" + p.dialogs.saveShown.at(0).FileName, sub + "|a.v2.wmf");
        remembered.folder.clear(); // a relative name is remembered as a full one
        QVERIFY(QDir::setCurrent(QString::fromStdString(sub)));
        QCOMPARE(next.OpenPattern("../sub/a.v2.pat"), MainForm::Outcome::Done);
        QVERIFY(QDir::setCurrent(QDir::tempPath()));
        QCOMPARE(remembered.folder, sub);
    }

    void messageAndInputBoxes()
    {
        QStringList seen;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            seen = {QString::number(box->icon()), box->windowTitle(), box->text(), QString::number(box->buttons().size())};
            box->accept();
        });
        QCOMPARE(QMessageBoxAdapter().showMessage("One.\r\nFile: /x.pat\r\n\r\nTwo.", 48, "Orvane"), 1);
        QCOMPARE(seen.join("|"), QString("%1|Orvane|One.\nFile: /x.pat\n\nTwo.|1").arg(QMessageBox::Warning));
        whenShown<QInputDialog>([&](QInputDialog *d) {
            seen = QStringList{d->windowTitle(), d->labelText(), d->textValue()};
            d->setTextValue("1000"), d->accept();
        });
        QtInputBox box;
        QCOMPARE(box.inputBox("Set it.\r\n\r\nHorizontal Pixels?", "Orvane"), std::string("1000"));
        QCOMPARE(seen.join("|"), "Orvane|Set it.\n\nHorizontal Pixels?|");
        whenShown<QInputDialog>([](QInputDialog *d) { d->setTextValue("5"), d->reject(); });
        QCOMPARE(box.inputBox("p", "Orvane"), std::string());
    }

    // Wide enough to read the size and type columns; then as the user left one.
    void fileDialogSize()
    {
        QtFileDialogs dialogs;
        QFileDialog first, second;
        first.setOption(QFileDialog::DontUseNativeDialog);
        second.setOption(QFileDialog::DontUseNativeDialog);
        QFont large = first.font(); // a large face, where Qt's own widths cut the texts
        large.setPointSize(18);
        first.setFont(large);

        dialogs.fit(first);
        const QHeaderView *header = first.findChild<QTreeView *>("treeView")->header();
        const QFontMetrics metrics(header->font());
        const int sizeColumn = header->sectionSize(1);
        const int typeColumn = header->sectionSize(2);
        first.resize(1000, 640);
        dialogs.remember(first);
        dialogs.fit(second);

        QVERIFY2(sizeColumn > metrics.horizontalAdvance("1023.9 KiB"), qPrintable(QString::number(sizeColumn)));
        QVERIFY2(typeColumn > metrics.horizontalAdvance("Veltrum pattern file"), qPrintable(QString::number(typeColumn)));
        QCOMPARE(second.size(), QSize(1000, 640));
    }

    // A second window whose place is taken opens one step down and right, a
    // third one more; the slot is free again once the first has gone.
    void windowsCascadeByEvenSteps()
    {
        QTemporaryDir locks;
        QWidget first, second, third, again;
        first.setGeometry(100, 120, 300, 200);
        const QByteArray saved = first.saveGeometry();
        auto firstPlacement = std::make_unique<WindowPlacement>(first, locks.path(), [](const QByteArray &) {});
        WindowPlacement secondPlacement(second, locks.path(), [](const QByteArray &) {});
        WindowPlacement thirdPlacement(third, locks.path(), [](const QByteArray &) {});

        firstPlacement->restore(saved);
        secondPlacement.restore(saved);
        thirdPlacement.restore(saved);
        firstPlacement.reset();
        WindowPlacement againPlacement(again, locks.path(), [](const QByteArray &) {});
        againPlacement.restore(saved);

        const int step = secondPlacement.cascadeStep();
        QCOMPARE(second.geometry().topLeft() - first.geometry().topLeft(), QPoint(step, step));
        QCOMPARE(third.geometry().topLeft() - second.geometry().topLeft(), QPoint(step, step));
        QCOMPARE(againPlacement.slot(), 0);
        QCOMPARE(again.geometry(), first.geometry());
    }

    // The step is the title bar's height the window manager framed the window with.
    void cascadeStepIsTheTitleBar_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("inner");
        QTest::addColumn<int>("step");
        QTest::newRow("framed") << QRect(100, 100, 402, 524) << QRect(101, 123, 400, 500) << 23;
        QTest::newRow("not framed yet") << QRect(101, 123, 400, 500) << QRect(101, 123, 400, 500) << 30;
    }
    void cascadeStepIsTheTitleBar()
    {
        QFETCH(QRect, frame);
        QFETCH(QRect, inner);
        QFETCH(int, step);

        QCOMPARE(WindowPlacement::cascadeStepFor(frame, inner, 30), step);
    }

    // Saved shortly after a change, not only at exit; placing is no change.
    void geometrySavedWhenChanged()
    {
        QTemporaryDir locks;
        QWidget window;
        QList<QByteArray> saves;
        WindowPlacement placement(window, locks.path(), [&](const QByteArray &g) { saves << g; }, 20);
        placement.restore({});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(60);

        window.setGeometry(210, 160, 320, 240);
        QTRY_COMPARE(saves.size(), 1);
        QWidget restored;
        restored.restoreGeometry(saves.first());

        QCOMPARE(restored.geometry(), QRect(210, 160, 320, 240));
    }

    void fileDialogs()
    {
        CommonDialog d;
        d.Filter = "Pattern File (*.pat)|*.pat", d.DialogTitle = "Open Pattern File", d.FilterIndex = 1;
        d.Flags = CommonDialog::HideReadOnly | CommonDialog::PathMustExist | CommonDialog::FileMustExist;
        QFileDialog open, save, formats;
        QtFileDialogs::configure(open, d, QtFileDialogs::Open);
        QCOMPARE(open.windowTitle() + "|" + open.selectedNameFilter(), "Open Pattern File|Pattern File (*.pat)");
        QCOMPARE(open.fileMode(), QFileDialog::ExistingFile);
        d.Filter = "Windows Metafile (*.wmf)|*.wmf", d.Flags = 0x806; // what the open left behind stays in force
        QtFileDialogs::configure(save, d, QtFileDialogs::Save);
        QVERIFY(save.acceptMode() == QFileDialog::AcceptSave && !save.testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(save.windowTitle(), "Save As Metafile");
        d.Flags = 0, d.Filter += "|Pictures|*.svg;*.a"; // the overwrite check must see a later filter's suffix
        QtFileDialogs::configure(formats, d, QtFileDialogs::Save);
        QVERIFY(formats.testOption(QFileDialog::DontConfirmOverwrite));
        QCOMPARE(formats.nameFilters(), (QStringList{"Windows Metafile (*.wmf)", "Pictures (*.svg *.a)"}));
        for (const int filter : {0, 1, 0}) {
            emit formats.filterSelected(formats.nameFilters().at(filter));
            QCOMPARE(formats.defaultSuffix(), filter ? "svg" : "");
        }
        QTemporaryDir folder;
        QtFileDialogs dialogs;
        d.InitDir = folder.path().toStdString();
        whenShown<QFileDialog>([](QFileDialog *f) { f->reject(); });
        QCOMPARE(dialogs.showSave(d), DialogOutcome::Cancelled);
        whenShown<QFileDialog>([&](QFileDialog *f) {
            QCOMPARE(f->directory().absolutePath(), folder.path());
            f->selectFile(folder.filePath("a.wmf"));
            static_cast<QDialog *>(f)->accept(); // QFileDialog hides accept()
        });
        QCOMPARE(dialogs.showSave(d), DialogOutcome::Accepted);
        QCOMPARE(d.FileName, folder.filePath("a.wmf").toStdString());
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
