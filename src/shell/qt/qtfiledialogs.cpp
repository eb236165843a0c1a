#include "qtfiledialogs.h"

#include "text/qt/qtconvert.h"
#include "settings/qt/qtpreferences.h"

#include <QCoreApplication>
#include <QFile>
#include <QDateTime>
#include <QFileDialog>
#include <QHeaderView>
#include <QLocale>
#include <QMimeDatabase>
#include <QTreeView>

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
    fit(fileDialog);
    const int result = fileDialog.exec();
    remember(fileDialog);
    if (result != QDialog::Accepted)
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

namespace {

QHeaderView *detailHeader(const QFileDialog &fileDialog)
{
    const auto *view = fileDialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    return view ? view->header() : nullptr;
}

} // namespace

void QtFileDialogs::fit(QFileDialog &fileDialog) const
{
    const QSize size = m_preferences ? m_preferences->fileDialogSize() : m_size;
    const QByteArray columns = m_preferences ? m_preferences->fileDialogColumns() : m_columns;
    fileDialog.resize(size.isValid() ? size : DefaultSize);
    QHeaderView *header = detailHeader(fileDialog);
    if (!header)
        return;
    if (!columns.isEmpty() && header->restoreState(columns))
        return;
    // Size, type and date wide enough for their longest usual text; the name
    // takes what is left. Qt's own widths cut "196 bytes" and the type.
    const QFontMetrics metrics(header->font());
    const int padding = 2 * metrics.averageCharWidth() + 16;
    const QString type = QMimeDatabase().mimeTypeForName(QStringLiteral("application/x-veltrum-pattern")).comment();
    const QString widest[] = {QStringLiteral("1023.9 KiB"),
                              type.size() > 20 ? type : QStringLiteral("Veltrum pattern file"),
                              QLocale().toString(QDateTime(QDate(2026, 12, 28), QTime(23, 59)), QLocale::ShortFormat)};
    for (int column = 1; column <= 3 && column < header->count(); ++column)
        header->resizeSection(column, metrics.horizontalAdvance(widest[column - 1]) + padding);
}

void QtFileDialogs::remember(const QFileDialog &fileDialog)
{
    const QHeaderView *header = detailHeader(fileDialog);
    const QByteArray columns = header ? header->saveState() : QByteArray();
    if (m_preferences) {
        m_preferences->setFileDialogSize(fileDialog.size());
        if (!columns.isEmpty())
            m_preferences->setFileDialogColumns(columns);
        return;
    }
    m_size = fileDialog.size();
    if (!columns.isEmpty())
        m_columns = columns;
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
