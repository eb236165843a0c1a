#pragma once

#include "shell/stepstate.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orvane {

class ShapeWidget;
struct PanelState;

// The command panel across the top of the main window: one row per step with
// a status indicator, a button and an information cell. Every control sits at
// its place in twips, converted with the screen's twips per pixel.
class PicPanel : public QWidget {
    Q_OBJECT

public:
    static constexpr float HeightTwips = 2145.0f;

    PicPanel(double twipsPerPixelX, double twipsPerPixelY, QWidget *parent = nullptr);

    QLabel *Label1() const { return m_label1; }
    QPushButton *Command(int index) const { return m_command.at(std::size_t(index)); }
    QPushButton *CommandReset() const { return m_commandReset; }
    ShapeWidget *Shape0(int index) const { return m_shape0.at(std::size_t(index)); }
    ShapeWidget *Shape1(int index) const { return m_shape1.at(std::size_t(index)); }
    ShapeWidget *Shape2(int index) const { return m_shape2.at(std::size_t(index)); }
    ShapeWidget *ShapeC(int index) const { return m_shapeC.at(std::size_t(index)); }
    QLineEdit *TextFilename(int index) const { return m_textFilename.at(std::size_t(index)); }
    QLabel *LabelPixelsX(int index) const { return m_labelPixelsX.at(std::size_t(index)); }
    QLabel *LabelPixelsY(int index) const { return m_labelPixelsY.at(std::size_t(index)); }

    // The width of a control in twips, as placed or as LayoutPanel last set it.
    float widthTwips(const QWidget *control) const;

    void showState(const PanelState &state);

    // Whether every caption of the visible rows fits its control in font.
    bool captionsFit(const QFont &font) const;

signals:
    void commandClicked(int index);
    void commandResetClicked();
    // The panel's width changed; it follows the main window's inner width.
    void widthChanged(float widthTwips);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Places a control at left, top, width x height twips.
    void place(QWidget *control, float left, float top, float width, float height) const;
    void setWidthTwips(QWidget *control, float width);
    void fitFont();

    double m_twipsPerPixelX;
    double m_twipsPerPixelY;
    QLabel *m_label1;
    std::array<QPushButton *, StepCount> m_command{};
    QPushButton *m_commandReset;
    std::array<ShapeWidget *, StepCount> m_shape0{};
    std::array<ShapeWidget *, StepCount> m_shape1{};
    std::array<ShapeWidget *, StepCount> m_shape2{};
    std::array<ShapeWidget *, StepCount> m_shapeC{};
    std::array<QLineEdit *, 2> m_textFilename{};
    std::array<QLabel *, 2> m_labelPixelsX{};
    std::array<QLabel *, 2> m_labelPixelsY{};
};

} // namespace orvane
