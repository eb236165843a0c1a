#pragma once

#include "shell/batch.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QFileDialog;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace orvane {

class FormatTable;
class QtFileDialogs;

// What Convert Files... asks: the patterns (files, or every *.pat of a
// folder), the target folder, a format from the save dialog's list and an
// optional width. Convert hands the choice to the starter; a reason it
// refuses shows in the dialog, which stays open.
class ConvertFilesDialog : public QDialog {
    Q_OBJECT

public:
    using Starter = std::function<std::optional<std::string>(const BatchOptions &)>;

    ConvertFilesDialog(const FormatTable &formats, Starter starter, QtFileDialogs &fileDialogs,
                       QWidget *parent = nullptr);

    // Files are taken as they are; a folder adds its *.pat files by name.
    void addInputs(const QStringList &paths);
    BatchOptions options() const;

    // The *.pat files (any case) directly in folder, sorted by name.
    static QStringList patternsIn(const QString &folder);

    QListWidget *inputList() const { return m_inputs; }
    QLineEdit *outDirEdit() const { return m_outDir; }
    QComboBox *formatBox() const { return m_format; }
    QLineEdit *widthEdit() const { return m_width; }
    QLabel *errorLabel() const { return m_error; }
    QPushButton *convertButton() const { return m_convert; }

    void accept() override;

private:
    void addFiles();
    void addFolder();
    void chooseOutDir();
    // Runs a folder or file dialog at the size the user keeps for them.
    bool runDialog(QFileDialog &dialog);

    Starter m_starter;
    QtFileDialogs &m_fileDialogs;
    QListWidget *m_inputs;
    QLineEdit *m_outDir;
    QComboBox *m_format;
    QLineEdit *m_width;
    QLabel *m_error;
    QPushButton *m_convert;
};

} // namespace orvane
