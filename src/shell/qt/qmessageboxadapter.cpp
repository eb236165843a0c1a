#include "qmessageboxadapter.h"

#include <QApplication>

namespace orvane {

int QMessageBoxAdapter::showMessage(const std::string &text, int style, const std::string &title)
{
    QMessageBox box(iconFor(style), QString::fromStdString(title), displayText(text), QMessageBox::Ok, m_parent);
    box.exec();
    return 1; // OK, the only button
}

void QMessageBoxAdapter::beep()
{
    QApplication::beep();
}

QMessageBox::Icon QMessageBoxAdapter::iconFor(int style)
{
    // The icon sits in bits 4 to 6 of the style number.
    switch (style & 0x70) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case MessageExclamation:
        return QMessageBox::Warning;
    case MessageInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QString QMessageBoxAdapter::displayText(const std::string &text)
{
    return QString::fromStdString(unixLineBreaks(text));
}

} // namespace orvane
