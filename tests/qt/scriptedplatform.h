#pragma once

// The window's platform with its dialogs replaced by scripted answers, and
// pattern fixtures written into a temporary folder.

#include "patternwriter.h"
#include "document/settingsstore.h"
#include "shell/commondialog.h"
#include "shell/inputbox.h"
#include "shell/mainform.h"
#include "shell/messagebox.h"

#include <QTemporaryDir>

#include <deque>
#include <string>
#include <vector>

namespace orvane::testing {

class ScriptedDialogs : public FileDialogBackend {
public:
    struct Answer {
        DialogOutcome outcome;
        std::string path;
    };
    std::deque<Answer> answers;
    int shown = 0;

    DialogOutcome showOpen(CommonDialog &dialog) override { return answer(dialog); }
    DialogOutcome showSave(CommonDialog &dialog) override { return answer(dialog); }

private:
    DialogOutcome answer(CommonDialog &dialog)
    {
        ++shown;
        if (answers.empty())
            return DialogOutcome::Cancelled;
        const Answer a = answers.front();
        answers.pop_front();
        if (a.outcome == DialogOutcome::Accepted)
            dialog.FileName = a.path;
        return a.outcome;
    }
};

class RecordingMessages : public MessageBox {
public:
    std::vector<std::string> texts;
    int beeps = 0;
    int showMessage(const std::string &text, int, const std::string &) override
    {
        texts.push_back(text);
        return 1;
    }
    void beep() override { ++beeps; }
};

class ScriptedInput : public InputBox {
public:
    std::deque<std::string> replies;
    std::string inputBox(const std::string &, const std::string &) override
    {
        if (replies.empty())
            return {};
        const std::string reply = replies.front();
        replies.pop_front();
        return reply;
    }
};

struct ScriptedPlatform {
    RecordingMessages messages;
    EmptySettingsStore settings;
    ScriptedDialogs dialogs;
    ScriptedInput input;
    QTemporaryDir folder;

    Platform platform() { return Platform{messages, settings, dialogs, input, 15.0, 15.0, path("cache")}; }
    std::string path(const char *name) const { return folder.filePath(QString::fromLatin1(name)).toStdString(); }
    void answerOpen(const std::string &file) { dialogs.answers.push_back({DialogOutcome::Accepted, file}); }
    void answerCancel() { dialogs.answers.push_back({DialogOutcome::Cancelled, {}}); }
};

struct Shape {
    std::int16_t kind;
    float left, top, width, height;
};

// A version 1.1 pattern: the page size as given, the lines (x1, y1, x2, y2)
// and shapes in file order.
inline std::string writePattern(const ScriptedPlatform &platform, const char *name, float width, float height,
                                const std::vector<std::array<float, 4>> &lines, const std::vector<Shape> &shapes)
{
    PatternWriter w;
    PatternWriter::Page page;
    page.patternWidth = width;
    page.patternHeight = height;
    w.header(1, 1, 0).settings11(page);
    w.integer(static_cast<std::int16_t>(lines.size()));
    for (const auto &l : lines)
        w.line(l[0], l[1], l[2], l[3]);
    w.integer(static_cast<std::int16_t>(shapes.size()));
    for (const Shape &s : shapes)
        w.shape(s.kind, s.left, s.top, s.width, s.height);
    w.noPicture();
    const std::string path = platform.path(name);
    w.save(path);
    return path;
}

} // namespace orvane::testing
