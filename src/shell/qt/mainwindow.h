#pragma once

#include "shell/qt/qtfiledialogs.h"
#include "shell/mainform.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QMdiArea;
class QMdiSubWindow;
class QSettings;
class QShortcut;

namespace orvane {

class ConvertFilesRun;
class PicPanel;
class ProgressForm;
class WorkFormWidget;

// The main window: the command panel across the top and, below it, the MDI
// area holding the work window. It shows MainForm's panel state and passes
// clicks and resizes on to it.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr float DesignWidthTwips = 9195.0f;
    static constexpr float DesignHeightTwips = 5070.0f;

    // The screen's twips per pixel replace those in platform.
    explicit MainWindow(Platform platform, QWidget *parent = nullptr);
    ~MainWindow() override;

    MainForm &mainForm() { return m_form; }
    PicPanel *picPanel() const { return m_panel; }
    QMdiArea *mdiArea() const { return m_mdiArea; }
    WorkFormWidget *workFormWidget() const { return m_workForm; }
    QMdiSubWindow *workFormWindow() const { return m_workFormWindow; }
    QAction *menuFileExit() const { return m_menuFileExit; }
    QAction *menuFileConvert() const { return m_menuFileConvert; }
    QAction *menuFileOpen() const { return m_menuFileOpen; }
    QAction *menuFileSave() const { return m_menuFileSave; }
    QAction *menuViewFit() const { return m_menuViewFit; }
    QAction *menuViewActual() const { return m_menuViewActual; }
    ConvertFilesRun *convertFilesRun() const { return m_convertRun; }
    // The window's own file (orvane-window.conf), where Convert Files keeps its choices.
    QSettings &windowSettings() { return *m_windowSettings; }

    // Help > About: the version, the licence and where the files live.
    QString aboutText() const;

    // Convert Files...: asks for the patterns (inputs already chosen, as
    // dropped ones, are listed), the folder, format and width, then converts
    // them with the progress window and shows a summary.
    void convertFiles(const QStringList &inputs = {});

    // Opens a pattern as if it had been chosen in the Open dialog: from the
    // command line, and after Change Files for a dropped file.
    MainForm::Outcome openFile(const std::string &path);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    static Platform withScreenTwips(Platform platform, const QWidget &window);
    void showPanel();
    // Keyboard focus after step index ran: on to the next step when it was
    // done, else back on the step's own button.
    void focusAfterStep(int index);
    void endProgram();
    void showBatchSummary();
    void clickStep(int index);
    // While Convert Files runs, the steps, the menu items that start work and
    // a second run are not to be had; Escape cancels it.
    void setConverting(bool converting);
    void raiseProgress();
    QtFileDialogs &fileDialogs();

    // As given, before the steps took it: the batch reads the same store and formats.
    const Platform m_platform;
    MainForm m_form;
    QtFileDialogs m_ownDialogs;
    ConvertFilesRun *m_convertRun = nullptr;
    QAction *m_menuFileConvert = nullptr;
    QAction *m_menuFileOpen = nullptr;
    QAction *m_menuFileSave = nullptr;
    QAction *m_menuViewFit = nullptr;
    QAction *m_menuViewActual = nullptr;
    QShortcut *m_cancelShortcut = nullptr;
    QPointer<QWidget> m_focusBeforeRun;
    std::unique_ptr<QSettings> m_windowSettings;
    PicPanel *m_panel = nullptr;
    QMdiArea *m_mdiArea = nullptr;
    WorkFormWidget *m_workForm = nullptr;
    QMdiSubWindow *m_workFormWindow = nullptr;
    ProgressForm *m_progressForm = nullptr;
    QAction *m_menuFileExit = nullptr;
};

} // namespace orvane
