#pragma once

// Test set-ups that wire the core together over the fakes: the loader with
// everything it needs, and the main window with a whole platform.

#include "fakes.h"
#include "patternwriter.h"
#include "wmf2svg.h"

#include "document/mirrorform.h"
#include "document/patternsettings.h"
#include "document/temporarypicture.h"
#include "platform/libmessage.h"
#include "platform/libprogress.h"
#include "platform/libsetup.h"
#include "export/libemf.h"
#include "platform/fileio.h"
#include "shell/libfile.h"
#include "shell/mainform.h"
#include "view/libdraw.h"
#include "view/workform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvane::testing {

// The loader (LibFile) on a work window, a mirror store and the fakes. The
// picture copy goes to a folder inside the test's temporary folder.
struct LoaderHarness {
    TempDir dir;
    FakeMessageBox box;
    FakeSettingsStore store;
    LibSetup setup;
    LibMessage messages{box};
    LibProgress progress;
    LibDimension dimension;
    MirrorForm mirror{progress};
    WorkForm workForm{mirror, progress, setup};
    TemporaryPicture picture{pictureFolder()};
    LibFile file{LibFile::Services{dimension, mirror, workForm, progress, messages, store, picture}};

    std::string pictureFolder() const { return dir.file("cache/Veltrum Orvane"); }
    std::string picturePath() const { return pictureFolder() + "/vrtmimage.tmp"; }

    std::string write(const PatternWriter &w, const std::string &name = "pattern.pat") const
    {
        const std::string path = dir.file(name);
        w.save(path);
        return path;
    }

    bool load(const std::string &path) { return file.LoadPattern(path); }
    bool load(const PatternWriter &w, const std::string &name = "pattern.pat") { return load(write(w, name)); }

    const PatternSettings &settings() const { return dimension.settings(); }
    const Drawing &drawing() const { return workForm.drawing(); }

    std::vector<PatternLine> visibleLines() const
    {
        std::vector<PatternLine> out;
        for (const PatternLine &l : drawing().OutLine)
            if (l.Visible)
                out.push_back(l);
        return out;
    }
    std::vector<PatternShape> visibleShapes() const
    {
        std::vector<PatternShape> out;
        for (const PatternShape &s : drawing().OutShape)
            if (s.Visible)
                out.push_back(s);
        return out;
    }
};

// The main window over fake platform pieces.
struct MainFormHarness {
    TempDir dir;
    FakeMessageBox box;
    FakeSettingsStore store;
    ScriptedDialogs dialogs;
    ScriptedInput input;
    MainForm form{Platform{box, store, &dialogs, &input, 15.0, 15.0, dir.file("cache/Veltrum Orvane")}};

    MainFormHarness() { form.Load(); }

    std::string write(const PatternWriter &w, const std::string &name = "pattern.pat") const
    {
        const std::string path = dir.file(name);
        w.save(path);
        return path;
    }

    // Clicks "Open" with the dialog answering path.
    void open(const std::string &path)
    {
        dialogs.scriptOpen(DialogOutcome::Accepted, path);
        form.CommandClick(0);
    }
    void setSize(const std::string &reply)
    {
        input.replies.push_back(reply);
        form.CommandClick(3);
    }
    // Clicks "Save As Metafile" with the dialog answering path; a file that
    // was written is read back by our decoder and by wmf2svg.
    void save(const std::string &path)
    {
        dialogs.scriptSave(DialogOutcome::Accepted, path);
        form.CommandClick(4);
        if (form.stepStates()[4] == StepDone) {
            SCOPED_TRACE("saved " + path);
            expectMetafileReadable(path, form.PixelsX(), form.PixelsY());
        }
    }

    StepStates steps() const { return form.stepStates(); }
};

// A work window's drawing filled by hand, the way the loader fills it: each
// element handed out by AddLine/AddShape, set, and shown.
struct DrawingHarness {
    LibSetup setup;
    LibProgress progress;
    MirrorForm mirror{progress};
    WorkForm workForm{mirror, progress, setup};

    Drawing &drawing() { return workForm.drawing(); }

    int line(float x1, float y1, float x2, float y2)
    {
        const int i = *LibDraw::AddLine(drawing(), mirror);
        PatternLine &l = drawing().OutLine.member(i);
        l.X1 = x1;
        l.Y1 = y1;
        l.X2 = x2;
        l.Y2 = y2;
        drawing().OutLine.setVisible(i, true);
        mirror.mLine(i, x1, y1, x2, y2, false);
        return i;
    }
    int shape(std::int16_t kind, float left, float top, float width, float height)
    {
        const int i = *LibDraw::AddShape(drawing(), mirror);
        PatternShape &s = drawing().OutShape.member(i);
        s.Shape = kind;
        s.Left = left;
        s.Top = top;
        s.Width = width;
        s.Height = height;
        drawing().OutShape.setVisible(i, true);
        mirror.mShape(i, kind, top, left, height, width, false);
        return i;
    }
};

// The plain metafile of a drawing whose page (pageW x pageH twips) spans
// pixelsX x pixelsY, built or saved.
inline LibEMF::BuildResult buildWmf(const Drawing &drawing, float pageW, float pageH, int pixelsX, int pixelsY)
{
    return LibEMF::BuildMetafile(drawing, ExportOptions{{}, pixelsX, pixelsY, pageW, pageH, nullptr});
}
inline bool saveMetafile(int pixelsX, int pixelsY, const std::string &path, const Drawing &drawing, float pageW,
                         float pageH, MessageBox &box)
{
    return LibEMF::SaveMetafile(ExportOptions{path, pixelsX, pixelsY, pageW, pageH, nullptr}, drawing, box);
}

} // namespace orvane::testing
