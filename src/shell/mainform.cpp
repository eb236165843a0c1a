#include "mainform.h"

#include "inputbox.h"
#include "libid.h"
#include "document/numeric.h"
#include "export/libemf.h"
#include "export/patternsize.h"

#include <cmath>

namespace orvane {

MainForm::MainForm(Platform platform)
    : m_platform(std::move(platform)),
      m_messages(m_platform.messages),
      m_mirror(m_progress),
      m_workForm(m_mirror, m_progress, m_setup),
      m_picture(m_platform.pictureFolder),
      m_libFile(LibFile::Services{m_dimension, m_mirror, m_workForm, m_progress, m_messages, m_setup,
                                  m_platform.settings, m_dialog, m_picture})
{
    m_dialog.backend = &m_platform.dialogs;
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

void MainForm::OpenFromDialog()
{
    std::string name;
    if (OpenPatternFile(name)) {
        m_panel.textFilename[0] = name;
        m_panel.textFilenameVisible[0] = true;
        m_panel.commandEnabled = {false, true, true, true, true};
        m_panel.commandResetVisible = true;
        m_steps[0] = StepDone;
        m_workForm.setVisible(true);
        m_workFormClean = false;
    } else {
        m_workForm.setVisible(false);
        m_panel.textFilename[0].clear();
        m_steps[0] = name.empty() ? StepSkipped : StepFailed;
        RefreshIndicators();
    }
    panelChanged();
}

bool MainForm::OpenPatternFile(std::string &Filename)
{
    m_progress.SetProgressEnabled(false);
    m_workForm.setVisible(false);
    if (!m_workFormClean)
        m_workForm.ClearWorkForm();

    bool ok = m_libFile.LoadPattern(Filename);
    const float width = m_dimension.PageWidthTwips();
    const float height = m_dimension.PageHeightTwips();
    std::optional<std::int32_t> pixelsX;
    std::optional<std::int32_t> pixelsY;
    if (ok) {
        // A page the surface cannot take (negative, not a number, or too large
        // for a pixel count) is a file that could not be loaded.
        if (width >= 0 && height >= 0) {
            pixelsX = roundToLong(static_cast<double>(width) / m_platform.twipsPerPixelX);
            pixelsY = roundToLong(static_cast<double>(height) / m_platform.twipsPerPixelY);
        }
        if (!pixelsX || !pixelsY) {
            m_messages.MsgFormatUnknown();
            ok = false;
        }
    }
    if (!ok) {
        // Elements read before a failure must not be drawn or saved with the
        // next pattern.
        m_workForm.ClearWorkForm();
        return false;
    }

    m_workForm.notifyDrawingChanged();
    m_workForm.setPatternSize(width, height);
    m_workForm.SetScroll();
    m_pixelsX = *pixelsX;
    m_pixelsY = *pixelsY;
    m_panel.labelPixelsX = std::to_string(m_pixelsX);
    m_panel.labelPixelsY = std::to_string(m_pixelsY);
    m_panel.pixelLabelsVisible = true;
    panelChanged();
    return true;
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
    const std::string reply = m_platform.input.inputBox(PatternSizePrompt(), LibId::ApplicationTitle());
    const PatternSizeResult result = ApplyPatternSize(reply, m_pixelsX, m_pixelsY);
    if (result.outcome == PatternSizeResult::Unchanged)
        return;
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
}

void MainForm::SaveAsMetafile()
{
    std::string filename;
    const bool saved = LibEMF::SaveMetafile(static_cast<float>(m_pixelsX), static_cast<float>(m_pixelsY), filename,
                                            m_workForm.drawing(), m_workForm.PatternWidth(),
                                            m_workForm.PatternHeight(), m_dialog, m_platform.messages);
    if (saved) {
        m_panel.textFilename[1] = filename;
        m_panel.textFilenameVisible[1] = true;
        m_steps[4] = StepDone;
    } else if (!filename.empty()) {
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
