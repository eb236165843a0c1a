#include "workformwidget.h"

#include "patternsurface.h"
#include "view/qt/twips.h"

#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSignalBlocker>

namespace orvane {

namespace {

void applyBar(QScrollBar *bar, const ScrollBarState &state)
{
    // The core has already moved the surface; echoing the change back as a
    // scroll event would only repeat it.
    const QSignalBlocker blocker(bar);
    bar->setEnabled(state.Enabled);
    bar->setRange(0, state.Max);
    bar->setPageStep(state.LargeChange);
    bar->setSingleStep(state.SmallChange);
    bar->setValue(state.Value);
}

} // namespace

WorkFormWidget::WorkFormWidget(WorkForm &form, double twipsPerPixelX, double twipsPerPixelY, QWidget *parent)
    : QWidget(parent),
      m_form(form),
      m_twipsPerPixelX(twipsPerPixelX),
      m_twipsPerPixelY(twipsPerPixelY),
      m_picScroll(new QWidget(this)),
      m_pattern(new PatternSurface(form.drawing(), twipsPerPixelX, twipsPerPixelY, m_picScroll)),
      m_hScroll(new QScrollBar(Qt::Horizontal, this)),
      m_vScroll(new QScrollBar(Qt::Vertical, this))
{
    setWindowTitle(QStringLiteral("New"));
    m_picScroll->setObjectName(QStringLiteral("PicScroll"));
    m_picScroll->setBackgroundRole(QPalette::Window);
    m_picScroll->setAutoFillBackground(true);
    m_hScroll->setObjectName(QStringLiteral("HScroll1"));
    m_vScroll->setObjectName(QStringLiteral("VScroll1"));

    // The page follows the thumb while it is dragged, not only when released.
    connect(m_hScroll, &QScrollBar::valueChanged, this, [this](int value) { m_form.HScrollChanged(value); });
    connect(m_hScroll, &QScrollBar::sliderMoved, this, [this](int value) { m_form.HScrollChanged(value); });
    connect(m_vScroll, &QScrollBar::valueChanged, this, [this](int value) { m_form.VScrollChanged(value); });
    connect(m_vScroll, &QScrollBar::sliderMoved, this, [this](int value) { m_form.VScrollChanged(value); });

    resize(sizeHint());
    m_form.setView(this);
    layoutChanged();
    drawingChanged();
}

WorkFormWidget::~WorkFormWidget()
{
    m_form.setView(nullptr);
}

QSize WorkFormWidget::sizeHint() const
{
    return QSize(toPixelsX(DesignWidthTwips), toPixelsY(DesignHeightTwips));
}

void WorkFormWidget::setWindowVisible(bool visible)
{
    // Inside the MDI area the window is the sub-window frame around us.
    QWidget *window = qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : this;
    window->setVisible(visible);
}

void WorkFormWidget::layoutChanged()
{
    const ScrollLayout &l = m_form.layout();
    m_picScroll->setGeometry(0, 0, toPixelsX(l.PicScrollWidth), toPixelsY(l.PicScrollHeight));
    m_vScroll->setGeometry(toPixelsX(l.VScrollLeft), 0, toPixelsX(ScrollLayout::BarThickness),
                           toPixelsY(l.VScrollHeight));
    m_hScroll->setGeometry(0, toPixelsY(l.HScrollTop), toPixelsX(l.HScrollWidth),
                           toPixelsY(ScrollLayout::BarThickness));
    applyBar(m_hScroll, l.HScroll);
    applyBar(m_vScroll, l.VScroll);
    const double zoom = m_form.Zoom();
    m_pattern->setZoom(zoom);
    m_pattern->setGeometry(toPixelsX(m_form.PatternLeft()), toPixelsY(m_form.PatternTop()),
                           toPixelsX(m_form.PatternWidth() * zoom), toPixelsY(m_form.PatternHeight() * zoom));
}

void WorkFormWidget::drawingChanged()
{
    m_pattern->drawingChanged();
}

float WorkFormWidget::innerWidthTwips() const
{
    return static_cast<float>(width() * m_twipsPerPixelX);
}

float WorkFormWidget::innerHeightTwips() const
{
    return static_cast<float>(height() * m_twipsPerPixelY);
}

void WorkFormWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_form.Resized(window()->isMinimized());
}

} // namespace orvane
