#include "qtinputbox.h"

#include "shell/libid.h"
#include "qmessageboxadapter.h"

#include <QInputDialog>

namespace orvane {

std::string QtInputBox::inputBox(const std::string &prompt, const std::string &title)
{
    QInputDialog dialog(m_parent);
    configure(dialog, prompt, title);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue().toStdString();
}

void QtInputBox::configure(QInputDialog &dialog, const std::string &prompt, const std::string &title)
{
    // Without a title of its own the box shows the application's.
    dialog.setWindowTitle(QString::fromStdString(title.empty() ? LibId::ApplicationTitle() : title));
    dialog.setLabelText(QMessageBoxAdapter::displayText(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextValue(QString());
}

} // namespace orvane
