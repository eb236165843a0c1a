#pragma once

#include <cstdint>
#include <string>

namespace orvane {

enum class DialogOutcome { Accepted, Cancelled, Failed };

struct CommonDialog;

// Shows the platform's file dialogs for the shared dialog object.
class FileDialogBackend {
public:
    virtual ~FileDialogBackend() = default;
    // On Accepted the chosen full path is in dialog.FileName.
    virtual DialogOutcome showOpen(CommonDialog &dialog) = 0;
    virtual DialogOutcome showSave(CommonDialog &dialog) = 0;
    // Lets pending window events run once.
    virtual void processPendingEvents() {}
};

// The main window's one file dialog object: settings made for the open dialog
// stay in force for the save dialog.
struct CommonDialog {
    // Flag bits as the dialog defines them.
    static constexpr std::uint32_t OverwritePrompt = 0x2;
    static constexpr std::uint32_t HideReadOnly = 0x4;
    static constexpr std::uint32_t PathMustExist = 0x800;
    static constexpr std::uint32_t FileMustExist = 0x1000;

    std::string Filter;
    std::string InitDir;
    std::string FileName;
    std::string DialogTitle;
    std::uint32_t Flags = 0;
    int FilterIndex = 0;
    bool CancelError = false;

    FileDialogBackend *backend = nullptr;

    DialogOutcome ShowOpen() { return backend ? backend->showOpen(*this) : DialogOutcome::Failed; }
    DialogOutcome ShowSave() { return backend ? backend->showSave(*this) : DialogOutcome::Failed; }
};

} // namespace orvane
