#pragma once

#include "view/qt/twips.h"

#include "view/progressview.h"

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace orvane {

class LibProgress;

// The progress window: a frameless window owned by the main window, with a
// header, a bar and an optional "Cancel". Closing it discards its state, so
// the next start shows it as designed again, centred over the main window.
class ProgressForm : public QWidget, public ProgressView {
    Q_OBJECT

public:
    static constexpr float DesignWidthTwips = 6285.0f;
    static constexpr float DesignHeightTwips = 1545.0f;

    ProgressForm(LibProgress &progress, QWidget *mainWindow, double twipsPerPixelX, double twipsPerPixelY);

    QLabel *HeaderText() const { return m_header; }
    QProgressBar *Bar() const { return m_bar; }
    QPushButton *CommandCancel() const { return m_cancel; }

    void showWindow() override;
    void setCancelVisible(bool visible) override;
    void setHeader(const std::string &header) override;
    void setBar(float minimum, float maximum, float value) override;
    void processPendingEvents() override;
    void closeWindow() override;

private:
    void loadDesign();
    void CenterProgressForm();
    int toPixelsX(double twips) const { return TwipsScale{m_twipsPerPixelX, m_twipsPerPixelY}.toPixelsX(twips); }
    int toPixelsY(double twips) const { return TwipsScale{m_twipsPerPixelX, m_twipsPerPixelY}.toPixelsY(twips); }

    LibProgress &m_progress;
    QWidget *m_mainWindow;
    double m_twipsPerPixelX;
    double m_twipsPerPixelY;
    QLabel *m_header;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
    bool m_loaded = false;
};

} // namespace orvane
