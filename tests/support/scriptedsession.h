#pragma once

// The one scripted session (core MainForm and Qt window): scripted dialogs, a folder, a letter page.

#include "fakes.h"
#include "patternwriter.h"

#include "shell/mainform.h"

#include <functional>
#include <sstream>

namespace orvane::testing {

struct ScriptedSession {
    TempDir dir;
    FakeMessageBox box;
    FakeSettingsStore store;
    ScriptedDialogs dialogs;
    ScriptedInput input;

    Platform platform()
    {
        Platform p{box, store, &dialogs, &input, 15.0, 15.0, dir.file("cache/Veltrum Orvane")};
        p.moreFormats = moreFormats;
        return p;
    }
    Platform platformWith(std::span<const ExportFormat> formats)
    {
        moreFormats = formats;
        return platform();
    }
    // Formats beyond the core's, for the save dialog to list.
    std::span<const ExportFormat> moreFormats;

    std::string write(const PatternWriter &w, const std::string &name = "pattern.pat") const
    {
        w.save(dir.file(name));
        return dir.file(name);
    }
    const std::string letter =
        write(PatternWriter().header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440).integer(1)
                  .shape(ShapeRectangle, 720, 720, 1440, 720).noPicture(),
              "letter.pat");

    // Runs the space-separated actions. Each scripts the dialog or the input
    // box, then clicks step i (click(i)) or Change Files (click(-1)):
    // open, open:PATH, cancel-open, bad-open, missing-open, size:REPLY, connect,
    // optimize, save, save:PATH, cancel-save, cancel-save:PATH, fail-save, dialog-fail,
    // dialog-fail-named, reset.
    void run(const std::string &actions, const std::function<void(int)> &click)
    {
        std::istringstream words(actions);
        for (std::string a; words >> a;) {
            const auto arg = a.find(':') == std::string::npos ? std::string() : a.substr(a.find(':') + 1);
            const auto is = [&a](const char *name) {
                return a.rfind(name, 0) == 0;
            };
            if (is("open"))
                dialogs.opens.push_back({DialogOutcome::Accepted, arg.empty() ? letter : arg});
            else if (is("bad-open"))
                dialogs.opens.push_back({DialogOutcome::Accepted, write(PatternWriter().header(3, 0, 0), "bad.pat")});
            else if (is("missing-open"))
                dialogs.opens.push_back({DialogOutcome::Accepted, dir.file("missing.pat")});
            else if (is("cancel-open"))
                dialogs.opens.push_back({DialogOutcome::Cancelled, ""});
            else if (is("size:"))
                input.replies.push_back(arg);
            else if (is("save"))
                dialogs.saves.push_back({DialogOutcome::Accepted, arg.empty() ? dir.file("out.wmf") : arg});
            else if (is("cancel-save"))
                dialogs.saves.push_back({DialogOutcome::Cancelled, arg});
            else if (is("fail-save"))
                dialogs.saves.push_back({DialogOutcome::Accepted, dir.file("no folder/out.wmf")});
            else if (is("dialog-fail"))
                dialogs.saves.push_back({DialogOutcome::Failed, a == "dialog-fail" ? "" : dir.file("x.wmf")});
            click(a.find("open") != std::string::npos ? 0
                  : is("connect")                     ? 1
                  : is("optimize")                    ? 2
                  : is("size:")                       ? 3
                  : is("reset")                       ? -1
                                                      : 4);
        }
    }
};

} // namespace orvane::testing
