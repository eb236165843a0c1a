#pragma once

#include <QPainter>
#include <QPoint>
#include <QRect>

#include <algorithm>

namespace orvane {

// Draws a rectangle or ellipse outline in the box from..to (corners in any
// order) the way the metafile's reader draws it: a GDI box covers its left
// and top edge but stops a pixel short of its right and bottom edge. The
// window and the picture exports both draw shapes through here.
inline void paintBox(QPainter &painter, bool ellipse, const QPoint &from, const QPoint &to)
{
    const int left = std::min(from.x(), to.x());
    const int top = std::min(from.y(), to.y());
    const QRect box(left, top, std::max(0, std::max(from.x(), to.x()) - left - 1),
                    std::max(0, std::max(from.y(), to.y()) - top - 1));
    if (ellipse)
        painter.drawEllipse(box);
    else
        painter.drawRect(box);
}

} // namespace orvane
