#pragma once

#include "document/elementarray.h"
#include "document/patternelements.h"

#include <cstdint>

namespace orvane {

class LibProgress;

// Hidden second copy of the pattern's elements, kept index for index with the
// work window's arrays. Nothing reads it back; it is filled while a pattern
// loads and emptied with the drawing.
class MirrorForm {
public:
    explicit MirrorForm(LibProgress &progress) : m_progress(progress) {}

    std::int16_t LineCount() const { return m_lines.count(); }
    std::int16_t ShapeCount() const { return m_shapes.count(); }

    float PatternWidth() const { return m_patternWidth; }
    void setPatternWidth(float size) { m_patternWidth = size; }
    float PatternHeight() const { return m_patternHeight; }
    void setPatternHeight(float size) { m_patternHeight = size; }

    void ClearMirror();
    void dShape(int iShape) { m_shapes.setVisible(iShape, false); }
    void mLine(int iLine, float X1, float Y1, float X2, float Y2, bool bScale);
    void mShape(int iShape, std::int16_t shapeForm, float shapeTop, float shapeLeft, float shapeHeight,
                float shapeWidth, bool bScale);
    bool nLine(int iLine) { return m_lines.addMember(iLine); }
    bool nShape(int iShape) { return m_shapes.addMember(iShape); }
    void reserveLines(int n) { m_lines.reserve(m_lines.count() + n); }
    void reserveShapes(int n) { m_shapes.reserve(m_shapes.count() + n); }
    // A base height of 0 leaves the scale as it is rather than making it infinite.
    void UpdateMirrorScale(float baseHeight);

    const ElementArray<PatternLine> &MirrorLine() const { return m_lines; }
    const ElementArray<PatternShape> &MirrorShape() const { return m_shapes; }

private:
    float scaled(float value, bool bScale) const;

    LibProgress &m_progress;
    ElementArray<PatternLine> m_lines;
    ElementArray<PatternShape> m_shapes;
    // Placeholder page box until a load sets the page size.
    float m_patternWidth = 2295.0f;
    float m_patternHeight = 2295.0f;
    float m_scale = 1.0f;
};

} // namespace orvane
