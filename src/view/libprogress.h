#pragma once

#include <cstdint>
#include <string>

namespace orvane {

class ProgressView;

// Progress reporting behind one switch. With the switch off nothing is shown
// and StepProgress answers false; the program never switches it on, but the
// window works when it is.
class LibProgress {
public:
    static constexpr int CancelTopTwips = 1080;
    static constexpr int CancelHeightTwips = 375;

    explicit LibProgress(ProgressView *view = nullptr) : m_view(view) {}

    void setView(ProgressView *view) { m_view = view; }

    void SetProgressEnabled(bool enabled) { m_enabled = enabled; }

    void StartProgress(std::int16_t min, std::int16_t max, const std::string &header, bool allowCancel);
    bool StepProgress(std::int16_t step);
    // A new header for a running progress, the bar kept (a batch names each file).
    void SetProgressHeader(const std::string &header);
    void EndProgress();

    // The window's "Cancel" button was clicked.
    void CancelClicked();

    // State of the progress window, for views and tests.
    bool loaded() const { return m_loaded; }
    bool Cancelled() const { return m_cancelled; }
    const std::string &header() const { return m_header; }
    float minimum() const { return m_min; }
    float maximum() const { return m_max; }
    float value() const { return m_value; }
    // Outer height that EnableCancel gives the window, in twips.
    int windowHeightTwips() const;

private:
    void EnableCancel(bool enable);

    ProgressView *m_view = nullptr;
    bool m_enabled = false;
    bool m_loaded = false;
    bool m_cancelled = false;
    bool m_cancelVisible = true;
    bool m_cancelEnabled = true;
    std::string m_header = "Label1";
    float m_min = 0;
    float m_max = 100;
    float m_value = 0;
};

} // namespace orvane
