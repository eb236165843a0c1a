#include "mainform.h"

#include "document/numeric.h"
#include "export/patternsize.h"
#include "view/libdraw.h"
#include "shell/inputbox.h"
#include "shell/libid.h"
#include "shell/messagebox.h"
#include "settings/preferences.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

namespace orvane {

MainForm::MainForm(Platform platform)
    : m_platform(std::move(platform)),
      m_messages(m_platform.messages),
      m_mirror(m_progress),
      m_workForm(m_mirror, m_progress, m_setup),
      m_picture(m_platform.pictureFolder),
      m_open([this](const LoadMessage &message) { m_messages.Show(message); }, m_platform.settings, &m_picture)
{
    m_formats.add(m_platform.moreFormats);
    m_dialog.backend = m_platform.dialogs;
    if (m_platform.preferences)
        m_lastFolder = m_platform.preferences->lastFolder();
}

void MainForm::Load()
{
    m_workFormClean = true;
    ResetSteps();
    m_minPanelWidth = Shape1Width + Shape1Left + 100;
    panelChanged();
}

void MainForm::CommandClick(int index)
{
    switch (index) {
    case 0:
        OpenFromDialog();
        break;
    case 1:
        ConnectLineEnds();
        break;
    case 2:
        OptimizeLineSequence();
        break;
    case 3:
        SetPatternSize();
        break;
    case 4:
        SaveAsMetafile();
        break;
    default:
        break;
    }
    RefreshIndicators();
}

void MainForm::CommandResetClick()
{
    ResetSteps();
    RefreshIndicators();
}

MainForm::Outcome MainForm::OpenPattern(const std::string &path)
{
    beginOpen();
    const Outcome outcome = loadFile(path);
    openFinished(outcome, path);
    return outcome;
}

void MainForm::OpenFromDialog()
{
    beginOpen();
    CommonDialog &d = m_dialog;
    d.Filter = "Pattern File (*.pat)|*.pat";
    d.InitDir = m_lastFolder.empty() ? m_setup.SetupFolder(0) : m_lastFolder;
    d.FileName.clear();
    d.DialogTitle = "Open Pattern File";
    d.Flags = CommonDialog::HideReadOnly | CommonDialog::PathMustExist | CommonDialog::FileMustExist;
    d.FilterIndex = 1;
    d.CancelError = true;
    if (d.ShowOpen() != DialogOutcome::Accepted || d.FileName.empty()) {
        m_workForm.ClearWorkForm();
        openFinished(Outcome::Cancelled, {});
        return;
    }
    const std::string path = d.FileName;
    if (d.backend)
        d.backend->processPendingEvents();
    openFinished(loadFile(path), path);
}

void MainForm::beginOpen()
{
    m_progress.SetProgressEnabled(false);
    m_workForm.setVisible(false);
    if (!m_workFormClean)
        m_workForm.ClearWorkForm();
}

MainForm::Outcome MainForm::loadFile(const std::string &path)
{
    bool ok = m_open.open(path);
    const Pattern &pattern = m_open.pattern();
    const float width = pattern.PageWidthTwips();
    const float height = pattern.PageHeightTwips();
    std::optional<PagePixels> pixels;
    if (ok) {
        pixels = pagePixels(pattern, m_platform.twipsPerPixelX, m_platform.twipsPerPixelY);
        if (!pixels) {
            m_messages.MsgFormatUnknown();
            ok = false;
        }
    }
    if (ok && !LibDraw::DrawPattern(m_workForm.drawing(), m_mirror, pattern)) {
        m_messages.MsgFormatUnknown();
        ok = false;
    }
    if (!ok) {
        // Elements drawn before a failure must not be shown or saved with the
        // next pattern.
        m_workForm.ClearWorkForm();
        return Outcome::Failed;
    }

    m_workForm.notifyDrawingChanged();
    m_workForm.setPatternSize(width, height);
    m_workForm.SetScroll();
    m_pixelsX = pixels->x;
    m_pixelsY = pixels->y;
    m_panel.labelPixelsX = std::to_string(m_pixelsX);
    m_panel.labelPixelsY = std::to_string(m_pixelsY);
    m_panel.pixelLabelsVisible = true;
    panelChanged();
    return Outcome::Done;
}

void MainForm::openFinished(Outcome outcome, const std::string &path)
{
    if (outcome == Outcome::Done) {
        m_panel.textFilename[0] = path;
        m_panel.textFilenameVisible[0] = true;
        m_panel.commandEnabled = {false, true, true, true, true};
        m_panel.commandResetVisible = true;
        m_steps[0] = StepDone;
        m_workForm.setVisible(true);
        m_workFormClean = false;
        rememberFolder(path);
    } else {
        m_workForm.setVisible(false);
        m_panel.textFilename[0].clear();
        m_steps[0] = outcome == Outcome::Cancelled ? StepSkipped : StepFailed;
        RefreshIndicators();
    }
    panelChanged();
}

void MainForm::ConnectLineEnds()
{
    m_steps[1] = StepDone;
    m_steps[2] = StepNotDone;
    m_steps[3] = StepNotDone;
    m_steps[4] = StepNotDone;
}

void MainForm::OptimizeLineSequence()
{
    markSkipped(m_steps, 1, 1);
    m_steps[2] = StepDone;
    m_steps[3] = StepNotDone;
}

void MainForm::SetPatternSize()
{
    const std::string reply =
        m_platform.input ? m_platform.input->inputBox(PatternSizePrompt(), LibId::ApplicationTitle()) : std::string();
    SetPatternSizeTo(reply);
}

MainForm::Outcome MainForm::SetPatternSizeTo(const std::string &reply)
{
    const PatternSizeResult result = ApplyPatternSize(reply, m_pixelsX, m_pixelsY);
    if (result.outcome == PatternSizeResult::Unchanged)
        return Outcome::Cancelled;
    if (result.outcome == PatternSizeResult::Accepted) {
        m_pixelsX = result.PixelsX;
        m_pixelsY = result.PixelsY;
        m_panel.labelPixelsX = std::to_string(m_pixelsX);
        m_panel.labelPixelsY = std::to_string(m_pixelsY);
        m_steps[3] = StepDone;
    } else {
        m_steps[3] = StepFailed;
    }
    markSkipped(m_steps, 1, 2);
    panelChanged();
    return m_steps[3] == StepDone ? Outcome::Done : Outcome::Failed;
}

MainForm::Outcome MainForm::SaveAs(const std::string &path, const ExportFormat *format)
{
    const bool saved =
        SaveMetafile(ExportOptions{path, m_pixelsX, m_pixelsY, format}, pageOf(pattern()), m_platform.messages,
                     SaveOptions{m_platform.saveWatch});
    saveFinished(saved, path);
    return saved ? Outcome::Done : Outcome::Failed;
}

void MainForm::SaveAsMetafile()
{
    CommonDialog &d = m_dialog;
    std::string filters;
    for (const ExportFormat *format : m_formats.rows()) {
        if (!filters.empty())
            filters += '|';
        filters += format->filter;
    }
    d.Filter = filters;
    d.FilterIndex = 1;
    // Beside the pattern, under its name.
    d.InitDir = std::filesystem::path(m_patternFile).parent_path().string();
    d.FileName = std::filesystem::path(m_patternFile).stem().string() + ".wmf";
    d.Flags = CommonDialog::OverwritePrompt | CommonDialog::HideReadOnly | CommonDialog::PathMustExist;
    const std::string suggested = d.FileName;
    const DialogOutcome outcome = d.ShowSave();
    // A dialog closed without a choice leaves the suggestion behind, which names nothing.
    const std::string path = outcome != DialogOutcome::Accepted && d.FileName == suggested ? std::string() : d.FileName;
    if (outcome == DialogOutcome::Cancelled && d.CancelError) {
        saveFinished(false, {});
        return;
    }
    if (outcome != DialogOutcome::Accepted || path.empty()) {
        if (outcome != DialogOutcome::Cancelled) {
            m_platform.messages.beep();
            m_platform.messages.showMessage("Error selecting file.", MessageExclamation, LibId::ApplicationTitle());
        }
        saveFinished(false, path);
        return;
    }
    const auto &formats = m_formats.rows();
    const bool listed = d.FilterIndex > 1 && static_cast<std::size_t>(d.FilterIndex) <= formats.size();
    if (!listed) {
        SaveAs(path, nullptr);
        return;
    }
    // The default keeps the name exactly as typed; another format's filter
    // also gives the name its extension when it lacks it.
    const ExportFormat &format = *formats[static_cast<std::size_t>(d.FilterIndex - 1)];
    std::string name = path;
    // The suggestion's ".wmf" was ours, not the user's: the format's own replaces it.
    if (std::filesystem::path(path).filename() == suggested)
        name = std::filesystem::path(path).replace_extension(format.extension()).string();
    const std::string suffix = '.' + format.extension();
    const bool hasSuffix = name.size() > suffix.size() &&
                           std::equal(suffix.rbegin(), suffix.rend(), name.rbegin(), [](char a, char b) {
                               return std::tolower(static_cast<unsigned char>(a)) ==
                                      std::tolower(static_cast<unsigned char>(b));
                           });
    SaveAs(hasSuffix ? name : name + suffix, &format);
}

// A failure with a name shows the error in place of the name; without one the
// step counts as skipped.
void MainForm::saveFinished(bool saved, const std::string &path)
{
    if (saved) {
        m_panel.textFilename[1] = path;
        m_panel.textFilenameVisible[1] = true;
        m_steps[4] = StepDone;
    } else if (!path.empty()) {
        m_panel.textFilename[1] = "Error: File not saved";
        m_panel.textFilenameVisible[1] = true;
        m_steps[4] = StepFailed;
    } else {
        m_panel.textFilename[1].clear();
        m_panel.textFilenameVisible[1] = false;
        m_steps[4] = StepSkipped;
    }
    markSkipped(m_steps, 1, 3);
    panelChanged();
}

void MainForm::rememberFolder(const std::string &path)
{
    // Relative to the folder the program started in (a name on the command line).
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(path, error);
    if (error)
        file = path;
    file = file.lexically_normal();
    m_patternFile = file.string();
    m_lastFolder = file.parent_path().string();
    if (m_platform.preferences)
        m_platform.preferences->setLastFolder(m_lastFolder);
}

void MainForm::ResetSteps()
{
    m_panel.commandEnabled = {true, false, false, false, false};
    m_steps.fill(StepNotDone);
    m_panel.commandResetVisible = false;
    m_panel.textFilenameVisible = {false, false};
    m_panel.pixelLabelsVisible = false;
    if (!m_workFormClean)
        m_workForm.ClearWorkForm();
    m_workFormClean = true;
    panelChanged();
}

void MainForm::RefreshIndicators()
{
    for (int i = 0; i < StepCount; ++i) {
        if (const auto color = indicatorColor(m_steps[static_cast<std::size_t>(i)]))
            m_panel.indicatorColor[static_cast<std::size_t>(i)] = *color;
    }
    panelChanged();
}

void MainForm::LayoutPanel(float innerWidthTwips)
{
    const float w = innerWidthTwips > m_minPanelWidth ? innerWidthTwips : m_minPanelWidth;
    m_panel.shape2Width = w - Shape2Left;
    if (TextFilename0Left + 200 < w) {
        m_panel.textFilename0Width = w - TextFilename0Left - 100;
        m_panel.textFilename1Width = w - TextFilename1Left - 100;
    }
    panelChanged();
}

void MainForm::panelChanged()
{
    if (m_observer)
        m_observer();
}

} // namespace orvane
