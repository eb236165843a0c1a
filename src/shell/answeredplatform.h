#pragma once

#include "commondialog.h"
#include "inputbox.h"

#include <string>

namespace orvane {

// Dialogs and input box answered with values known beforehand, for the
// programs that run the conversion steps without a user: the command-line
// converter, the benchmarks and the fuzzer.
class AnsweredDialogs : public FileDialogBackend {
public:
    std::string openPath;
    std::string savePath;

    DialogOutcome showOpen(CommonDialog &dialog) override
    {
        dialog.FileName = openPath;
        return DialogOutcome::Accepted;
    }
    DialogOutcome showSave(CommonDialog &dialog) override
    {
        dialog.FileName = savePath;
        return DialogOutcome::Accepted;
    }
};

class AnsweredInput : public InputBox {
public:
    std::string reply;

    std::string inputBox(const std::string &, const std::string &) override { return reply; }
};

} // namespace orvane
