// The command panel's geometry: controls at their twips positions, the widths
// LayoutPanel gives reaching the widgets, the focus order and the pointer
// over the step buttons.

#include "scriptedplatform.h"
#include "shell/qt/shapewidget.h"

#include <QLabel>
#include <QLineEdit>

using namespace orvane;
using namespace orvane::testing;

class TestPanelLayout : public QObject {
    Q_OBJECT

private slots:
    void controlsSitAtTheirTwips()
    {
        Session s;
        PicPanel *panel = s.panel();
        QCOMPARE(panel->height(), 143); // 2145 twips
        QCOMPARE(panel->Command(0)->geometry(), QRect(54, 28, 191, 25));
        QCOMPARE(panel->Command(3)->geometry(), QRect(52, 64, 191, 25));
        QCOMPARE(panel->CommandReset()->geometry(), QRect(254, 28, 77, 25));
        QCOMPARE(panel->TextFilename(0)->pos(), QPoint(334, 30));
        QCOMPARE(panel->LabelPixelsY(1)->geometry(), QRect(510, 68, 69, 15));
        QCOMPARE(panel->ShapeC(4)->geometry(), QRect(6, 98, 35, 29));
        QCOMPARE(panel->Shape2(3)->pos(), QPoint(250, 58));
        QCOMPARE(panel->Command(1)->pos(), QPoint(672, 26));
        QCOMPARE(panel->Label1()->text(),
                 " Convert Veltrum Pattern Maker Files (*.pat) to Windows Metafiles (*.wmf)");
        for (int i = 0; i < StepCount; ++i)
            QCOMPARE(panel->Command(i)->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(panel->CommandReset()->cursor().shape(), Qt::ArrowCursor);
    }

    void widthFollowsWindow()
    {
        Session s;
        PicPanel *panel = s.panel();
        s.window.resize(800, s.window.height()); // 12000 twips
        QTRY_COMPARE(panel->width(), 800);
        for (int i = 0; i < StepCount; ++i)
            QCOMPARE(panel->widthTwips(panel->Shape2(i)), 8250.0f);
        QCOMPARE(panel->Shape2(0)->width(), 550);
        QCOMPARE(panel->widthTwips(panel->TextFilename(0)), 6890.0f);
        QCOMPARE(panel->widthTwips(panel->TextFilename(1)), 8060.0f);
        QCOMPARE(panel->TextFilename(1)->width(), 537);

        // However narrow the user makes it, every fixed control stays inside.
        s.window.resize(120, s.window.height());
        QTest::qWait(50);
        for (QWidget *control : panel->findChildren<QWidget *>()) {
            if (control->isVisibleTo(panel) && !control->objectName().startsWith(QLatin1String("Shape2"))
                && !control->objectName().startsWith(QLatin1String("TextFilename")))
                QVERIFY2(control->geometry().right() < panel->width(), qPrintable(control->objectName()));
        }
    }

    void focusOrder()
    {
        Session s;
        s.run("open");
        PicPanel *panel = s.panel();
        s.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        panel->CommandReset()->setFocus();
        // Command(0) is disabled, Command(1) and (2) hidden.
        for (const QWidget *next : {(QWidget *)panel->Command(3), (QWidget *)panel->Command(4),
                                    (QWidget *)panel->TextFilename(0)}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }
};

QTEST_MAIN(TestPanelLayout)
#include "tst_panellayout.moc"
