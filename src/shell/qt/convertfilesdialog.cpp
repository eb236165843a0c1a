#include "convertfilesdialog.h"

#include "convertfilesrun.h"
#include "export/exportformat.h"
#include "export/patternsize.h"
#include "shell/qt/qtfiledialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace orvane {

namespace {

QLabel *fieldError(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color: #b00000"));
    label->hide();
    return label;
}

// A field with its problem below it.
QVBoxLayout *withError(QLayout *field, QLabel *error)
{
    auto *column = new QVBoxLayout;
    column->setSpacing(2);
    column->addLayout(field);
    column->addWidget(error);
    return column;
}

QHBoxLayout *row(QWidget *widget)
{
    auto *layout = new QHBoxLayout;
    layout->addWidget(widget, 1);
    return layout;
}

} // namespace

ConvertFilesChoices ConvertFilesChoices::read(QSettings &settings)
{
    settings.beginGroup(QStringLiteral("ConvertFiles"));
    ConvertFilesChoices choices{settings.value(QStringLiteral("FilesFolder")).toString(),
                                settings.value(QStringLiteral("TargetFolder")).toString(),
                                settings.value(QStringLiteral("Format")).toString(),
                                settings.value(QStringLiteral("Width")).toString()};
    settings.endGroup();
    return choices;
}

void ConvertFilesChoices::write(QSettings &settings) const
{
    settings.beginGroup(QStringLiteral("ConvertFiles"));
    settings.setValue(QStringLiteral("FilesFolder"), filesFolder);
    settings.setValue(QStringLiteral("TargetFolder"), outDir);
    settings.setValue(QStringLiteral("Format"), format);
    settings.setValue(QStringLiteral("Width"), width);
    settings.endGroup();
    settings.sync();
}

ConvertFilesDialog::ConvertFilesDialog(const FormatTable &formats, Starter starter, QtFileDialogs &fileDialogs,
                                       QWidget *parent)
    : QDialog(parent),
      m_formats(formats),
      m_starter(std::move(starter)),
      m_fileDialogs(fileDialogs),
      m_inputs(new QListWidget(this)),
      m_outDir(new QLineEdit(this)),
      m_format(new QComboBox(this)),
      m_width(new QLineEdit(this)),
      m_error(new QLabel(this)),
      m_inputsError(fieldError(QStringLiteral("InputsError"), this)),
      m_outDirError(fieldError(QStringLiteral("OutDirError"), this)),
      m_widthError(fieldError(QStringLiteral("WidthError"), this))
{
    setObjectName(QStringLiteral("ConvertFilesDialog"));
    setWindowTitle(QStringLiteral("Convert Files"));
    m_inputs->setObjectName(QStringLiteral("Inputs"));
    m_inputs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_outDir->setObjectName(QStringLiteral("OutDir"));
    m_format->setObjectName(QStringLiteral("Format"));
    m_width->setObjectName(QStringLiteral("Width"));
    m_width->setPlaceholderText(QStringLiteral("the page's own size"));
    m_error->setObjectName(QStringLiteral("Error"));
    m_error->setWordWrap(true);
    m_error->setStyleSheet(QStringLiteral("color: #b00000"));
    m_error->hide();

    // The save dialog's list, in its order: "Description (*.ext)".
    for (const ExportFormat *format : formats.rows()) {
        const QStringList filters = QtFileDialogs::nameFilters(std::string(format->filter));
        m_format->addItem(filters.value(0, QString::fromLatin1(format->name.data(), qsizetype(format->name.size()))), QString::fromLatin1(format->name.data(), qsizetype(format->name.size())));
    }

    auto *addFiles = new QPushButton(QStringLiteral("Add &Files…"), this);
    auto *addFolder = new QPushButton(QStringLiteral("Add F&older…"), this);
    auto *remove = new QPushButton(QStringLiteral("&Remove"), this);
    auto *browse = new QPushButton(QStringLiteral("&Browse…"), this);
    addFiles->setObjectName(QStringLiteral("AddFiles"));
    addFolder->setObjectName(QStringLiteral("AddFolder"));
    browse->setObjectName(QStringLiteral("Browse"));
    connect(addFiles, &QPushButton::clicked, this, &ConvertFilesDialog::addFiles);
    connect(addFolder, &QPushButton::clicked, this, &ConvertFilesDialog::addFolder);
    connect(remove, &QPushButton::clicked, this, [this] { qDeleteAll(m_inputs->selectedItems()); });
    connect(browse, &QPushButton::clicked, this, &ConvertFilesDialog::chooseOutDir);

    auto *inputButtons = new QVBoxLayout;
    inputButtons->addWidget(addFiles);
    inputButtons->addWidget(addFolder);
    inputButtons->addWidget(remove);
    inputButtons->addStretch();
    auto *inputRow = new QHBoxLayout;
    inputRow->addWidget(m_inputs, 1);
    inputRow->addLayout(inputButtons);
    auto *outDirRow = new QHBoxLayout;
    outDirRow->addWidget(m_outDir, 1);
    outDirRow->addWidget(browse);

    auto *form = new QFormLayout;
    QLayout *inputField = withError(inputRow, m_inputsError);
    QLayout *outDirField = withError(outDirRow, m_outDirError);
    form->addRow(QStringLiteral("&Patterns:"), inputField);
    form->addRow(QStringLiteral("&Target folder:"), outDirField);
    form->addRow(QStringLiteral("For&mat:"), m_format);
    QLayout *widthField = withError(row(m_width), m_widthError);
    form->addRow(QStringLiteral("&Width in pixels:"), widthField);
    static_cast<QLabel *>(form->labelForField(inputField))->setBuddy(m_inputs);
    static_cast<QLabel *>(form->labelForField(outDirField))->setBuddy(m_outDir);
    // A field that is a layout gets no buddy of its own: the labels' access keys would show as "&".
    auto *widthLabel = static_cast<QLabel *>(form->labelForField(widthField));
    widthLabel->setObjectName(QStringLiteral("WidthLabel"));
    widthLabel->setBuddy(m_width);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_convert = buttons->addButton(QStringLiteral("&Convert"), QDialogButtonBox::AcceptRole);
    m_convert->setObjectName(QStringLiteral("Convert"));
    m_convert->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_error);
    layout->addWidget(buttons);
    resize(640, 420);
}

QStringList ConvertFilesDialog::patternsIn(const QString &folder)
{
    QStringList files;
    const QFileInfoList entries =
        QDir(folder).entryInfoList({QStringLiteral("*.pat")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo &entry : entries)
        files << entry.filePath();
    return files;
}

void ConvertFilesDialog::addInputs(const QStringList &paths)
{
    for (const QString &path : paths) {
        const QFileInfo info(path);
        m_filesFolder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
        const QStringList files = info.isDir() ? patternsIn(path) : QStringList{path};
        for (const QString &file : files) {
            if (m_inputs->findItems(file, Qt::MatchExactly).isEmpty())
                m_inputs->addItem(file);
        }
    }
}

BatchOptions ConvertFilesDialog::options() const
{
    BatchOptions options;
    for (int i = 0; i < m_inputs->count(); ++i)
        options.inputs.push_back(QFile::encodeName(m_inputs->item(i)->text()).toStdString());
    options.outDir = QFile::encodeName(m_outDir->text().trimmed()).toStdString();
    options.format = m_format->currentData().toString().toStdString();
    if (!m_width->text().trimmed().isEmpty())
        options.width = m_width->text().trimmed().toStdString();
    return options;
}

ConvertFilesChoices ConvertFilesDialog::choices() const
{
    return {m_filesFolder, m_outDir->text().trimmed(), m_format->currentData().toString(), m_width->text().trimmed()};
}

void ConvertFilesDialog::setChoices(const ConvertFilesChoices &choices)
{
    m_filesFolder = choices.filesFolder;
    m_outDir->setText(choices.outDir);
    if (const int index = m_format->findData(choices.format); index >= 0)
        m_format->setCurrentIndex(index);
    m_width->setText(choices.width);
}

bool ConvertFilesDialog::checkFields()
{
    const BatchOptions chosen = options();
    const QFileInfo outDir(m_outDir->text().trimmed());
    const struct {
        QLabel *error;
        QWidget *field;
        QString problem;
    } fields[] = {
        {m_inputsError, m_inputs, chosen.inputs.empty() ? QStringLiteral("Add the pattern files to convert.") : QString()},
        {m_outDirError, m_outDir,
         chosen.outDir.empty()                   ? QStringLiteral("Choose the folder to write to.")
         : outDir.exists() && !outDir.isDir() ? QStringLiteral("This is a file, not a folder. Choose a folder.")
                                                 : QString()},
        // The width a pattern size accepts for some page: a number that rounds to more than 0.
        {m_widthError, m_width,
         chosen.width && ApplyPatternSize(*chosen.width, 1, 0).outcome != PatternSizeResult::Accepted
             ? QStringLiteral("Enter the width as a number of pixels above 0, or leave it empty for the page's own "
                              "size.")
             : QString()},
    };
    QWidget *first = nullptr;
    for (const auto &f : fields) {
        f.error->setText(f.problem);
        f.error->setVisible(!f.problem.isEmpty());
        if (!first && !f.problem.isEmpty())
            first = f.field;
    }
    m_error->hide();
    if (first)
        first->setFocus(Qt::OtherFocusReason);
    return !first;
}

std::optional<QStringList> ConvertFilesDialog::askAboutExisting(const BatchOptions &chosen)
{
    const ExportFormat *format = m_formats.find(chosen.format);
    if (!format)
        return QStringList();
    const QString outDir = QFile::decodeName(chosen.outDir.c_str());
    QStringList existing;
    for (const std::string &input : chosen.inputs) {
        const QString output = ConvertFilesRun::outputFor(outDir, QFile::decodeName(input.c_str()), *format);
        if (!existing.contains(output) && (QFileInfo::exists(output) || QFileInfo(output).isSymLink()))
            existing << output;
    }
    if (existing.isEmpty())
        return existing;
    constexpr int Listed = 10;
    QStringList names;
    for (const QString &output : existing.mid(0, Listed))
        names << QFileInfo(output).fileName();
    if (existing.size() > Listed)
        names << QStringLiteral("and %1 more").arg(existing.size() - Listed);
    // One pass over the placeholders, so that a folder's name holding "%1" stays as it is.
    const QString folder = QDir::toNativeSeparators(outDir);
    const QString head = existing.size() == 1
        ? QStringLiteral("1 file this run would write is already in %1:").arg(folder)
        : QStringLiteral("%1 files this run would write are already in %2:").arg(QString::number(existing.size()), folder);
    QMessageBox box(QMessageBox::Question, windowTitle(),
                    head
                        + QStringLiteral("\n\n%1\n\nReplace them, or keep them and convert only the other patterns?")
                              .arg(names.join(QLatin1Char('\n'))),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("ReplaceQuestion"));
    QPushButton *replace = box.addButton(QStringLiteral("&Replace All"), QMessageBox::AcceptRole);
    QPushButton *skip = box.addButton(QStringLiteral("&Skip Existing"), QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(QMessageBox::Cancel);
    replace->setObjectName(QStringLiteral("ReplaceAll"));
    skip->setObjectName(QStringLiteral("SkipExisting"));
    cancel->setObjectName(QStringLiteral("Cancel"));
    box.setDefaultButton(skip);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == replace)
        return QStringList();
    if (box.clickedButton() == skip)
        return existing;
    return std::nullopt;
}

void ConvertFilesDialog::accept()
{
    if (!checkFields())
        return;
    const BatchOptions chosen = options();
    const std::optional<QStringList> keep = askAboutExisting(chosen);
    if (!keep)
        return;
    if (const std::optional<std::string> why = m_starter(chosen, *keep)) {
        m_error->setText(QString::fromStdString(*why));
        m_error->show();
        return;
    }
    QDialog::accept();
}

bool ConvertFilesDialog::runDialog(QFileDialog &dialog)
{
    m_fileDialogs.fit(dialog);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    m_fileDialogs.remember(dialog);
    return accepted;
}

void ConvertFilesDialog::addFiles()
{
    QFileDialog dialog(this, QStringLiteral("Add Pattern Files"));
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilter(QStringLiteral("Pattern File (*.pat)"));
    if (!m_filesFolder.isEmpty())
        dialog.setDirectory(m_filesFolder);
    if (runDialog(dialog))
        addInputs(dialog.selectedFiles());
}

void ConvertFilesDialog::addFolder()
{
    QFileDialog dialog(this, QStringLiteral("Add a Folder of Patterns"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!m_filesFolder.isEmpty())
        dialog.setDirectory(m_filesFolder);
    if (runDialog(dialog))
        addInputs(dialog.selectedFiles());
}

void ConvertFilesDialog::chooseOutDir()
{
    QFileDialog dialog(this, QStringLiteral("Target Folder"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!m_outDir->text().isEmpty())
        dialog.setDirectory(m_outDir->text());
    if (runDialog(dialog) && !dialog.selectedFiles().isEmpty())
        m_outDir->setText(dialog.selectedFiles().first());
}

} // namespace orvane
