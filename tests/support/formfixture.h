#pragma once

// The main window over a private temporary folder, opened and saved the way
// orvane-convert drives it: the dialogs answer with a path, every message box
// is recorded. The picture copy goes to <folder>/cache/Veltrum Orvane.

#include "patternwriter.h"

#include "document/settingsstore.h"
#include "shell/commondialog.h"
#include "shell/inputbox.h"
#include "shell/mainform.h"
#include "shell/messagebox.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace orvane::testing {

class RecordingBoxes : public MessageBox {
public:
    struct Box {
        std::string text;
        int style;
        std::string title;
    };
    std::vector<Box> shown;
    int beeps = 0;
    int showMessage(const std::string &text, int style, const std::string &title) override
    {
        shown.push_back({text, style, title});
        return 1;
    }
    void beep() override { ++beeps; }
};

class PathDialogs : public FileDialogBackend {
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

class SilentInput : public InputBox {
public:
    std::string inputBox(const std::string &, const std::string &) override { return {}; }
};

inline std::string makeTestFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-form-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return std::string();
    ::mkdir((pattern + "/cache").c_str(), 0700);
    return pattern;
}

inline std::string readFileText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFileText(const std::string &path, const std::string &text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

class FormFixture : public ::testing::Test {
protected:
    FormFixture() { form.Load(); }
    ~FormFixture() override
    {
        std::error_code error;
        std::filesystem::remove_all(m_folder, error);
    }

    std::string file(const std::string &name) const { return m_folder + "/" + name; }
    std::string pictureFolder() const { return m_folder + "/cache/Veltrum Orvane"; }
    std::string picturePath() const { return pictureFolder() + "/vrtmimage.tmp"; }

    // "Open" with the dialog answering a file holding w's bytes.
    bool open(const PatternWriter &w, const std::string &name = "pattern.pat")
    {
        const std::string path = file(name);
        EXPECT_TRUE(w.save(path));
        dialogs.openPath = path;
        form.CommandClick(0);
        return form.stepStates()[0] == StepDone;
    }

    // "Save As Metafile" with the dialog answering path.
    bool save(const std::string &path)
    {
        dialogs.savePath = path;
        form.CommandClick(4);
        return form.stepStates()[4] == StepDone;
    }

    std::vector<PatternLine> visibleLines() const
    {
        std::vector<PatternLine> lines;
        for (const PatternLine &line : form.workForm().drawing().OutLine)
            if (line.Visible)
                lines.push_back(line);
        return lines;
    }
    std::vector<PatternShape> visibleShapes() const
    {
        std::vector<PatternShape> shapes;
        for (const PatternShape &shape : form.workForm().drawing().OutShape)
            if (shape.Visible)
                shapes.push_back(shape);
        return shapes;
    }

    const std::string m_folder = makeTestFolder();
    RecordingBoxes box;
    EmptySettingsStore store;
    PathDialogs dialogs;
    SilentInput input;
    MainForm form{Platform{box, store, dialogs, input, 15.0, 15.0, pictureFolder()}};
};

} // namespace orvane::testing
