// The command panel's geometry: controls at their twips positions, the widths
// LayoutPanel gives, the focus order and the pointer over the step buttons.

#include "scriptedplatform.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"
#include "shell/qt/shapewidget.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace orvane;
using namespace orvane::testing;

class TestPanelLayout : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_platform = std::make_unique<ScriptedPlatform>();
        m_window = std::make_unique<MainWindow>(m_platform->platform());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup()
    {
        m_window.reset();
        m_platform.reset();
    }

    void controlsSitAtTheirTwips()
    {
        PicPanel *panel = m_window->picPanel();
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
    }

    void widthFollowsWindow()
    {
        PicPanel *panel = m_window->picPanel();
        m_window->resize(800, m_window->height()); // 12000 twips
        QTRY_COMPARE(panel->width(), 800);
        for (int i = 0; i < StepCount; ++i)
            QCOMPARE(panel->widthTwips(panel->Shape2(i)), 8250.0f);
        QCOMPARE(panel->Shape2(0)->width(), 550);
        QCOMPARE(panel->widthTwips(panel->TextFilename(0)), 6890.0f);
        QCOMPARE(panel->widthTwips(panel->TextFilename(1)), 8060.0f);
        QCOMPARE(panel->TextFilename(1)->width(), 537);

        // Widths that are no whole number of pixels go to the layout itself.
        m_window->mainForm().LayoutPanel(5210);
        QCOMPARE(panel->widthTwips(panel->Shape2(0)), 1460.0f);
        QCOMPARE(panel->widthTwips(panel->TextFilename(0)), 6890.0f);
        m_window->mainForm().LayoutPanel(5211);
        QCOMPARE(panel->widthTwips(panel->TextFilename(0)), 101.0f);
        QCOMPARE(panel->widthTwips(panel->TextFilename(1)), 1271.0f);
    }

    void narrowWindowUsesMinimumWidth()
    {
        PicPanel *panel = m_window->picPanel();
        m_window->resize(120, m_window->height());
        QTRY_VERIFY(panel->width() * 15 < 3865);
        QCOMPARE(panel->widthTwips(panel->Shape2(0)), 115.0f);
    }

    void focusOrder()
    {
        m_platform->dialogs.scriptOpen(DialogOutcome::Accepted, writePattern(*m_platform, "a.pat", 1440, 1440, {}, {}));
        QTest::mouseClick(m_window->picPanel()->Command(0), Qt::LeftButton);
        PicPanel *panel = m_window->picPanel();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        panel->CommandReset()->setFocus();
        // Command(2) is hidden, Command(0) disabled, Command(1) hidden.
        const QWidget *expected[] = {panel->Command(3), panel->Command(4), panel->TextFilename(0)};
        for (const QWidget *next : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void pointingHandOverStepButtons()
    {
        PicPanel *panel = m_window->picPanel();
        for (int i = 0; i < StepCount; ++i)
            QCOMPARE(panel->Command(i)->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(panel->CommandReset()->cursor().shape(), Qt::ArrowCursor);
    }

private:
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<MainWindow> m_window;
};

QTEST_MAIN(TestPanelLayout)
#include "tst_panellayout.moc"
