#include "workform.h"

#include "libdraw.h"
#include "view/mirrorform.h"
#include "document/numeric.h"
#include "view/libprogress.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane {

namespace {

int toBarValue(double value)
{
    // Qt's bars take 32-bit values, so a page overhang beyond the 16-bit range
    // still scrolls all the way.
    const double r = roundHalfEven(value);
    return static_cast<int>(std::clamp(r, 0.0, double(std::numeric_limits<int>::max())));
}

void setUpBar(ScrollBarState &bar, float overhang)
{
    if (!(overhang > 0)) {
        bar.Enabled = false;
        return;
    }
    bar.Enabled = true;
    bar.Max = toBarValue(overhang);
    bar.LargeChange = toBarValue(static_cast<double>(overhang) / 10 + 1);
    bar.SmallChange = toBarValue(static_cast<double>(bar.LargeChange) / 10 + 1);
    bar.Value = 0;
}

} // namespace

WorkForm::WorkForm(MirrorForm &mirror, LibProgress &progress, const LibSetup &setup)
    : m_mirror(mirror), m_progress(progress)
{
    LibDraw::SetupDrawing(m_drawing, setup);
}

void WorkForm::setVisible(bool visible)
{
    m_visible = visible;
    if (m_view)
        m_view->setWindowVisible(visible);
}

void WorkForm::setPatternSize(float width, float height)
{
    m_patternWidth = width;
    m_patternHeight = height;
    layoutChanged();
}

void WorkForm::ClearWorkForm()
{
    setVisible(false);
    ClearDrawing();
}

void WorkForm::ClearDrawing()
{
    const int lines = m_drawing.OutLine.count();
    const int shapes = m_drawing.OutShape.count();
    const int arcs = m_drawing.ArcLine.count();
    // The 16-bit maximum saturates instead of wrapping for very large drawings.
    const int maximum = std::min(2 * shapes + 2 * lines + arcs, 32767);
    m_progress.StartProgress(0, static_cast<std::int16_t>(maximum), "Erasing - Please wait...", false);

    m_drawing.ArcLine.setVisible(0, false);
    m_drawing.OutLine.setVisible(0, false);
    m_drawing.OutShape.setVisible(0, false);
    m_drawing.EditLine.Visible = false;
    m_drawing.EditShape.Visible = false;

    auto step = [this] { m_progress.StepProgress(1); };
    m_drawing.ArcLine.removeAllButTemplate(step);
    m_drawing.OutLine.removeAllButTemplate(step);
    m_drawing.OutShape.removeAllButTemplate(step);
    m_drawing.resetOrder();

    m_mirror.ClearMirror();
    m_progress.EndProgress();
    notifyDrawingChanged();
}

void WorkForm::notifyDrawingChanged()
{
    if (m_view)
        m_view->drawingChanged();
}

void WorkForm::SetScroll(float innerWidth, float innerHeight)
{
    m_patternTop = 0;
    m_patternLeft = 0;
    ScrollLayout &l = m_layout;
    l.VScrollLeft = std::max(0.0f, innerWidth - ScrollLayout::BarThickness);
    l.HScrollTop = std::max(0.0f, innerHeight - ScrollLayout::BarThickness);
    l.VScrollHeight = l.HScrollTop;
    l.HScrollWidth = l.VScrollLeft;
    l.PicScrollWidth = l.VScrollLeft;
    l.PicScrollHeight = l.HScrollTop;
    m_zoom = 1.0;
    if (m_viewScale == ViewScale::FitPage) {
        // The whole page in the viewport: no bar is needed.
        const double zoom = std::min(double(l.PicScrollWidth) / m_patternWidth, double(l.PicScrollHeight) / m_patternHeight);
        if (std::isfinite(zoom) && zoom > 0)
            m_zoom = zoom;
        for (ScrollBarState *bar : {&l.HScroll, &l.VScroll})
            *bar = ScrollBarState{false, 0, 1, 1, 0};
        layoutChanged();
        return;
    }
    const float dx = static_cast<float>(static_cast<double>(m_patternWidth) - l.PicScrollWidth);
    const float dy = static_cast<float>(static_cast<double>(m_patternHeight) - l.PicScrollHeight);
    setUpBar(l.HScroll, dx);
    setUpBar(l.VScroll, dy);
    layoutChanged();
}

void WorkForm::setViewScale(ViewScale scale)
{
    m_viewScale = scale;
    SetScroll();
}

void WorkForm::SetScroll()
{
    if (m_view)
        SetScroll(m_view->innerWidthTwips(), m_view->innerHeightTwips());
    else
        SetScroll(9585.0f, 5850.0f);
}

void WorkForm::Resized(bool mainWindowMinimized)
{
    if (!mainWindowMinimized)
        SetScroll();
}

void WorkForm::HScrollChanged(int value)
{
    m_layout.HScroll.Value = value;
    m_patternLeft = -static_cast<float>(value);
    layoutChanged();
}

void WorkForm::VScrollChanged(int value)
{
    m_layout.VScroll.Value = value;
    m_patternTop = -static_cast<float>(value);
    layoutChanged();
}

void WorkForm::layoutChanged()
{
    if (m_view)
        m_view->layoutChanged();
}

} // namespace orvane
