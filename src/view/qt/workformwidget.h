#pragma once

#include "view/qt/twips.h"

#include "view/workform.h"

#include <QWidget>

class QScrollBar;

namespace orvane {

class PatternSurface;

// The work window as an MDI child: the viewport PicScroll holding the pattern
// surface, and the two scroll bars, all placed where WorkForm's layout says.
class WorkFormWidget : public QWidget, public WorkFormView {
    Q_OBJECT

public:
    // Inner size of the window as designed, twips.
    static constexpr float DesignWidthTwips = 9585.0f;
    static constexpr float DesignHeightTwips = 5850.0f;

    WorkFormWidget(WorkForm &form, double twipsPerPixelX, double twipsPerPixelY, QWidget *parent = nullptr);
    ~WorkFormWidget() override;

    QWidget *PicScroll() const { return m_picScroll; }
    PatternSurface *Pattern() const { return m_pattern; }
    QScrollBar *HScroll1() const { return m_hScroll; }
    QScrollBar *VScroll1() const { return m_vScroll; }

    QSize sizeHint() const override;

    void setWindowVisible(bool visible) override;
    void layoutChanged() override;
    void drawingChanged() override;
    float innerWidthTwips() const override;
    float innerHeightTwips() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    int toPixelsX(double twips) const { return TwipsScale{m_twipsPerPixelX, m_twipsPerPixelY}.toPixelsX(twips); }
    int toPixelsY(double twips) const { return TwipsScale{m_twipsPerPixelX, m_twipsPerPixelY}.toPixelsY(twips); }

    WorkForm &m_form;
    double m_twipsPerPixelX;
    double m_twipsPerPixelY;
    QWidget *m_picScroll;
    PatternSurface *m_pattern;
    QScrollBar *m_hScroll;
    QScrollBar *m_vScroll;
};

} // namespace orvane
