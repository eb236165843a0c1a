#pragma once

#include <QByteArray>
#include <QObject>
#include <QRect>
#include <QTimer>

#include <functional>
#include <memory>

class QLockFile;
class QWidget;

namespace orvane {

// Where the main window opens and when its size and position are kept.
// Each running window holds one numbered slot (a lock file that a crashed
// instance leaves stale); a window whose saved place is taken opens that
// many steps down and to the right. The geometry is saved shortly after it
// changes, so a window ended by a signal or a logout keeps it.
class WindowPlacement : public QObject {
    Q_OBJECT

public:
    using Save = std::function<void(const QByteArray &geometry)>;
    static constexpr int MaxSlots = 16;

    WindowPlacement(QWidget &window, const QString &lockFolder, Save save, int delayMs = 500);
    ~WindowPlacement() override;

    // restoreGeometry(saved), moved down and right by the slot's cascade steps.
    void restore(const QByteArray &saved);
    // Saves at once if the user moved or resized the window since the last save.
    void saveIfChanged();

    int slot() const { return m_slot; }
    // The distance between two cascaded windows, in pixels: the height of
    // the title bar the window manager gave the window, once it is framed.
    int cascadeStep() const;
    // The title bar's height from a window's frame and inner geometry, or
    // fallback while the window has no frame yet.
    static int cascadeStepFor(const QRect &frame, const QRect &inner, int fallback);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void settled();

    QWidget &m_window;
    Save m_save;
    std::unique_ptr<QLockFile> m_lock;
    int m_slot = 0;
    QTimer m_timer;
    // The geometry as placed or last saved; a change from it is the user's.
    QRect m_kept;
    bool m_placed = false;
    // The step the window was cascaded by before its frame was known.
    int m_stepUsed = 0;
};

} // namespace orvane
