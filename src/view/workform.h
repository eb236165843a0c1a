#pragma once

#include "drawing.h"

namespace orvane {

class LibProgress;
class LibSetup;
class MirrorForm;

struct ScrollBarState {
    bool Enabled = true;
    int Max = 0;
    int SmallChange = 1;
    int LargeChange = 1;
    int Value = 0;
};

// Geometry of the work window's controls, in twips.
struct ScrollLayout {
    static constexpr float BarThickness = 285.0f;

    float VScrollLeft = 8760.0f;
    float VScrollHeight = 1185.0f;
    float HScrollTop = 1200.0f;
    float HScrollWidth = 8745.0f;
    float PicScrollWidth = 8775.0f;
    float PicScrollHeight = 1215.0f;
    ScrollBarState HScroll;
    ScrollBarState VScroll;
};

// What the work window needs of its widget.
class WorkFormView {
public:
    virtual ~WorkFormView() = default;
    virtual void setWindowVisible(bool visible) = 0;
    // The scroll layout, the page position or the surface's size changed.
    virtual void layoutChanged() = 0;
    // Elements were added, changed or removed.
    virtual void drawingChanged() = 0;
    // The window's inner size in twips.
    virtual float innerWidthTwips() const = 0;
    virtual float innerHeightTwips() const = 0;
};

// The work window's state: the pattern surface with its elements, its size
// and position, and the scroll bars' layout. A widget shows it.
class WorkForm {
public:
    // Creating the window is loading it, which styles the element templates.
    WorkForm(MirrorForm &mirror, LibProgress &progress, const LibSetup &setup);

    void setView(WorkFormView *view) { m_view = view; }

    Drawing &drawing() { return m_drawing; }
    const Drawing &drawing() const { return m_drawing; }

    bool Visible() const { return m_visible; }
    void setVisible(bool visible);

    // The pattern surface, twips. Its size is the page as loaded.
    float PatternWidth() const { return m_patternWidth; }
    float PatternHeight() const { return m_patternHeight; }
    void setPatternSize(float width, float height);
    float PatternLeft() const { return m_patternLeft; }
    float PatternTop() const { return m_patternTop; }

    void ClearWorkForm();
    void ClearDrawing();
    // The loader fills the element arrays directly; this tells the view once
    // it is done.
    void notifyDrawingChanged();

    // Lays out viewport and scroll bars for the given inner size, in twips.
    // Sizes that would come out negative in a tiny window are clamped at 0.
    void SetScroll(float innerWidth, float innerHeight);
    // The same for the window's current inner size (9585 x 5850 as designed).
    void SetScroll();
    // The resize event: nothing while the main window is minimized.
    void Resized(bool mainWindowMinimized);

    // How the page is shown: at its size, or scaled to fit the viewport
    // whole (following it as the window is resized). Only the view changes;
    // the page, the elements and the pixel size of a save stay as they are.
    enum class ViewScale { ActualSize, FitPage };
    ViewScale viewScale() const { return m_viewScale; }
    void setViewScale(ViewScale scale);
    // The factor the surface is shown at: 1 at actual size.
    double Zoom() const { return m_zoom; }
    const ScrollLayout &layout() const { return m_layout; }

    // The bars' change events, also raised while a thumb is dragged.
    void HScrollChanged(int value);
    void VScrollChanged(int value);

private:
    void layoutChanged();

    MirrorForm &m_mirror;
    LibProgress &m_progress;
    WorkFormView *m_view = nullptr;
    Drawing m_drawing;
    ScrollLayout m_layout;
    bool m_visible = false;
    float m_patternWidth = 2295.0f;
    float m_patternHeight = 2295.0f;
    float m_patternLeft = 0;
    float m_patternTop = 0;
    ViewScale m_viewScale = ViewScale::ActualSize;
    double m_zoom = 1.0;
};

} // namespace orvane
