#pragma once

// Fakes behind the core's platform interfaces, and a temporary folder.

#include "shell/commondialog.h"
#include "shell/inputbox.h"
#include "shell/messagebox.h"
#include "settings/settingsstore.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <vector>

namespace orvane::testing {

// Every box, and in order an 'm' per box and a 'b' per beep.
struct FakeMessageBox : MessageBox {
    struct Box {
        std::string text;
        int style;
        std::string title;
    };
    int showMessage(const std::string &text, int style, const std::string &title) override
    {
        boxes.push_back({text, style, title});
        order += 'm';
        return 1;
    }
    void beep() override { order += 'b'; }
    std::vector<Box> boxes;
    std::string order;
};

// Settings by key; each read is remembered as "application/section/key".
struct FakeSettingsStore : SettingsStore {
    std::optional<std::string> readText(const std::string &app, const std::string &section,
                                        const std::string &key) override
    {
        reads.push_back(app + "/" + section + "/" + key);
        const auto it = values.find(key);
        return it == values.end() ? std::nullopt : std::optional(it->second);
    }
    std::map<std::string, std::string> values;
    std::vector<std::string> reads;
};

// The front of a script, or the fallback once it runs out.
template <typename T> T takeFront(std::deque<T> &script, T fallback)
{
    if (script.empty())
        return fallback;
    T front = script.front();
    script.pop_front();
    return front;
}

// File dialogs answered from a script, Cancelled once it runs out; a path in an
// answer goes into FileName whatever the outcome.
struct ScriptedDialogs : FileDialogBackend {
    using Answer = std::pair<DialogOutcome, std::string>;
    DialogOutcome showOpen(CommonDialog &d) override { return answer(opens, openShown, d); }
    DialogOutcome showSave(CommonDialog &d) override
    {
        if (saveFilter)
            d.FilterIndex = saveFilter;
        return answer(saves, saveShown, d);
    }
    void processPendingEvents() override {}
    static DialogOutcome answer(std::deque<Answer> &script, std::vector<CommonDialog> &shown, CommonDialog &d)
    {
        shown.push_back(d);
        const Answer a = takeFront(script, Answer{DialogOutcome::Cancelled, ""});
        if (!a.second.empty())
            d.FileName = a.second;
        return a.first;
    }
    std::deque<Answer> opens;
    std::deque<Answer> saves;
    std::vector<CommonDialog> openShown;
    std::vector<CommonDialog> saveShown;
    int saveFilter = 0; // the filter a user picks in the save dialog; 0: left as offered
};

// The input box answers from a script, the empty text once it runs out.
struct ScriptedInput : InputBox {
    std::string inputBox(const std::string &, const std::string &) override
    {
        return takeFront(replies, std::string());
    }
    std::deque<std::string> replies;
};

// A fresh folder, removed with everything in it at the end.
struct TempDir {
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(m_path, m_error); }
    TempDir(const TempDir &) = delete;
    const std::filesystem::path &path() const { return m_path; }
    std::string file(const std::string &name) const { return (m_path / name).string(); }
    std::vector<std::string> names() const // everything inside, relative and sorted
    {
        std::vector<std::string> out;
        for (const auto &e : std::filesystem::recursive_directory_iterator(m_path))
            out.push_back(e.path().lexically_relative(m_path).string());
        std::sort(out.begin(), out.end());
        return out;
    }
    std::filesystem::path m_path;
    std::error_code m_error;
};

inline std::vector<unsigned char> readFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline std::string readFileText(const std::string &path)
{
    const auto bytes = readFileBytes(path);
    return {bytes.begin(), bytes.end()};
}
inline void writeFileBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace orvane::testing
