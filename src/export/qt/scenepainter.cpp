#include "scenepainter.h"

#include "export/scene.h"
#include "export/qt/outlinepainter.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace orvane {

bool hasPage(const Scene &scene)
{
    return scene.pixelsX > 0 && scene.pixelsY > 0 && scene.pageWidthTwips > 0 && scene.pageHeightTwips > 0
        && std::isfinite(scene.pageWidthTwips) && std::isfinite(scene.pageHeightTwips);
}

EncodeResult noPage(const Scene &scene, const char *format)
{
    return {{}, std::string("The page (") + std::to_string(scene.pixelsX) + " x " + std::to_string(scene.pixelsY)
                    + " pixels) has no size a " + format + " can show."};
}

void paintScene(QPainter &painter, const Scene &scene, const QPen &pen, int top, int bottom)
{
    painter.fillRect(QRect(0, 0, scene.pixelsX, scene.pixelsY), Qt::white);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    std::vector<QLine> lines;
    auto flushLines = [&] {
        if (!lines.empty())
            painter.drawLines(lines.data(), int(lines.size()));
        lines.clear();
    };
    for (const SceneElement &e : scene.elements) {
        // A one-pixel outline stays within a pixel of its points.
        if (std::max(e.y1, e.y2) + 1 < top || std::min(e.y1, e.y2) - 1 >= bottom)
            continue;
        if (e.kind == SceneElement::Line) {
            lines.emplace_back(e.x1, e.y1, e.x2, e.y2);
            continue;
        }
        flushLines();
        paintBox(painter, e.kind == SceneElement::Ellipse, QPoint(e.x1, e.y1), QPoint(e.x2, e.y2));
    }
    flushLines();
}

QPen outlinePen()
{
    return QPen(Qt::black, 1);
}

} // namespace orvane
