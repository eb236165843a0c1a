#include "libprogress.h"

#include "progressview.h"

namespace orvane {

void LibProgress::StartProgress(std::int16_t min, std::int16_t max, const std::string &header, bool allowCancel)
{
    if (!m_enabled)
        return;
    if (max <= min)
        max = static_cast<std::int16_t>(min + 1);
    if (!m_loaded) {
        m_loaded = true;
        m_cancelEnabled = true;
    }
    if (m_view)
        m_view->showWindow();
    EnableCancel(allowCancel);
    m_header = header;
    m_min = min;
    m_max = max;
    m_value = min;
    if (m_view) {
        m_view->setHeader(m_header);
        m_view->setBar(m_min, m_max, m_value);
        m_view->processPendingEvents();
    }
}

bool LibProgress::StepProgress(std::int16_t step)
{
    if (!m_enabled)
        return false;
    const float v = static_cast<float>(static_cast<double>(m_value) + step);
    if (m_min > v)
        m_value = m_min;
    else if (m_max < v)
        m_value = m_max;
    else
        m_value = v;
    if (m_view) {
        m_view->setBar(m_min, m_max, m_value);
        m_view->processPendingEvents();
    }
    return !m_cancelled;
}

void LibProgress::SetProgressHeader(const std::string &header)
{
    if (!m_enabled || !m_loaded)
        return;
    m_header = header;
    if (m_view) {
        m_view->setHeader(m_header);
        m_view->processPendingEvents();
    }
}

void LibProgress::EndProgress()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    if (m_view)
        m_view->closeWindow();
}

void LibProgress::CancelClicked()
{
    if (!m_loaded || !m_cancelVisible || !m_cancelEnabled)
        return;
    m_cancelEnabled = false;
    m_cancelled = true;
}

void LibProgress::EnableCancel(bool enable)
{
    m_cancelVisible = enable;
    if (m_view)
        m_view->setCancelVisible(enable);
    m_cancelled = false;
}

int LibProgress::windowHeightTwips() const
{
    return m_cancelVisible ? CancelTopTwips + CancelHeightTwips + 200 : CancelTopTwips;
}

} // namespace orvane
