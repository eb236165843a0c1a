#pragma once

#include "stepstate.h"
#include "view/mirrorform.h"
#include "api/temporarypicture.h"
#include "export/exportformat.h"
#include "export/pageencoding.h"
#include "savestep.h"
#include "api/patternopen.h"
#include "shell/commondialog.h"
#include "shell/libmessage.h"
#include "view/libprogress.h"
#include "view/libsetup.h"
#include "view/workform.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace orvane {

class InputBox;
class MessageBox;
class Preferences;
class SettingsStore;

// What the conversion steps need of the platform. Programs that never show a
// dialog or an input box leave those out.
struct Platform {
    MessageBox &messages;
    SettingsStore &settings;
    FileDialogBackend *dialogs = nullptr;
    InputBox *input = nullptr;
    // Screen twips per pixel (15 at 96 dpi).
    double twipsPerPixelX = 15.0;
    double twipsPerPixelY = 15.0;
    std::string pictureFolder = TemporaryPicture::defaultFolder();
    // Where the window remembers the last folder; without it, only this run does.
    Preferences *preferences = nullptr;
    // Told of each save's temporary file (the program's signal care); none by default.
    TemporaryFileWatch *saveWatch = nullptr;
    // Formats beyond the core's own, offered after them.
    std::span<const ExportFormat> moreFormats{};
};

// State of the command panel's controls, which a window shows.
struct PanelState {
    std::array<bool, StepCount> commandEnabled{};
    bool commandResetVisible = false;
    std::array<std::string, 2> textFilename{};
    std::array<bool, 2> textFilenameVisible{};
    std::string labelPixelsX = "0";
    std::string labelPixelsY = "0";
    bool pixelLabelsVisible = false;
    // Indicator fill colours, 0x00BBGGRR.
    std::array<std::uint32_t, StepCount> indicatorColor{0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    // Widths that LayoutPanel sets, twips.
    float shape2Width = 5295.0f;
    float textFilename0Width = 3945.0f;
    float textFilename1Width = 3945.0f;
};

// The main window's conversion steps: it owns the step states, the pixel
// size, the shared file dialog and the document and view state beneath them.
class MainForm {
public:
    static constexpr float Shape2Left = 3750.0f;
    static constexpr float TextFilename0Left = 5010.0f;
    static constexpr float TextFilename1Left = 3840.0f;
    static constexpr float Shape1Left = 660.0f;
    static constexpr float Shape1Width = 3105.0f;

    explicit MainForm(Platform platform);

    // Start-up, as the window loads.
    void Load();

    // Click on Command(i): the step, then the indicators.
    void CommandClick(int index);
    void CommandResetClick();

    enum class Outcome { Done, Cancelled, Failed };

    // The steps by name, as a chosen file or a typed reply would run them:
    // for the command line, files from outside the window, and tests.
    Outcome OpenPattern(const std::string &path);
    Outcome SetPatternSizeTo(const std::string &reply);
    // format: null for the plain metafile.
    Outcome SaveAs(const std::string &path, const ExportFormat *format = nullptr);

    // The steps as the panel runs them, asking through dialogs.
    void OpenFromDialog();
    void ConnectLineEnds();
    void OptimizeLineSequence();
    void SetPatternSize();
    void SaveAsMetafile();
    void ResetSteps();
    void RefreshIndicators();
    void LayoutPanel(float innerWidthTwips);

    const StepStates &stepStates() const { return m_steps; }
    std::int32_t PixelsX() const { return m_pixelsX; }
    std::int32_t PixelsY() const { return m_pixelsY; }
    float MinPanelWidth() const { return m_minPanelWidth; }
    const PanelState &panel() const { return m_panel; }

    CommonDialog &MainCommonDialog() { return m_dialog; }
    WorkForm &workForm() { return m_workForm; }
    const WorkForm &workForm() const { return m_workForm; }
    MirrorForm &mirrorForm() { return m_mirror; }
    LibProgress &progress() { return m_progress; }
    // The pattern of the last successful open.
    const Pattern &pattern() const { return m_open.pattern(); }
    // Where the last open copied its pattern's picture, or why it did not.
    const PictureCopy &pictureCopy() const { return m_open.pictureCopy(); }
    const FormatTable &formats() const { return m_formats; }

    // Called whenever the panel state changed.
    void setPanelObserver(std::function<void()> observer) { m_observer = std::move(observer); }

private:
    void beginOpen();
    Outcome loadFile(const std::string &path);
    void openFinished(Outcome outcome, const std::string &path);
    void saveFinished(bool saved, const std::string &path);
    void rememberFolder(const std::string &path);
    void panelChanged();

    Platform m_platform;
    LibSetup m_setup;
    LibMessage m_messages;
    LibProgress m_progress;
    MirrorForm m_mirror;
    WorkForm m_workForm;
    TemporaryPicture m_picture;
    CommonDialog m_dialog;
    PatternOpen m_open;
    FormatTable m_formats;
    // The folder of the last pattern opened and that pattern, absolute.
    std::string m_lastFolder;
    std::string m_patternFile;

    StepStates m_steps{};
    std::int32_t m_pixelsX = 0;
    std::int32_t m_pixelsY = 0;
    float m_minPanelWidth = 0;
    bool m_workFormClean = true;
    PanelState m_panel;
    std::function<void()> m_observer;
};

} // namespace orvane
