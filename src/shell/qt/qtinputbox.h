#pragma once

#include "shell/inputbox.h"

#include <QPointer>
#include <QWidget>

class QInputDialog;

namespace orvane {

// The input box as a QInputDialog with an empty text field; Cancel answers
// the empty text.
class QtInputBox : public InputBox {
public:
    explicit QtInputBox(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParentWidget(QWidget *parent) { m_parent = parent; }

    std::string inputBox(const std::string &prompt, const std::string &title) override;

    static void configure(QInputDialog &dialog, const std::string &prompt, const std::string &title);

private:
    QPointer<QWidget> m_parent;
};

} // namespace orvane
