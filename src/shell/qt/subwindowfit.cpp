#include "subwindowfit.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace orvane {

SubWindowFit::SubWindowFit(QMdiArea *area, QMdiSubWindow *window)
    : QObject(window), m_area(area), m_window(window), m_wanted(window->sizeHint())
{
    area->viewport()->installEventFilter(this);
    window->installEventFilter(this);
}

void SubWindowFit::fit()
{
    fitAs(m_wanted);
}

void SubWindowFit::fitAs(QSize wanted, bool asIs)
{
    if (m_fitting || !m_window->isVisible() || m_window->isMinimized() || m_window->isMaximized())
        return;
    const QSize area = m_area->viewport()->size();
    if (!m_areaThen.isValid())
        m_areaThen = area;
    const QSize grown = asIs ? wanted : wanted + (area - m_areaThen).expandedTo(QSize(0, 0));
    const QSize size = grown.boundedTo(area);
    const QPoint pos(qBound(0, m_window->x(), qMax(0, area.width() - size.width())),
                     qBound(0, m_window->y(), qMax(0, area.height() - size.height())));
    if (m_window->geometry() == QRect(pos, size))
        return;
    m_fitting = true;
    m_window->setGeometry(QRect(pos, size));
    m_fitting = false;
}

bool SubWindowFit::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        // A size the user gives the window is the one it comes back to when the area grows again.
        if (watched == m_window && !m_fitting && m_window->isVisible() && !m_window->isMinimized()
            && !m_window->isMaximized()) {
            m_wanted = m_window->size();
            m_areaThen = m_area->viewport()->size();
        }
        fit();
        break;
    case QEvent::Move:
        // A new geometry moves before it resizes: the size is already the new one.
        if (watched == m_window && !m_fitting)
            fitAs(m_window->size(), true);
        break;
    case QEvent::Show:
        fit();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvane
