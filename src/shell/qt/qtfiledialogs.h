#pragma once

#include "shell/commondialog.h"

#include <QByteArray>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QWidget>

class QFileDialog;

namespace orvane {

class QtPreferences;

// The shared dialog object's open and save dialogs as QFileDialog, honouring
// its Filter, FilterIndex, InitDir, FileName, DialogTitle and Flags.
class QtFileDialogs : public FileDialogBackend {
public:
    static constexpr const char *SaveTitle = "Save As Metafile";

    explicit QtFileDialogs(QWidget *parent = nullptr) : m_parent(parent) {}

    void setParentWidget(QWidget *parent) { m_parent = parent; }
    // Where the dialogs' size and column widths are kept between runs;
    // without it only this object remembers them.
    void setPreferences(QtPreferences *preferences) { m_preferences = preferences; }

    // Sizes a file dialog as the user last left one, or else wide enough to
    // read every column of the detail view.
    void fit(QFileDialog &fileDialog) const;
    // Keeps the size and column widths of a dialog the user has closed.
    void remember(const QFileDialog &fileDialog);
    static constexpr QSize DefaultSize{860, 500};

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
    QtPreferences *m_preferences = nullptr;
    QSize m_size;
    QByteArray m_columns;
};

} // namespace orvane
