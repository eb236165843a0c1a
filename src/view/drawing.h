#pragma once

#include "document/elementarray.h"
#include "document/patternelements.h"
#include "os/populatedallocator.h"

#include <cstdint>
#include <vector>

namespace orvane {

// One element of the surface's shared front-to-back order.
struct DrawingItem {
    enum Kind : std::uint8_t { Line, Shape };
    Kind kind;
    std::int16_t index;
};

// The pattern surface's element collections. Lines and shapes share one
// front-to-back order: every element handed out is brought to the front.
class Drawing {
    using OrderStamps = std::vector<std::uint64_t, PopulatedAllocator<std::uint64_t>>;

public:
    ElementArray<PatternLine> OutLine;
    ElementArray<PatternShape> OutShape;
    ElementArray<PatternLine> ArcLine;
    PatternLine EditLine;
    PatternShape EditShape;
    float HiddenPointWidth = 0;
    float HiddenPointHeight = 0;

    // Room for n more lines or shapes, so a large load does not keep regrowing.
    void reserveLines(int n);
    void reserveShapes(int n);

    void bringLineToFront(int index) { bringToFront(m_lineOrder, index); }
    void bringShapeToFront(int index) { bringToFront(m_shapeOrder, index); }

    // Every member, back first (callers skip hidden ones); cached until the
    // order changes.
    const std::vector<DrawingItem> &paintOrder() const;

    // Forgets the order of members that ClearDrawing removed.
    void resetOrder();

private:
    void bringToFront(OrderStamps &order, int index);

    OrderStamps m_lineOrder = {0};
    OrderStamps m_shapeOrder = {0};
    std::uint64_t m_nextStamp = 1;
    mutable std::vector<DrawingItem> m_paintOrder;
    mutable std::uint64_t m_paintOrderStamp = 0;
};

} // namespace orvane
