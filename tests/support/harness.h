#pragma once

// The core wired over the fakes: a drawing filled by hand, the loader, MainForm's steps.

#include "scriptedsession.h"
#include "wmfdecoder.h"

#include "view/mirrorform.h"
#include "document/patternsettings.h"
#include "api/temporarypicture.h"
#include "export/pageencoding.h"
#include "shell/savestep.h"
#include "shell/libmessage.h"
#include "view/libprogress.h"
#include "view/libsetup.h"
#include "view/libdraw.h"
#include "view/workform.h"
#include "api/patternopen.h"

#include <gtest/gtest.h>

namespace orvane::testing {

// A drawing filled by hand the way the loader fills it.
struct DrawingHarness {
    LibSetup setup;
    LibProgress progress;
    MirrorForm mirror{progress};
    WorkForm workForm{mirror, progress, setup};

    Drawing &drawing() { return workForm.drawing(); }
    const Drawing &drawing() const { return workForm.drawing(); }
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
    // The drawing on a pageW x pageH twips page at pixelsX x pixelsY, saved or only built.
    bool save(const std::string &path, FakeMessageBox &box, float pageW = 12240, float pageH = 15840,
              int pixelsX = 816, int pixelsY = 1056)
    {
        return SaveMetafile(ExportOptions{path, pixelsX, pixelsY, nullptr}, page(pageW, pageH), box);
    }
    std::vector<unsigned char> build(float pageW, float pageH, int pixelsX, int pixelsY)
    {
        return encodePage(page(pageW, pageH), ExportOptions{{}, pixelsX, pixelsY, nullptr}).bytes;
    }
    PageElements page(float pageW, float pageH) const
    {
        return {drawing().OutLine.members(), drawing().OutShape.members(), pageW, pageH};
    }
    // The visible lines as {x1, y1, x2, y2}, then the shapes as {kind, left, top, width, height}.
    std::vector<std::vector<float>> visible() const
    {
        std::vector<std::vector<float>> out;
        for (const PatternLine &l : drawing().OutLine)
            if (l.Visible)
                out.push_back({l.X1, l.Y1, l.X2, l.Y2});
        for (const PatternShape &s : drawing().OutShape)
            if (s.Visible)
                out.push_back({float(s.Shape), s.Left, s.Top, s.Width, s.Height});
        return out;
    }
};

// The loader (the open without the drawing) on such a drawing, with the fakes.
struct LoaderHarness : DrawingHarness {
    TempDir dir;
    FakeMessageBox box;
    FakeSettingsStore store;
    LibMessage messages{box};
    TemporaryPicture picture{pictureFolder()};
    PatternOpen file{[this](const LoadMessage &m) {
                         messages.Show(m);
                     },
                     store, &picture};

    std::string pictureFolder() const { return dir.file("cache/Veltrum Orvane"); }
    std::string picturePath() const { return pictureFolder() + "/vrtmimage.tmp"; }
    std::string write(const PatternWriter &w, const std::string &name = "pattern.pat") const
    {
        w.save(dir.file(name));
        return dir.file(name);
    }
    bool load(const PatternWriter &w, const std::string &name = "pattern.pat") { return loadPath(write(w, name)); }
    // Read, then drawn as an open draws it.
    bool loadPath(const std::string &path)
    {
        if (!file.open(path))
            return false;
        return LibDraw::DrawPattern(drawing(), mirror, file.pattern());
    }
    const PatternSettings &settings() const { return file.pattern().settings; }
};

// MainForm in a scripted session, its steps clicked through CommandClick.
struct MainFormHarness : ScriptedSession {
    MainForm form;
    explicit MainFormHarness(std::span<const ExportFormat> formats = {}) : form(platformWith(formats))
    {
        form.Load();
    }
    void run(const std::string &actions)
    {
        ScriptedSession::run(actions, [this](int i) { i < 0 ? form.CommandResetClick() : form.CommandClick(i); });
    }
    StepStates steps() const { return form.stepStates(); }
};

} // namespace orvane::testing
