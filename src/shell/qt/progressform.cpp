#include "progressform.h"

#include "view/libprogress.h"
#include "view/qt/twips.h"

#include <QCoreApplication>
#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <cmath>

namespace orvane {

ProgressForm::ProgressForm(LibProgress &progress, QWidget *mainWindow, double twipsPerPixelX, double twipsPerPixelY)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint),
      m_progress(progress),
      m_mainWindow(mainWindow),
      m_twipsPerPixelX(twipsPerPixelX),
      m_twipsPerPixelY(twipsPerPixelY),
      m_header(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    setObjectName(QStringLiteral("ProgressForm"));
    m_header->setObjectName(QStringLiteral("HeaderText"));
    m_bar->setObjectName(QStringLiteral("Bar"));
    m_cancel->setObjectName(QStringLiteral("CommandCancel"));

    QFont bold(QStringLiteral("Sans Serif"), 12, QFont::Bold);
    bold.setStyleHint(QFont::SansSerif);
    m_header->setFont(bold);
    m_bar->setTextVisible(false);
    m_header->setGeometry(toPixelsX(120), toPixelsY(60), toPixelsX(6045), toPixelsY(405));
    m_bar->setGeometry(toPixelsX(90), toPixelsY(540), toPixelsX(6105), toPixelsY(375));
    m_cancel->setGeometry(toPixelsX(2640), toPixelsY(LibProgress::CancelTopTwips), toPixelsX(1035),
                          toPixelsY(LibProgress::CancelHeightTwips));

    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_cancel->setEnabled(false);
        m_progress.CancelClicked();
    });
    loadDesign();
}

void ProgressForm::loadDesign()
{
    m_header->setText(QStringLiteral("Label1"));
    m_cancel->setEnabled(true);
    m_cancel->setVisible(true);
    resize(toPixelsX(DesignWidthTwips), toPixelsY(DesignHeightTwips));
}

void ProgressForm::showWindow()
{
    if (!m_loaded) {
        loadDesign();
        CenterProgressForm();
        m_loaded = true;
    }
    show();
    raise();
}

void ProgressForm::CenterProgressForm()
{
    // Outer sizes and positions in twips, single precision, as the window
    // has always been placed: centred on its design size.
    const QRect main = m_mainWindow->frameGeometry();
    const float mainLeft = float(main.x() * m_twipsPerPixelX);
    const float mainTop = float(main.y() * m_twipsPerPixelY);
    const float mainWidth = float(main.width() * m_twipsPerPixelX);
    const float mainHeight = float(main.height() * m_twipsPerPixelY);
    const float formWidth = float(width() * m_twipsPerPixelX);
    const float formHeight = float(height() * m_twipsPerPixelY);
    const float left = (mainWidth - formWidth) / 2 + mainLeft;
    const float top = (mainHeight - formHeight) / 2 + mainTop;
    move(toPixelsX(left), toPixelsY(top));
}

void ProgressForm::setCancelVisible(bool visible)
{
    m_cancel->setVisible(visible);
    const float height = visible ? LibProgress::CancelTopTwips + LibProgress::CancelHeightTwips + 200
                                 : LibProgress::CancelTopTwips;
    resize(width(), toPixelsY(height));
}

void ProgressForm::setHeader(const std::string &header)
{
    m_header->setText(QString::fromStdString(header));
}

void ProgressForm::setBar(float minimum, float maximum, float value)
{
    // The new range may lie below the old value; the value follows at once.
    m_bar->setRange(int(std::lround(minimum)), int(std::lround(maximum)));
    m_bar->setValue(int(std::lround(value)));
}

void ProgressForm::processPendingEvents()
{
    QCoreApplication::processEvents();
}

void ProgressForm::closeWindow()
{
    m_loaded = false;
    hide();
}

} // namespace orvane
