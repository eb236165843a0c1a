#pragma once

#include <QObject>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;

namespace orvane {

// Keeps an MDI sub-window wholly inside its area: at the size it wants (its
// size hint, or the size the user last gave it) when the area has room,
// otherwise as large as the area, and never partly outside. Left alone,
// QMdiArea places a window wider than the area with its left edge outside and
// scrolls the area instead.
class SubWindowFit : public QObject {
    Q_OBJECT

public:
    SubWindowFit(QMdiArea *area, QMdiSubWindow *window);

    void fit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitAs(QSize wanted);

    QMdiArea *m_area;
    QMdiSubWindow *m_window;
    QSize m_wanted;
    bool m_fitting = false;
};

} // namespace orvane
