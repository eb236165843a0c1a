// The progress window with the display switched on.

#include "scriptedplatform.h"
#include "platform/libprogress.h"
#include "platform/qt/progressform.h"

#include <QLabel>
#include <QProgressBar>

using namespace orvane;
using namespace orvane::testing;

class TestProgressForm : public QObject {
    Q_OBJECT

    static LibProgress &switchedOn(Session &s)
    {
        s.window.mainForm().progress().SetProgressEnabled(true);
        return s.window.mainForm().progress();
    }

private slots:
    void startShowsHeaderAndBar()
    {
        Session s;
        LibProgress &progress = switchedOn(s);
        ProgressForm *form = s.window.progressForm();
        QVERIFY(!form->isVisible());
        progress.StartProgress(0, 3, "Loading Pattern - Lines", false);
        QVERIFY(form->isVisible());
        QVERIFY(form->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form->parentWidget(), &s.window);
        QCOMPARE(form->HeaderText()->text(), "Loading Pattern - Lines");
        QVERIFY(form->HeaderText()->font().bold());
        QCOMPARE(form->height(), 72); // 1080 twips
        QVERIFY(!form->CommandCancel()->isVisible());
        for (int i = 0; i < 4; ++i)
            progress.StepProgress(1);
        QCOMPARE(form->Bar()->maximum(), 3);
        QCOMPARE(form->Bar()->value(), 3);

        progress.StartProgress(0, 0, "Erasing - Please wait...", false);
        QCOMPARE(form->HeaderText()->text(), "Erasing - Please wait...");
        QCOMPARE(form->Bar()->maximum(), 1);
        QCOMPARE(form->Bar()->value(), 0);
        progress.EndProgress();
        QVERIFY(!form->isVisible());
    }

    void centredOverMainWindowWithCancel()
    {
        Session s;
        LibProgress &progress = switchedOn(s);
        ProgressForm *form = s.window.progressForm();
        progress.StartProgress(0, 10, "x", true);
        const QRect main = s.window.frameGeometry();
        QCOMPARE(form->width(), 419); // 6285 twips
        QCOMPARE(form->height(), 110); // 1655 twips
        QVERIFY(qAbs(form->x() - (main.x() + (main.width() - 419) / 2)) <= 1);
        // Its top is where the design height (1545 twips) would be centred.
        QVERIFY(qAbs(form->y() - (main.y() + (main.height() - 103) / 2)) <= 1);

        QVERIFY(form->CommandCancel()->isVisible());
        QVERIFY(progress.StepProgress(1));
        QTest::mouseClick(form->CommandCancel(), Qt::LeftButton);
        QVERIFY(!form->CommandCancel()->isEnabled());
        QVERIFY(!progress.StepProgress(1));
        progress.StartProgress(0, 10, "y", true);
        QVERIFY(progress.StepProgress(1));
        QVERIFY(!form->CommandCancel()->isEnabled()); // until the window is discarded
        progress.EndProgress();
        progress.StartProgress(0, 10, "z", true);
        QVERIFY(form->CommandCancel()->isEnabled());
    }
};

QTEST_MAIN(TestProgressForm)
#include "tst_progressform.moc"
