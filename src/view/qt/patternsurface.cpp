#include "patternsurface.h"
#include "export/qt/outlinepainter.h"

#include "text/qt/qtconvert.h"

#include "view/qt/twips.h"
#include "view/drawing.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace orvane {

namespace {

// Whether a line from a to b can touch area; its box is known to meet it.
bool lineMeets(const QPoint &a, const QPoint &b, const QRect &area)
{
    if (area.contains(a) || area.contains(b))
        return true;
    // Otherwise the line must pass between the area's corners: they may not
    // all lie on one side of it.
    const qint64 dx = b.x() - a.x();
    const qint64 dy = b.y() - a.y();
    auto side = [&](int x, int y) { return dx * (y - a.y()) - dy * (x - a.x()); };
    const qint64 s1 = side(area.left(), area.top());
    const qint64 s2 = side(area.right() + 1, area.top());
    const qint64 s3 = side(area.left(), area.bottom() + 1);
    const qint64 s4 = side(area.right() + 1, area.bottom() + 1);
    return !((s1 > 0 && s2 > 0 && s3 > 0 && s4 > 0) || (s1 < 0 && s2 < 0 && s3 < 0 && s4 < 0));
}

} // namespace

PatternSurface::PatternSurface(const Drawing &drawing, double twipsPerPixelX, double twipsPerPixelY, QWidget *parent)
    : QWidget(parent), m_drawing(drawing), m_twipsPerPixelX(twipsPerPixelX), m_twipsPerPixelY(twipsPerPixelY)
{
    // Every paint fills what it exposes, which also lets Qt move the surface
    // by copying pixels and expose only the strip that scrolled in.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(QStringLiteral("Pattern"));
}

void PatternSurface::setZoom(double zoom)
{
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    drawingChanged();
}

void PatternSurface::drawingChanged()
{
    const auto x = [this](double twips) { return twipsToPixels(twips * m_zoom, m_twipsPerPixelX); };
    const auto y = [this](double twips) { return twipsToPixels(twips * m_zoom, m_twipsPerPixelY); };

    m_items.clear();
    for (const DrawingItem &entry : m_drawing.paintOrder()) {
        Item item{};
        if (entry.kind == DrawingItem::Line) {
            const PatternLine &line = m_drawing.OutLine[entry.index];
            if (!line.Visible)
                continue;
            item.kind = Item::Line;
            item.from = QPoint(x(line.X1), y(line.Y1));
            item.to = QPoint(x(line.X2), y(line.Y2));
            item.color = toQColor(line.BorderColor).rgb();
            item.width = std::max<int>(1, line.BorderWidth);
        } else {
            const PatternShape &shape = m_drawing.OutShape[entry.index];
            if (!shape.Visible)
                continue;
            // The box the metafile records: corners scaled one by one, each
            // kind filling its whole box, rounded kinds as plain rectangles.
            int left = x(shape.Left);
            int top = y(shape.Top);
            int right = x(double(shape.Left) + shape.Width);
            int bottom = y(double(shape.Top) + shape.Height);
            if (right < left)
                std::swap(left, right);
            if (bottom < top)
                std::swap(top, bottom);
            item.kind = isEllipseKind(shape.Shape) ? Item::Ellipse : Item::Rectangle;
            item.from = QPoint(left, top);
            item.to = QPoint(right, bottom);
            item.color = toQColor(shape.BorderColor).rgb();
            item.width = std::max<int>(1, shape.BorderWidth);
        }
        const int pen = item.width;
        item.bounds = QRect(item.from, item.to).normalized().adjusted(-pen, -pen, pen, pen);
        // An outline does not reach into the middle of its box; for an
        // ellipse the inscribed rectangle is used.
        const QRect box(item.from, item.to);
        const int insetX = item.kind == Item::Ellipse ? box.width() * 3 / 20 : 0;
        const int insetY = item.kind == Item::Ellipse ? box.height() * 3 / 20 : 0;
        item.hollow = item.kind == Item::Line
                          ? QRect()
                          : box.adjusted(insetX + pen + 1, insetY + pen + 1, -insetX - pen - 1, -insetY - pen - 1);
        m_items.push_back(item);
    }
    update();
}

void PatternSurface::paintEvent(QPaintEvent *event)
{
    const QRect exposed = event->rect();
    QPainter painter(this);
    painter.fillRect(exposed, Qt::white);
    painter.setBrush(Qt::NoBrush);

    QRgb color = qRgb(0, 0, 0);
    int width = 1;
    QPen pen(QColor::fromRgb(color), width);
    pen.setCosmetic(true);
    painter.setPen(pen);

    // Runs of lines in one pen go to the painter together.
    std::vector<QLine> &lines = m_lineBatch;
    auto flushLines = [&] {
        if (!lines.empty())
            painter.drawLines(lines.data(), int(lines.size()));
        lines.clear();
    };

    int painted = 0;
    for (const Item &item : m_items) {
        if (!item.bounds.intersects(exposed))
            continue;
        if (item.kind == Item::Line ? !lineMeets(item.from, item.to, exposed.adjusted(-width, -width, width, width))
                                    : item.hollow.contains(exposed))
            continue;
        if (item.color != color || item.width != width) {
            flushLines();
            color = item.color;
            width = item.width;
            pen.setColor(QColor::fromRgb(color));
            pen.setWidth(width);
            painter.setPen(pen);
        }
        if (item.kind == Item::Line) {
            lines.emplace_back(item.from, item.to);
        } else {
            flushLines();
            paintBox(painter, item.kind == Item::Ellipse, item.from, item.to);
        }
        ++painted;
    }
    flushLines();
    m_lastPaintCount = painted;
}

} // namespace orvane
