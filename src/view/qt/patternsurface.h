#pragma once

#include <QLine>
#include <QWidget>

#include <vector>

namespace orvane {

class Drawing;

// The pattern surface `Pattern`: a white page showing the drawing's visible
// lines and shapes, back first, as the metafile will hold them. A paint only
// draws the elements whose box meets the exposed area, so scrolling a large
// pattern repaints a strip rather than the page.
class PatternSurface : public QWidget {
    Q_OBJECT

public:
    PatternSurface(const Drawing &drawing, double twipsPerPixelX, double twipsPerPixelY, QWidget *parent = nullptr);

    // Re-reads the elements after they were added, changed or removed.
    void drawingChanged();
    // Shows the page at this factor of its size (1: a page pixel to a screen pixel).
    void setZoom(double zoom);
    double zoom() const { return m_zoom; }

    // Elements the last paint drew.
    int lastPaintCount() const { return m_lastPaintCount; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Item {
        enum Kind : unsigned char { Line, Rectangle, Ellipse };
        QRect bounds; // pixels the element can touch
        QRect hollow; // inside a shape's outline, where it draws nothing
        QPoint from;  // line ends, or a shape's box corners
        QPoint to;
        QRgb color;
        int width;
        Kind kind;
    };

    const Drawing &m_drawing;
    double m_twipsPerPixelX;
    double m_twipsPerPixelY;
    double m_zoom = 1.0;
    std::vector<Item> m_items;
    std::vector<QLine> m_lineBatch;
    int m_lastPaintCount = 0;
};

} // namespace orvane
