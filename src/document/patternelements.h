#pragma once

#include <cstdint>

namespace orvane {

// Shape kinds as stored in a pattern file; values outside 0..5 are kept as read.
enum ShapeKind : std::int16_t {
    ShapeRectangle = 0,
    ShapeSquare = 1,
    ShapeOval = 2,
    ShapeCircle = 3,
    ShapeRoundedRectangle = 4,
    ShapeRoundedSquare = 5,
};

// Copy pen: the element is drawn in its own colour.
constexpr std::int16_t DrawModeCopyPen = 13;
// Inverts what lies beneath the element.
constexpr std::int16_t DrawModeNot = 6;

// One straight segment, coordinates in twips, y downwards.
struct PatternLine {
    float X1 = 0;
    float Y1 = 0;
    float X2 = 0;
    float Y2 = 0;
    std::uint32_t BorderColor = 0; // 0x00BBGGRR
    std::int16_t BorderWidth = 1;
    std::int16_t DrawMode = DrawModeCopyPen;
    bool Visible = false;
};

// One outline shape in its bounding box, twips.
struct PatternShape {
    std::int16_t Shape = ShapeRectangle;
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    std::uint32_t BorderColor = 0;
    std::int16_t BorderWidth = 1;
    std::int16_t DrawMode = DrawModeCopyPen;
    bool Visible = false;
};

inline bool isEllipseKind(std::int16_t kind)
{
    return kind == ShapeOval || kind == ShapeCircle;
}

} // namespace orvane
