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
class QSettings;

namespace orvane {

class FormatTable;
class QtFileDialogs;

// What the dialog remembers of its last run, in the window's own file.
struct ConvertFilesChoices {
    QString filesFolder; // where the last patterns came from
    QString outDir;
    QString format; // a format's name
    QString width;

    static ConvertFilesChoices read(QSettings &settings);
    void write(QSettings &settings) const;
};

// What Convert Files... asks: the patterns (files, or every *.pat of a
// folder), the target folder, a format from the save dialog's list and an
// optional width. Convert checks every field at once, asks before any file
// already in the target folder is replaced, and hands the choice to the
// starter, with the outputs to keep as they are; a reason it refuses shows
// in the dialog, which stays open.
class ConvertFilesDialog : public QDialog {
    Q_OBJECT

public:
    using Starter = std::function<std::optional<std::string>(const BatchOptions &, const QStringList &keep)>;

    ConvertFilesDialog(const FormatTable &formats, Starter starter, QtFileDialogs &fileDialogs,
                       QWidget *parent = nullptr);

    // Files are taken as they are; a folder adds its *.pat files by name.
    void addInputs(const QStringList &paths);
    BatchOptions options() const;

    ConvertFilesChoices choices() const;
    void setChoices(const ConvertFilesChoices &choices);

    // The *.pat files (any case) directly in folder, sorted by name.
    static QStringList patternsIn(const QString &folder);

    QListWidget *inputList() const { return m_inputs; }
    QLineEdit *outDirEdit() const { return m_outDir; }
    QComboBox *formatBox() const { return m_format; }
    QLineEdit *widthEdit() const { return m_width; }
    QLabel *errorLabel() const { return m_error; }
    QLabel *inputsError() const { return m_inputsError; }
    QLabel *outDirError() const { return m_outDirError; }
    QLabel *widthError() const { return m_widthError; }
    QPushButton *convertButton() const { return m_convert; }

    void accept() override;

private:
    // Shows each field's problem beside it and puts the focus on the first;
    // false when there is any.
    bool checkFields();
    // The outputs already there that the user keeps; nullopt when the user
    // cancels.
    std::optional<QStringList> askAboutExisting(const BatchOptions &chosen);
    void addFiles();
    void addFolder();
    void chooseOutDir();
    // Runs a folder or file dialog at the size the user keeps for them.
    bool runDialog(QFileDialog &dialog);

    const FormatTable &m_formats;
    Starter m_starter;
    QtFileDialogs &m_fileDialogs;
    QString m_filesFolder;
    QListWidget *m_inputs;
    QLineEdit *m_outDir;
    QComboBox *m_format;
    QLineEdit *m_width;
    QLabel *m_error;
    QLabel *m_inputsError;
    QLabel *m_outDirError;
    QLabel *m_widthError;
    QPushButton *m_convert;
};

} // namespace orvane
