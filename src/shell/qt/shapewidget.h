#pragma once

#include <QColor>
#include <QWidget>

namespace orvane {

// A shape control of the command panel: the rectangular frame of a cell, or
// a round status indicator filled in its step's colour.
class ShapeWidget : public QWidget {
    Q_OBJECT

public:
    enum Kind { Frame, Circle };

    explicit ShapeWidget(Kind kind, QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    void setFillColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Kind m_kind;
    QColor m_fill = Qt::white;
};

} // namespace orvane
