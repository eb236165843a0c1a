#pragma once

#include <QObject>
#include <QSize>

class QMdiArea;
class QMdiSubWindow;

namespace orvane {

// Keeps an MDI sub-window wholly inside its area: at the size it wants (its
// size hint, or the size the user last gave it) when the area has room,
// otherwise as large as the area, and never partly outside. When the area
// grows beyond the size it had then, the window grows by as much, so that
// enlarging the main window enlarges the page's view; when it shrinks back,
// so does the window, down to the size it wants. Left alone, QMdiArea places
// a window wider than the area with its left edge outside and scrolls the
// area instead.
class SubWindowFit : public QObject {
    Q_OBJECT

public:
    SubWindowFit(QMdiArea *area, QMdiSubWindow *window);

    void fit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // asIs: the size as it stands, not grown with the area.
    void fitAs(QSize wanted, bool asIs = false);

    QMdiArea *m_area;
    QMdiSubWindow *m_window;
    QSize m_wanted;
    // The area's size when m_wanted was set; empty until the area is first shown.
    QSize m_areaThen;
    bool m_fitting = false;
};

} // namespace orvane
