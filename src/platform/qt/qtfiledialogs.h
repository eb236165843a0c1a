#pragma once

#include "platform/commondialog.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QFileDialog;

namespace orvane {

// The shared dialog object's open and save dialogs as QFileDialog, honouring
// its Filter, FilterIndex, InitDir, FileName, DialogTitle and Flags.
class QtFileDialogs : public FileDialogBackend {
public:
    static constexpr const char *SaveTitle = "Save As Metafile";

    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParentWidget(QWidget *parent) { m_parent = parent; }

    DialogOutcome showOpen(CommonDialog &dialog) override;
    DialogOutcome showSave(CommonDialog &dialog) override;
    void processPendingEvents() override;

    enum Mode { Open, Save };
    static void configure(QFileDialog &fileDialog, const CommonDialog &dialog, Mode mode);
    // "Description|*.x;*.y|..." as Qt name filters: "Description (*.x *.y)".
    static QStringList nameFilters(const std::string &filter);
    // Copies the choice back: FileName and FilterIndex.
    static void takeChoice(const QFileDialog &fileDialog, CommonDialog &dialog);

private:
    DialogOutcome run(CommonDialog &dialog, Mode mode);

    QPointer<QWidget> m_parent;
};

} // namespace orvane
