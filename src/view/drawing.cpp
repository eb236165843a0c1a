#include "drawing.h"

#include <algorithm>

namespace orvane {

void Drawing::bringToFront(OrderStamps &order, int index)
{
    if (order.size() <= static_cast<std::size_t>(index))
        order.resize(static_cast<std::size_t>(index) + 1, 0);
    order[static_cast<std::size_t>(index)] = m_nextStamp++;
}

void Drawing::reserveLines(int n)
{
    OutLine.reserve(OutLine.count() + n);
    m_lineOrder.reserve(static_cast<std::size_t>(OutLine.count() + n));
}

void Drawing::reserveShapes(int n)
{
    OutShape.reserve(OutShape.count() + n);
    m_shapeOrder.reserve(static_cast<std::size_t>(OutShape.count() + n));
}

void Drawing::resetOrder()
{
    m_lineOrder.assign(1, m_lineOrder.empty() ? 0 : m_lineOrder.front());
    m_shapeOrder.assign(1, m_shapeOrder.empty() ? 0 : m_shapeOrder.front());
    ++m_nextStamp; // invalidates the cached paint order
}

const std::vector<DrawingItem> &Drawing::paintOrder() const
{
    if (m_paintOrderStamp != m_nextStamp) {
        m_paintOrder.clear();
        m_paintOrder.reserve(static_cast<std::size_t>(OutLine.count() + OutShape.count()));
        for (int i = 0; i < OutLine.count(); ++i)
            m_paintOrder.push_back({DrawingItem::Line, static_cast<std::int16_t>(i)});
        for (int i = 0; i < OutShape.count(); ++i)
            m_paintOrder.push_back({DrawingItem::Shape, static_cast<std::int16_t>(i)});
        auto stamp = [this](const DrawingItem &item) {
            const auto &order = item.kind == DrawingItem::Line ? m_lineOrder : m_shapeOrder;
            const auto i = static_cast<std::size_t>(item.index);
            return i < order.size() ? order[i] : 0;
        };
        std::stable_sort(m_paintOrder.begin(), m_paintOrder.end(),
                         [&](const DrawingItem &a, const DrawingItem &b) { return stamp(a) < stamp(b); });
        m_paintOrderStamp = m_nextStamp;
    }
    return m_paintOrder;
}

} // namespace orvane
