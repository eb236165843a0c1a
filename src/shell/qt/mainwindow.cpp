#include "mainwindow.h"

#include "picpanel.h"
#include "subwindowfit.h"
#include "platform/qt/progressform.h"
#include "platform/qt/twips.h"
#include "view/qt/workformwidget.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace orvane {

Platform MainWindow::withScreenTwips(Platform platform, const QWidget &window)
{
    platform.twipsPerPixelX = screenTwipsPerPixelX(window);
    platform.twipsPerPixelY = screenTwipsPerPixelY(window);
    return platform;
}

MainWindow::MainWindow(Platform platform, QWidget *parent)
    : QMainWindow(parent), m_form(withScreenTwips(std::move(platform), *this))
{
    const double twipsX = screenTwipsPerPixelX(*this);
    const double twipsY = screenTwipsPerPixelY(*this);
    setWindowTitle(QStringLiteral("Veltrum Pattern Maker File Converter"));
    setAcceptDrops(true);

    QMenu *menuFile = menuBar()->addMenu(QStringLiteral("&File"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    m_menuFileExit = menuFile->addAction(QStringLiteral("E&xit"));
    m_menuFileExit->setObjectName(QStringLiteral("menuFileExit"));
    connect(m_menuFileExit, &QAction::triggered, this, &MainWindow::endProgram);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_panel = new PicPanel(twipsX, twipsY, central);
    m_mdiArea = new QMdiArea(central);
    // Qt's counterpart of the application-workspace colour.
    m_mdiArea->setBackground(m_mdiArea->palette().brush(QPalette::Dark));
    // The work window is kept inside the area, so the area never scrolls; it
    // has its own bars for the page.
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(m_panel);
    layout->addWidget(m_mdiArea, 1);
    setCentralWidget(central);

    m_workForm = new WorkFormWidget(m_form.workForm(), twipsX, twipsY);
    // The work window lives as long as the program; it is hidden, not closed.
    m_workFormWindow = m_mdiArea->addSubWindow(m_workForm, Qt::SubWindow | Qt::WindowTitleHint
                                                               | Qt::WindowMinMaxButtonsHint);
    m_workFormWindow->setAttribute(Qt::WA_DeleteOnClose, false);
    // It holds nothing to type into; with focus it would keep Tab and
    // Shift+Tab inside itself, away from the panel.
    m_workFormWindow->setFocusPolicy(Qt::NoFocus);
    m_workFormWindow->setGeometry(QRect(QPoint(0, 0), m_workFormWindow->sizeHint()));
    new SubWindowFit(m_mdiArea, m_workFormWindow);
    m_workFormWindow->setVisible(m_form.workForm().Visible());
    // No narrower than the panel's rightmost fixed control (the vertical pixel
    // count) with the margin it has on the left, and tall enough for the work
    // window's title bar, so no control is ever out of reach.
    m_panel->setMinimumWidth(m_panel->LabelPixelsY(1)->geometry().right() + 1 + m_panel->Label1()->x());
    m_mdiArea->setMinimumHeight(m_workFormWindow->minimumSizeHint().height());

    m_progressForm = new ProgressForm(m_form.progress(), this, twipsX, twipsY);
    m_form.progress().setView(m_progressForm);

    connect(m_panel, &PicPanel::commandClicked, this, [this](int index) {
        m_form.CommandClick(index);
        focusAfterStep(index);
    });
    connect(m_panel, &PicPanel::commandResetClicked, this, [this] { m_form.CommandResetClick(); });
    connect(m_panel, &PicPanel::widthChanged, this, [this](float width) { m_form.LayoutPanel(width); });
    m_form.setPanelObserver([this] { showPanel(); });
    m_form.Load();

    m_panel->Command(0)->setFocus();

    resize(twipsToPixels(DesignWidthTwips, twipsX),
           twipsToPixels(DesignHeightTwips, twipsY) + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow()
{
    // The windows that show the core go before it does; Qt would delete them
    // only after m_form is gone.
    m_form.setPanelObserver(nullptr);
    m_form.progress().setView(nullptr);
    m_panel->disconnect(this);
    delete m_workFormWindow;
    delete m_progressForm;
}

void MainWindow::showPanel()
{
    m_panel->showState(m_form.panel());
}

MainForm::Outcome MainWindow::openFile(const std::string &path)
{
    const MainForm::Outcome outcome = m_form.OpenPattern(path);
    m_form.RefreshIndicators();
    focusAfterStep(0);
    return outcome;
}

void MainWindow::focusAfterStep(int index)
{
    const bool done = m_form.stepStates()[std::size_t(index)] == StepDone;
    const int next = !done ? index : index == 0 ? 3 : index == 3 ? 4 : index;
    QPushButton *button = m_panel->Command(next);
    // The work window, shown by the open, takes the focus when the MDI area
    // activates it, which it may do only once the events have run.
    button->setFocus(Qt::OtherFocusReason);
    QTimer::singleShot(0, button, [button] {
        if (button->isEnabled() && button->isVisible())
            button->setFocus(Qt::OtherFocusReason);
    });
}

namespace {

// The first local *.pat file among the dropped URLs, or "".
QString droppedPattern(const QMimeData *data)
{
    for (const QUrl &url : data->urls()) {
        const QString path = url.toLocalFile();
        if (path.endsWith(QLatin1String(".pat"), Qt::CaseInsensitive))
            return path;
    }
    return {};
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedPattern(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedPattern(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has finished, so that the program the file came from is
    // not kept waiting behind a message box.
    QTimer::singleShot(0, this, [this, path] {
        m_form.CommandResetClick();
        openFile(QFile::encodeName(path).toStdString());
    });
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The focus ring shows from the start, not only once a dialog has been
    // used; showing the window clears the flag, so it is set here.
    setAttribute(Qt::WA_KeyboardFocusChange);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    endProgram();
}

void MainWindow::endProgram()
{
    // Nothing is asked or saved; every window goes with the program.
    m_progressForm->hide();
    hide();
    QCoreApplication::exit(0);
}

} // namespace orvane
