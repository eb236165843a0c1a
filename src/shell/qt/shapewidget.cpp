#include "shapewidget.h"

#include <QPainter>

#include <algorithm>

namespace orvane {

ShapeWidget::ShapeWidget(Kind kind, QWidget *parent) : QWidget(parent), m_kind(kind)
{
    // Shapes are drawn on the panel; clicks belong to the buttons over them.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void ShapeWidget::setFillColor(const QColor &color)
{
    if (m_fill == color)
        return;
    m_fill = color;
    update();
}

void ShapeWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_kind == Frame) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        return;
    }
    // A circle keeps to the shorter side of its box, centred in it.
    const int diameter = std::min(width(), height()) - 1;
    const QRectF circle((width() - 1 - diameter) / 2.0 + 0.5, (height() - 1 - diameter) / 2.0 + 0.5, diameter,
                        diameter);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
    painter.setBrush(m_fill);
    painter.drawEllipse(circle);
}

} // namespace orvane
