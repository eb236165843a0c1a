#include "picpanel.h"

#include "text/qt/qtconvert.h"

#include "shapewidget.h"
#include "shell/mainform.h"
#include "view/qt/twips.h"

#include <QApplication>
#include <QFile>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>

namespace orvane {

namespace {

constexpr const char *WidthProperty = "widthTwips";

struct StepRow {
    float shapeLeft[3]; // Shape0, Shape1, Shape2
    float shapeCLeft;
    float top;
    float commandLeft;
    float commandTop;
};

// Steps 1 and 2 sit outside the visible rows and stay hidden.
constexpr StepRow Rows[StepCount] = {
    {{30, 660, 3750}, 90, 330, 810, 420},
    {{9330, 9960, 13050}, 9390, 300, 10080, 390},
    {{9330, 9960, 13050}, 9390, 840, 10080, 930},
    {{30, 660, 3750}, 90, 870, 780, 960},
    {{30, 660, 3750}, 90, 1410, 780, 1500},
};

constexpr const char *Captions[StepCount] = {
    "Open Veltrum Pattern Maker File", "Connect Adjacent Line Ends", "Optimize Line Sequence", "Set Pattern Size",
    "Save As Metafile",
};

} // namespace

PicPanel::PicPanel(double twipsPerPixelX, double twipsPerPixelY, QWidget *parent)
    : QWidget(parent),
      m_twipsPerPixelX(twipsPerPixelX),
      m_twipsPerPixelY(twipsPerPixelY),
      m_label1(new QLabel(QStringLiteral(" Convert Veltrum Pattern Maker Files (*.pat) to Windows Metafiles (*.wmf)"),
                          this)),
      m_commandReset(new QPushButton(QStringLiteral("Change Files"), this))
{
    setObjectName(QStringLiteral("PicPanel"));
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    setFixedHeight(twipsToPixels(HeightTwips, m_twipsPerPixelY));

    m_label1->setObjectName(QStringLiteral("Label1"));
    place(m_label1, 60, 60, 6585, 255);

    // Frames first, so that the buttons and texts lie over them.
    for (int i = 0; i < StepCount; ++i) {
        const StepRow &row = Rows[i];
        const bool visibleRow = i == 0 || i >= 3;
        m_shape0[std::size_t(i)] = new ShapeWidget(ShapeWidget::Frame, this);
        m_shape1[std::size_t(i)] = new ShapeWidget(ShapeWidget::Frame, this);
        m_shape2[std::size_t(i)] = new ShapeWidget(ShapeWidget::Frame, this);
        m_shapeC[std::size_t(i)] = new ShapeWidget(ShapeWidget::Circle, this);
        place(Shape0(i), row.shapeLeft[0], row.top, 645, 555);
        place(Shape1(i), row.shapeLeft[1], row.top, 3105, 555);
        place(Shape2(i), row.shapeLeft[2], row.top, 5295, 555);
        place(ShapeC(i), row.shapeCLeft, row.top + 60, 525, 435);
        ShapeC(i)->setObjectName(QStringLiteral("ShapeC%1").arg(i));
        for (QWidget *shape : {static_cast<QWidget *>(Shape0(i)), static_cast<QWidget *>(Shape1(i)),
                               static_cast<QWidget *>(Shape2(i)), static_cast<QWidget *>(ShapeC(i))})
            shape->setVisible(visibleRow);
    }

    for (int i = 0; i < StepCount; ++i) {
        const StepRow &row = Rows[i];
        auto *button = new QPushButton(QString::fromLatin1(Captions[i]), this);
        button->setObjectName(QStringLiteral("Command%1").arg(i));
        button->setCursor(Qt::PointingHandCursor);
        // Outside a dialog a push button takes Space only; Enter presses it too.
        button->setAutoDefault(true);
        place(button, row.commandLeft, row.commandTop, 2865, 375);
        button->setVisible(i == 0 || i >= 3);
        connect(button, &QPushButton::clicked, this, [this, i] { emit commandClicked(i); });
        m_command[std::size_t(i)] = button;
    }
    m_commandReset->setObjectName(QStringLiteral("CommandReset"));
    m_commandReset->setAutoDefault(true);
    place(m_commandReset, 3810, 420, 1155, 375);
    connect(m_commandReset, &QPushButton::clicked, this, &PicPanel::commandResetClicked);

    for (int i = 0; i < 2; ++i) {
        auto *text = new QLineEdit(this);
        text->setObjectName(QStringLiteral("TextFilename%1").arg(i));
        text->setReadOnly(true);
        m_textFilename[std::size_t(i)] = text;
    }
    place(TextFilename(0), 5010, 450, 3945, 345);
    place(TextFilename(1), 3840, 1500, 3945, 345);

    for (int i = 0; i < 2; ++i) {
        m_labelPixelsX[std::size_t(i)] = new QLabel(i == 0 ? QStringLiteral("Horizonal Pixels:") : QStringLiteral("0"), this);
        m_labelPixelsY[std::size_t(i)] = new QLabel(i == 0 ? QStringLiteral("Vertical Pixels:") : QStringLiteral("0"), this);
        LabelPixelsX(i)->setObjectName(QStringLiteral("LabelPixelsX%1").arg(i));
        LabelPixelsY(i)->setObjectName(QStringLiteral("LabelPixelsY%1").arg(i));
    }
    place(LabelPixelsX(0), 3930, 1020, 1185, 225);
    place(LabelPixelsX(1), 5100, 1020, 1185, 225);
    place(LabelPixelsY(0), 6600, 1020, 1035, 225);
    place(LabelPixelsY(1), 7650, 1020, 1035, 225);

    // Top to bottom, left to right, as the rows read; the hidden steps 1 and 2 last.
    QWidget *const order[] = {Command(0), CommandReset(), TextFilename(0), Command(3),
                              Command(4), TextFilename(1), Command(1),     Command(2)};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    fitFont();
    qApp->installEventFilter(this);
}

bool PicPanel::captionsFit(const QFont &font) const
{
    const QFontMetricsF metrics(font, this);
    const int buttonMargin =
        2 * (style()->pixelMetric(QStyle::PM_ButtonMargin) + style()->pixelMetric(QStyle::PM_DefaultFrameWidth));
    // A line may reach a pixel past a control's height: the ink of a face stays within its line's spacing.
    const auto fits = [&](const QWidget *control, const QString &text, int margin) {
        return metrics.horizontalAdvance(text) + margin <= control->width()
               && metrics.height() <= control->height() + 1;
    };
    for (const QPushButton *button : {Command(0), Command(3), Command(4), CommandReset()}) {
        if (!fits(button, button->text(), buttonMargin))
            return false;
    }
    for (const QLabel *label : {Label1(), LabelPixelsX(0), LabelPixelsY(0)}) {
        if (!fits(label, label->text(), 0))
            return false;
    }
    return true;
}

void PicPanel::fitFont()
{
    // The desktop's face at its size, made smaller only as far as the
    // controls, fixed in twips as designed, need to show every caption whole.
    QFont font = QApplication::font();
    const double size = font.pointSizeF() > 0 ? font.pointSizeF() : 9.0;
    constexpr double Smallest = 0.5;
    for (double factor = 1.0; factor >= Smallest; factor -= 0.025) {
        font.setPointSizeF(size * factor);
        if (captionsFit(font))
            break;
    }
    setFont(font);
}

bool PicPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The desktop's font setting changed. The panel's own font, set in full,
    // would not follow the application's by itself.
    if (watched == qApp && event->type() == QEvent::ApplicationFontChange)
        fitFont();
    return QWidget::eventFilter(watched, event);
}

void PicPanel::place(QWidget *control, float left, float top, float width, float height) const
{
    control->setGeometry(twipsToPixels(left, m_twipsPerPixelX),
                         twipsToPixels(top, m_twipsPerPixelY), twipsToPixels(width, m_twipsPerPixelX),
                         twipsToPixels(height, m_twipsPerPixelY));
    control->setProperty(WidthProperty, width);
}

float PicPanel::widthTwips(const QWidget *control) const
{
    return control->property(WidthProperty).toFloat();
}

void PicPanel::setWidthTwips(QWidget *control, float width)
{
    if (widthTwips(control) == width)
        return;
    control->resize(twipsToPixels(width, m_twipsPerPixelX), control->height());
    control->setProperty(WidthProperty, width);
}

void PicPanel::showState(const PanelState &state)
{
    for (int i = 0; i < StepCount; ++i) {
        Command(i)->setEnabled(state.commandEnabled[std::size_t(i)]);
        ShapeC(i)->setFillColor(toQColor(state.indicatorColor[std::size_t(i)]));
        setWidthTwips(Shape2(i), state.shape2Width);
    }
    CommandReset()->setVisible(state.commandResetVisible);
    for (int i = 0; i < 2; ++i) {
        const QString text = fromNative(state.textFilename[std::size_t(i)]);
        if (TextFilename(i)->text() != text)
            TextFilename(i)->setText(text);
        TextFilename(i)->setVisible(state.textFilenameVisible[std::size_t(i)]);
    }
    setWidthTwips(TextFilename(0), state.textFilename0Width);
    setWidthTwips(TextFilename(1), state.textFilename1Width);
    LabelPixelsX(1)->setText(QString::fromStdString(state.labelPixelsX));
    LabelPixelsY(1)->setText(QString::fromStdString(state.labelPixelsY));
    for (int i = 0; i < 2; ++i) {
        LabelPixelsX(i)->setVisible(state.pixelLabelsVisible);
        LabelPixelsY(i)->setVisible(state.pixelLabelsVisible);
    }
}

void PicPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit widthChanged(static_cast<float>(event->size().width() * m_twipsPerPixelX));
}

} // namespace orvane
