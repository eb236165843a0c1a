#include "qtfiledialogs.h"

#include "qtconvert.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>

namespace orvane {

DialogOutcome QtFileDialogs::showOpen(CommonDialog &dialog)
{
    return run(dialog, Open);
}

DialogOutcome QtFileDialogs::showSave(CommonDialog &dialog)
{
    return run(dialog, Save);
}

void QtFileDialogs::processPendingEvents()
{
    QCoreApplication::processEvents();
}

DialogOutcome QtFileDialogs::run(CommonDialog &dialog, Mode mode)
{
    QFileDialog fileDialog(m_parent);
    configure(fileDialog, dialog, mode);
    if (fileDialog.exec() != QDialog::Accepted)
        return DialogOutcome::Cancelled;
    takeChoice(fileDialog, dialog);
    return dialog.FileName.empty() ? DialogOutcome::Failed : DialogOutcome::Accepted;
}

void QtFileDialogs::configure(QFileDialog &fileDialog, const CommonDialog &dialog, Mode mode)
{
    if (mode == Save) {
        fileDialog.setWindowTitle(QString::fromLatin1(SaveTitle));
        fileDialog.setAcceptMode(QFileDialog::AcceptSave);
        fileDialog.setFileMode(QFileDialog::AnyFile);
        fileDialog.setOption(QFileDialog::DontConfirmOverwrite, !(dialog.Flags & CommonDialog::OverwritePrompt));
    } else {
        fileDialog.setWindowTitle(fromNative(dialog.DialogTitle));
        fileDialog.setAcceptMode(QFileDialog::AcceptOpen);
        fileDialog.setFileMode(dialog.Flags & CommonDialog::FileMustExist ? QFileDialog::ExistingFile
                                                                         : QFileDialog::AnyFile);
    }
    const QStringList filters = nameFilters(dialog.Filter);
    if (!filters.isEmpty()) {
        fileDialog.setNameFilters(filters);
        const int index = dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size() ? dialog.FilterIndex : 1;
        fileDialog.selectNameFilter(filters.at(index - 1));
    }
    if (mode == Save && filters.size() > 1) {
        // A later filter's extension is added to a name without one; the
        // dialog must know it too, so that it asks before replacing that file.
        // The first filter keeps the name as typed.
        const auto followFilter = [&fileDialog, filters](const QString &chosen) {
            const qsizetype index = filters.indexOf(chosen);
            const QString pattern = chosen.section(QLatin1Char('('), -1).section(QLatin1Char(' '), 0, 0);
            fileDialog.setDefaultSuffix(index > 0 && pattern.startsWith(QLatin1String("*."))
                                            ? pattern.mid(2).remove(QLatin1Char(')'))
                                            : QString());
        };
        QObject::connect(&fileDialog, &QFileDialog::filterSelected, &fileDialog, followFilter);
        followFilter(fileDialog.selectedNameFilter());
    }
    if (!dialog.InitDir.empty())
        fileDialog.setDirectory(fromNative(dialog.InitDir));
    if (!dialog.FileName.empty())
        fileDialog.selectFile(fromNative(dialog.FileName));
}

QStringList QtFileDialogs::nameFilters(const std::string &filter)
{
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        // Qt reads the patterns from the parentheses at the end of the text,
        // so they are added unless the description already ends with them.
        const QString suffix = QLatin1Char('(') + patterns + QLatin1Char(')');
        if (description.isEmpty())
            filters << suffix;
        else
            filters << (description.endsWith(suffix) ? description : description + QLatin1Char(' ') + suffix);
    }
    return filters;
}

void QtFileDialogs::takeChoice(const QFileDialog &fileDialog, CommonDialog &dialog)
{
    const QStringList files = fileDialog.selectedFiles();
    dialog.FileName = files.isEmpty() ? std::string() : QFile::encodeName(files.first()).toStdString();
    const QStringList filters = fileDialog.nameFilters();
    const qsizetype chosen = filters.indexOf(fileDialog.selectedNameFilter());
    if (chosen >= 0)
        dialog.FilterIndex = int(chosen) + 1;
}

} // namespace orvane
