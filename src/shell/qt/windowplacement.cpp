#include "windowplacement.h"

#include <QDir>
#include <QEvent>
#include <QLockFile>
#include <QStyle>
#include <QWidget>

namespace orvane {

WindowPlacement::WindowPlacement(QWidget &window, const QString &lockFolder, Save save, int delayMs)
    : QObject(&window), m_window(window), m_save(std::move(save))
{
    QDir().mkpath(lockFolder);
    for (int slot = 0; slot < MaxSlots; ++slot) {
        auto lock = std::make_unique<QLockFile>(QDir(lockFolder).filePath(QStringLiteral("orvane-window-%1.lock").arg(slot)));
        // Only a dead owner makes a slot free, however long it has been held.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            m_slot = slot;
            break;
        }
    }
    // With every slot taken the window goes to the last step.
    if (!m_lock)
        m_slot = MaxSlots - 1;
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &WindowPlacement::settled);
    m_window.installEventFilter(this);
}

WindowPlacement::~WindowPlacement() = default;

int WindowPlacement::cascadeStepFor(const QRect &frame, const QRect &inner, int fallback)
{
    const int titleBar = inner.top() - frame.top();
    return titleBar > 0 ? titleBar : fallback;
}

int WindowPlacement::cascadeStep() const
{
    // Before the window manager has framed the window, the style's idea of a title bar.
    const int fallback = m_window.style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
    return cascadeStepFor(m_window.frameGeometry(), m_window.geometry(), fallback);
}

void WindowPlacement::restore(const QByteArray &saved)
{
    if (!saved.isEmpty())
        m_window.restoreGeometry(saved);
    // Every window is placed by its inner geometry, the first one too: placing
    // one by its frame and the next by its inside would add a title bar to
    // the first step only.
    // With nothing saved, the first window is left where the window manager places it.
    m_stepUsed = cascadeStep();
    if (!saved.isEmpty() || m_slot > 0)
        m_window.setGeometry(m_window.geometry().translated(QPoint(m_slot, m_slot) * m_stepUsed));
    m_kept = m_window.geometry();
}

void WindowPlacement::saveIfChanged()
{
    m_timer.stop();
    if (m_window.geometry() == m_kept)
        return;
    m_kept = m_window.geometry();
    m_save(m_window.saveGeometry());
}

void WindowPlacement::settled()
{
    if (!m_placed) {
        // What settles first after showing is the window manager's placing,
        // not the user's doing. Now that the frame is there, the cascade
        // takes the real title bar's height.
        m_placed = true;
        const int step = cascadeStep();
        if (m_slot > 0 && m_stepUsed > 0 && step != m_stepUsed) {
            m_window.setGeometry(m_window.geometry().translated(QPoint(m_slot, m_slot) * (step - m_stepUsed)));
            m_stepUsed = step;
        }
        m_kept = m_window.geometry();
        return;
    }
    saveIfChanged();
}

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::Show) {
        m_placed = false;
        m_timer.start();
    } else if ((event->type() == QEvent::Move || event->type() == QEvent::Resize) && m_window.isVisible()) {
        m_timer.start();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orvane
