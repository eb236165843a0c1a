// The progress window with the display switched on.

#include "scriptedplatform.h"
#include "shell/libprogress.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/progressform.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

using namespace orvane;
using namespace orvane::testing;

class TestProgressForm : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_platform = std::make_unique<ScriptedPlatform>();
        m_window = std::make_unique<MainWindow>(m_platform->platform());
        m_window->move(40, 30);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        progress().SetProgressEnabled(true);
    }
    void cleanup()
    {
        m_window.reset();
        m_platform.reset();
    }

    void startShowsHeaderAndBar()
    {
        ProgressForm *form = m_window->progressForm();
        QVERIFY(!form->isVisible());
        progress().StartProgress(0, 3, "Loading Pattern - Lines", false);
        QVERIFY(form->isVisible());
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form->parentWidget(), m_window.get());
        QCOMPARE(form->HeaderText()->text(), "Loading Pattern - Lines");
        QVERIFY(form->HeaderText()->font().bold());
        QCOMPARE(form->height(), 72); // 1080 twips
        QVERIFY(!form->CommandCancel()->isVisible());
        for (int i = 0; i < 4; ++i)
            progress().StepProgress(1);
        QCOMPARE(form->Bar()->maximum(), 3);
        QCOMPARE(form->Bar()->value(), 3);

        // A second start keeps the window and replaces header and range.
        progress().StartProgress(0, 0, "Erasing - Please wait...", false);
        QCOMPARE(form->HeaderText()->text(), "Erasing - Please wait...");
        QCOMPARE(form->Bar()->maximum(), 1);
        QCOMPARE(form->Bar()->value(), 0);

        progress().EndProgress();
        QVERIFY(!form->isVisible());
    }

    void centredOverMainWindow()
    {
        ProgressForm *form = m_window->progressForm();
        progress().StartProgress(0, 1, "x", true);
        const QRect main = m_window->frameGeometry();
        QCOMPARE(form->width(), 419); // 6285 twips
        QVERIFY(qAbs(form->x() - (main.x() + (main.width() - 419) / 2)) <= 1);
        // Its top is where the design height (1545 twips) would be centred.
        QVERIFY(qAbs(form->y() - (main.y() + (main.height() - 103) / 2)) <= 1);
        QCOMPARE(form->height(), 110); // 1655 twips
    }

    void cancelStopsUntilTheWindowIsDiscarded()
    {
        ProgressForm *form = m_window->progressForm();
        progress().StartProgress(0, 10, "x", true);
        QVERIFY(form->CommandCancel()->isVisible());
        QVERIFY(progress().StepProgress(1));
        QTest::mouseClick(form->CommandCancel(), Qt::LeftButton);
        QVERIFY(!form->CommandCancel()->isEnabled());
        QVERIFY(!progress().StepProgress(1));

        progress().StartProgress(0, 10, "y", true);
        QVERIFY(progress().StepProgress(1));
        QVERIFY(!form->CommandCancel()->isEnabled());

        progress().EndProgress();
        progress().StartProgress(0, 10, "z", true);
        QVERIFY(form->CommandCancel()->isEnabled());
    }

private:
    LibProgress &progress() { return m_window->mainForm().progress(); }

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TestProgressForm)
#include "tst_progressform.moc"
