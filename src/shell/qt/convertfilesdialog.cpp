#include "convertfilesdialog.h"

#include "export/exportformat.h"
#include "platform/qt/qtfiledialogs.h"

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
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

ConvertFilesDialog::ConvertFilesDialog(const FormatTable &formats, Starter starter, QtFileDialogs &fileDialogs,
                                       QWidget *parent)
    : QDialog(parent),
      m_starter(std::move(starter)),
      m_fileDialogs(fileDialogs),
      m_inputs(new QListWidget(this)),
      m_outDir(new QLineEdit(this)),
      m_format(new QComboBox(this)),
      m_width(new QLineEdit(this)),
      m_error(new QLabel(this))
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
    form->addRow(QStringLiteral("&Patterns:"), inputRow);
    form->addRow(QStringLiteral("&Target folder:"), outDirRow);
    form->addRow(QStringLiteral("For&mat:"), m_format);
    form->addRow(QStringLiteral("&Width in pixels:"), m_width);
    static_cast<QLabel *>(form->labelForField(inputRow))->setBuddy(m_inputs);
    static_cast<QLabel *>(form->labelForField(outDirRow))->setBuddy(m_outDir);

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
        const QStringList files = QFileInfo(path).isDir() ? patternsIn(path) : QStringList{path};
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

void ConvertFilesDialog::accept()
{
    const BatchOptions chosen = options();
    std::optional<std::string> why;
    if (chosen.inputs.empty())
        why = "Add the pattern files to convert.";
    else if (chosen.outDir.empty())
        why = "Choose the folder to write to.";
    else
        why = m_starter(chosen);
    if (why) {
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
    if (runDialog(dialog))
        addInputs(dialog.selectedFiles());
}

void ConvertFilesDialog::addFolder()
{
    QFileDialog dialog(this, QStringLiteral("Add a Folder of Patterns"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
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
