#include "mirrorform.h"

#include "view/libprogress.h"

namespace orvane {

float MirrorForm::scaled(float value, bool bScale) const
{
    return bScale ? static_cast<float>(static_cast<double>(value) * m_scale) : value;
}

void MirrorForm::ClearMirror()
{
    auto step = [this] { m_progress.StepProgress(1); };
    m_lines.removeAllButTemplate(step);
    m_shapes.removeAllButTemplate(step);
}

void MirrorForm::mLine(int iLine, float X1, float Y1, float X2, float Y2, bool bScale)
{
    PatternLine &line = m_lines.member(iLine);
    line.X1 = scaled(X1, bScale);
    line.X2 = scaled(X2, bScale);
    line.Y1 = scaled(Y1, bScale);
    line.Y2 = scaled(Y2, bScale);
    m_lines.setVisible(iLine, true);
}

void MirrorForm::mShape(int iShape, std::int16_t shapeForm, float shapeTop, float shapeLeft, float shapeHeight,
                        float shapeWidth, bool bScale)
{
    PatternShape &shape = m_shapes.member(iShape);
    shape.Shape = shapeForm;
    shape.Top = scaled(shapeTop, bScale);
    shape.Left = scaled(shapeLeft, bScale);
    shape.Height = scaled(shapeHeight, bScale);
    shape.Width = scaled(shapeWidth, bScale);
    m_shapes.setVisible(iShape, true);
}

void MirrorForm::UpdateMirrorScale(float baseHeight)
{
    if (baseHeight == 0)
        return;
    m_scale = static_cast<float>(static_cast<double>(m_patternHeight) / baseHeight);
}

} // namespace orvane
