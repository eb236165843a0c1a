#pragma once

#include "shell/messagebox.h"

#include <QMessageBox>
#include <QPointer>

namespace orvane {

// Message boxes as QMessageBox: one OK button, the icon the style number
// asks for, the title as given.
class QMessageBoxAdapter : public MessageBox {
public:
    explicit QMessageBoxAdapter(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParentWidget(QWidget *parent) { m_parent = parent; }

    int showMessage(const std::string &text, int style, const std::string &title) override;
    void beep() override;

    static QMessageBox::Icon iconFor(int style);
    // The core's "\r\n" line breaks as Qt shows them.
    static QString displayText(const std::string &text);

private:
    QPointer<QWidget> m_parent;
};

} // namespace orvane
