#include "mainwindow.h"

#include "convertfilesdialog.h"
#include "convertfilesrun.h"
#include "picpanel.h"
#include "subwindowfit.h"
#include "shell/qt/progressform.h"
#include "view/qt/twips.h"
#include "api/temporarypicture.h"
#include "settings/settingsstore.h"
#include "view/qt/workformwidget.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
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
    : QMainWindow(parent), m_platform(platform), m_form(withScreenTwips(std::move(platform), *this))
{
    const double twipsX = screenTwipsPerPixelX(*this);
    const double twipsY = screenTwipsPerPixelY(*this);
    setWindowTitle(QStringLiteral("Veltrum Pattern Maker File Converter"));
    setAcceptDrops(true);

    m_windowSettings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                   QStringLiteral("Veltrum Orvane"), QStringLiteral("orvane-window"));

    QMenu *menuFile = menuBar()->addMenu(QStringLiteral("&File"));
    menuFile->setObjectName(QStringLiteral("menuFile"));
    const auto addAction = [](QMenu *menu, const QString &text, const QString &name, const QKeySequence &keys) {
        QAction *action = menu->addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        return action;
    };
    // The steps that have a customary key, beside the panel's buttons.
    m_menuFileOpen = addAction(menuFile, QStringLiteral("&Open Pattern File…"), QStringLiteral("menuFileOpen"),
                               QKeySequence::Open);
    connect(m_menuFileOpen, &QAction::triggered, this, [this] { clickStep(0); });
    m_menuFileSave = addAction(menuFile, QStringLiteral("&Save As Metafile…"), QStringLiteral("menuFileSave"),
                               QKeySequence::Save);
    connect(m_menuFileSave, &QAction::triggered, this, [this] { clickStep(4); });
    menuFile->addSeparator();
    m_menuFileConvert = addAction(menuFile, QStringLiteral("&Convert Files…"), QStringLiteral("menuFileConvert"),
                                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    connect(m_menuFileConvert, &QAction::triggered, this, [this] { convertFiles(); });
    menuFile->addSeparator();
    m_menuFileExit = addAction(menuFile, QStringLiteral("E&xit"), QStringLiteral("menuFileExit"),
                               QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(m_menuFileExit, &QAction::triggered, this, &MainWindow::endProgram);

    QMenu *menuView = menuBar()->addMenu(QStringLiteral("&View"));
    menuView->setObjectName(QStringLiteral("menuView"));
    m_menuViewFit = addAction(menuView, QStringLiteral("&Fit Page"), QStringLiteral("menuViewFit"),
                              QKeySequence(Qt::CTRL | Qt::Key_0));
    m_menuViewActual = addAction(menuView, QStringLiteral("&Actual Size"), QStringLiteral("menuViewActual"),
                                 QKeySequence(Qt::CTRL | Qt::Key_1));
    auto *viewScales = new QActionGroup(this);
    for (QAction *action : {m_menuViewFit, m_menuViewActual}) {
        action->setCheckable(true);
        viewScales->addAction(action);
    }
    m_menuViewActual->setChecked(true);
    connect(m_menuViewFit, &QAction::triggered, this,
            [this] { m_form.workForm().setViewScale(WorkForm::ViewScale::FitPage); });
    connect(m_menuViewActual, &QAction::triggered, this,
            [this] { m_form.workForm().setViewScale(WorkForm::ViewScale::ActualSize); });

    QMenu *menuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    menuHelp->setObjectName(QStringLiteral("menuHelp"));
    QAction *about = addAction(menuHelp, QStringLiteral("&About Orvane…"), QStringLiteral("menuHelpAbout"), {});
    connect(about, &QAction::triggered, this,
            [this] { QMessageBox::about(this, QStringLiteral("About Orvane"), aboutText()); });

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

    m_convertRun = new ConvertFilesRun(m_platform.moreFormats, m_platform.settings, m_platform.pictureFolder, this,
                                       twipsX, twipsY);
    connect(m_convertRun, &ConvertFilesRun::started, this, [this] { setConverting(true); });
    connect(m_convertRun, &ConvertFilesRun::finished, this, [this] { setConverting(false); });
    connect(m_convertRun, &ConvertFilesRun::finished, this, &MainWindow::showBatchSummary);
    // Escape cancels a run from the main window as from the progress window
    // (one shortcut for both: two would be ambiguous while both are active).
    m_cancelShortcut = new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] {
        QPushButton *cancel = m_convertRun->progressForm()->CommandCancel();
        if (m_convertRun->running() && cancel->isEnabled() && cancel->isVisible())
            cancel->click();
    }, Qt::ApplicationShortcut);
    m_cancelShortcut->setEnabled(false);

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
    // First, as it waits for the file being converted and owns a progress window.
    delete m_convertRun;
    m_form.setPanelObserver(nullptr);
    m_form.progress().setView(nullptr);
    m_panel->disconnect(this);
    delete m_workFormWindow;
    delete m_progressForm;
}

void MainWindow::showPanel()
{
    const PanelState &state = m_form.panel();
    m_panel->showState(state);
    const bool idle = !m_convertRun || !m_convertRun->running();
    m_menuFileOpen->setEnabled(idle && state.commandEnabled[0]);
    m_menuFileSave->setEnabled(idle && state.commandEnabled[4]);
}

void MainWindow::clickStep(int index)
{
    if (!m_panel->isEnabled() || !m_panel->Command(index)->isEnabled())
        return;
    m_form.CommandClick(index);
    focusAfterStep(index);
}

void MainWindow::setConverting(bool converting)
{
    if (converting && isAncestorOf(QApplication::focusWidget()))
        m_focusBeforeRun = QApplication::focusWidget();
    m_panel->setEnabled(!converting);
    m_menuFileConvert->setEnabled(!converting);
    m_cancelShortcut->setEnabled(converting);
    showPanel();
    if (!converting && m_focusBeforeRun && m_focusBeforeRun->isEnabled() && m_focusBeforeRun->isVisible())
        m_focusBeforeRun->setFocus(Qt::OtherFocusReason);
}

void MainWindow::raiseProgress()
{
    ProgressForm *progress = m_convertRun->progressForm();
    progress->show();
    progress->raise();
    progress->activateWindow();
}

QString MainWindow::aboutText() const
{
    const auto path = [](const QString &file) { return QDir::toNativeSeparators(file).toHtmlEscaped(); };
    const QString store = QFile::decodeName(m_platform.settings.location("Veltrum Orvane").c_str());
    const QString picture =
        QDir(QFile::decodeName(m_platform.pictureFolder.c_str())).filePath(QString::fromLatin1(TemporaryPicture::FileName));
    return QStringLiteral("<p><b>Veltrum Orvane</b> %1</p>"
                          "<p>Converts Veltrum pattern files (*.pat) to Windows Metafiles, placeable metafiles, "
                          "SVG, PDF and PNG.</p>"
                          "<p>Released under the MIT licence.</p>"
                          "<p>Where its files live:<br>"
                          "the window's own settings: %2<br>"
                          "pattern defaults, only read: %3<br>"
                          "the copy of a pattern's picture: %4</p>")
        .arg(QStringLiteral(ORVANE_VERSION), path(m_windowSettings->fileName()),
             store.isEmpty() ? QStringLiteral("none") : path(store), path(picture));
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

QtFileDialogs &MainWindow::fileDialogs()
{
    auto *dialogs = dynamic_cast<QtFileDialogs *>(m_platform.dialogs);
    return dialogs ? *dialogs : m_ownDialogs;
}

void MainWindow::convertFiles(const QStringList &inputs)
{
    if (m_convertRun->running()) {
        raiseProgress();
        return;
    }
    ConvertFilesDialog dialog(
        m_convertRun->formats(),
        [this](const BatchOptions &options, const QStringList &keep) { return m_convertRun->start(options, keep); },
        fileDialogs(), this);
    dialog.setChoices(ConvertFilesChoices::read(*m_windowSettings));
    dialog.addInputs(inputs);
    if (dialog.exec() == QDialog::Accepted)
        dialog.choices().write(*m_windowSettings);
}

void MainWindow::showBatchSummary()
{
    auto *summary = new QDialog(this);
    summary->setObjectName(QStringLiteral("BatchSummary"));
    summary->setWindowTitle(QStringLiteral("Convert Files"));
    summary->setAttribute(Qt::WA_DeleteOnClose);
    auto *text = new QPlainTextEdit(m_convertRun->summary(), summary);
    text->setObjectName(QStringLiteral("SummaryText"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, summary);
    connect(buttons, &QDialogButtonBox::accepted, summary, &QDialog::accept);
    auto *layout = new QVBoxLayout(summary);
    layout->addWidget(text);
    layout->addWidget(buttons);
    summary->resize(720, 360);
    summary->open();
}

namespace {

// The local *.pat files among the dropped URLs.
QStringList droppedPatterns(const QMimeData *data)
{
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        const QString path = url.toLocalFile();
        if (path.endsWith(QLatin1String(".pat"), Qt::CaseInsensitive))
            paths << path;
    }
    return paths;
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedPatterns(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QStringList paths = droppedPatterns(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has finished, so that the program the files came from is
    // not kept waiting behind a dialog. Several files are offered as a batch.
    QTimer::singleShot(0, this, [this, paths] {
        if (m_convertRun->running()) {
            raiseProgress();
            return;
        }
        if (paths.size() > 1) {
            convertFiles(paths);
            return;
        }
        m_form.CommandResetClick();
        openFile(QFile::encodeName(paths.first()).toStdString());
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
