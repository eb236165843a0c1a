#pragma once

// Fakes behind the core's platform interfaces, and a temporary folder that is
// removed at the end of a test.

#include "platform/settingsstore.h"
#include "platform/commondialog.h"
#include "platform/inputbox.h"
#include "platform/messagebox.h"
#include "platform/progressview.h"

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace orvane::testing {

// Records every message box (text, style, title) and every beep, in order.
class FakeMessageBox : public MessageBox {
public:
    struct Box {
        std::string text;
        int style = 0;
        std::string title;
    };
    // Every box and beep in the order they came; beep is true for a beep.
    struct Event {
        bool beep = false;
        Box box;
    };

    int showMessage(const std::string &text, int style, const std::string &title) override
    {
        boxes.push_back({text, style, title});
        events.push_back({false, boxes.back()});
        return 1;
    }
    void beep() override
    {
        ++beeps;
        events.push_back({true, {}});
    }

    void clear()
    {
        boxes.clear();
        events.clear();
        beeps = 0;
    }

    std::vector<Box> boxes;
    std::vector<Event> events;
    int beeps = 0;
};

// A settings store of key -> text; remembers every key it was asked for.
class FakeSettingsStore : public SettingsStore {
public:
    std::optional<std::string> readText(const std::string &application, const std::string &section,
                                        const std::string &key) override
    {
        reads.push_back({application, section, key});
        const auto it = values.find(key);
        if (it == values.end())
            return std::nullopt;
        return it->second;
    }

    struct Read {
        std::string application;
        std::string section;
        std::string key;
    };

    std::vector<std::string> keysRead() const
    {
        std::vector<std::string> keys;
        for (const Read &r : reads)
            keys.push_back(r.key);
        return keys;
    }

    std::map<std::string, std::string> values;
    std::vector<Read> reads;
};

// The file dialogs answer from a script; each show records the dialog object
// as it was when shown. An empty script answers Cancelled.
class ScriptedDialogs : public FileDialogBackend {
public:
    struct Answer {
        DialogOutcome outcome = DialogOutcome::Cancelled;
        std::string path; // put into FileName (also on Cancelled or Failed when not empty)
    };

    void scriptOpen(DialogOutcome outcome, std::string path = {}) { opens.push_back({outcome, std::move(path)}); }
    void scriptSave(DialogOutcome outcome, std::string path = {}) { saves.push_back({outcome, std::move(path)}); }

    DialogOutcome showOpen(CommonDialog &dialog) override
    {
        openShown.push_back(dialog);
        return answer(opens, dialog);
    }
    DialogOutcome showSave(CommonDialog &dialog) override
    {
        saveShown.push_back(dialog);
        return answer(saves, dialog);
    }
    void processPendingEvents() override { ++pendingEventRuns; }

    std::deque<Answer> opens;
    std::deque<Answer> saves;
    std::vector<CommonDialog> openShown;
    std::vector<CommonDialog> saveShown;
    int pendingEventRuns = 0;

private:
    static DialogOutcome answer(std::deque<Answer> &script, CommonDialog &dialog)
    {
        if (script.empty())
            return DialogOutcome::Cancelled;
        Answer a = script.front();
        script.pop_front();
        if (!a.path.empty())
            dialog.FileName = a.path;
        return a.outcome;
    }
};

// The input box answers from a script (the empty text once it runs out) and
// records every prompt and title.
class ScriptedInput : public InputBox {
public:
    std::string inputBox(const std::string &prompt, const std::string &title) override
    {
        prompts.push_back(prompt);
        titles.push_back(title);
        if (replies.empty())
            return std::string();
        std::string reply = replies.front();
        replies.pop_front();
        return reply;
    }

    std::deque<std::string> replies;
    std::vector<std::string> prompts;
    std::vector<std::string> titles;
};

// Records every call a progress window receives.
class RecordingProgressView : public ProgressView {
public:
    struct Call {
        std::string what; // show, cancel, header, bar, events, close
        std::string text;
        float minimum = 0, maximum = 0, value = 0;
        bool flag = false;
    };

    void showWindow() override { shown = true; record("show"); }
    void setCancelVisible(bool visible) override { cancelVisible = visible; record("cancel", {}, 0, 0, 0, visible); }
    void setHeader(const std::string &text) override { header = text; record("header", text); }
    void setBar(float minimum, float maximum, float value) override
    {
        bar = {minimum, maximum, value};
        record("bar", {}, minimum, maximum, value);
    }
    void processPendingEvents() override { ++eventRuns; record("events"); }
    void closeWindow() override { shown = false; ++closes; record("close"); }

    int count(const std::string &what) const
    {
        int n = 0;
        for (const Call &c : calls)
            n += c.what == what ? 1 : 0;
        return n;
    }

    struct Bar {
        float minimum = 0, maximum = 0, value = 0;
    };
    void record(const char *what, const std::string &text = {}, float minimum = 0, float maximum = 0,
                float value = 0, bool flag = false)
    {
        calls.push_back(Call{what, text, minimum, maximum, value, flag});
    }
    std::vector<Call> calls;
    bool shown = false;
    bool cancelVisible = false;
    std::string header;
    Bar bar;
    int eventRuns = 0;
    int closes = 0;
};

// A fresh folder under the system's temporary folder (mkdtemp), removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code error;
        // Folders made read-only by a test must not stop the clean-up.
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            if (it->is_directory(error) && !it->is_symlink(error))
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, error);
        }
        std::filesystem::remove_all(m_path, error);
    }
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::string str() const { return m_path.string(); }
    // A path inside the folder.
    std::string file(const std::string &name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

inline std::vector<unsigned char> readFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFileBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace orvane::testing
