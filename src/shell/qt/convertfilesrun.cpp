#include "convertfilesrun.h"

#include "shell/qt/progressform.h"
#include "api/converter.h"

#include <QFile>
#include <QFileInfo>
#include <QPushButton>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace orvane {

namespace {

QStringList lines(const std::string &text)
{
    return QString::fromStdString(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

ConvertFilesRun::ConvertFilesRun(std::span<const ExportFormat> moreFormats, SettingsStore &settings,
                                 std::string pictureFolder, QWidget *mainWindow, double twipsPerPixelX,
                                 double twipsPerPixelY)
    : QObject(mainWindow),
      m_settings(settings),
      m_pictureFolder(std::move(pictureFolder)),
      m_progressForm(new ProgressForm(m_progress, mainWindow, twipsPerPixelX, twipsPerPixelY))
{
    m_formats.add(moreFormats);
    m_progress.setView(m_progressForm);
    connect(m_progressForm->CommandCancel(), &QPushButton::clicked, this, [this] { cancel(); });
}

ConvertFilesRun::~ConvertFilesRun()
{
    // The file being converted is finished; nothing after it starts.
    m_stop = true;
    if (m_worker.joinable())
        m_worker.join();
    m_progress.setView(nullptr);
    delete m_progressForm;
}

QString ConvertFilesRun::outputFor(const QString &outDir, const QString &input, const ExportFormat &format)
{
    // The rule of orvane-convert --out-dir, on the same path type.
    std::filesystem::path name = std::filesystem::path(QFile::encodeName(input).toStdString()).filename();
    name.replace_extension('.' + format.extension());
    return QFile::decodeName((std::filesystem::path(QFile::encodeName(outDir).toStdString()) / name).c_str());
}

std::optional<std::string> ConvertFilesRun::start(BatchOptions options, const QStringList &keep)
{
    if (m_running)
        return std::string("a conversion is running");
    const ExportFormat *format = nullptr;
    {
        Converter checker(m_formats, m_settings, {});
        if (auto why = checkBatchOptions(options, checker, format))
            return why;
    }
    std::vector<bool> skip;
    const QString outDir = QFile::decodeName(options.outDir.c_str());
    for (const std::string &input : options.inputs)
        skip.push_back(keep.contains(outputFor(outDir, QFile::decodeName(input.c_str()), *format)));
    if (m_worker.joinable())
        m_worker.join();
    m_stop = false;
    m_running = true;
    m_total = int(options.inputs.size());
    m_done = 0;
    m_written.clear();
    m_failures.clear();
    m_skipped.clear();
    m_notConverted = 0;
    m_progress.SetProgressEnabled(true);
    // LibProgress counts in 16 bits; a longer batch moves the bar in proportion.
    m_progress.StartProgress(0, std::int16_t(std::min(m_total, 32767)), "", true);
    m_worker = std::thread(&ConvertFilesRun::work, this, std::move(options), format, std::move(skip));
    emit started();
    return std::nullopt;
}

// On the worker thread: its own converter and batch; results reach the
// window through queued calls.
void ConvertFilesRun::work(BatchOptions options, const ExportFormat *format, std::vector<bool> skip)
{
    Converter converter(m_formats, m_settings, m_pictureFolder);
    std::ostringstream out, err;
    Batch batch(converter, out, err);
    batch.setProgramName("");
    const int total = int(options.inputs.size());
    int next = 0;
    const bool prepared = batch.prepare(options);
    if (prepared) {
        for (; next < total && !m_stop; ++next) {
            const std::string &input = options.inputs[std::size_t(next)];
            const QString name = QFileInfo(QFile::decodeName(input.c_str())).fileName();
            QMetaObject::invokeMethod(this, [this, next, total, name] { fileStarted(next, total, name); },
                                      Qt::QueuedConnection);
            QString skipped;
            if (skip[std::size_t(next)])
                skipped = QFile::decodeName(input.c_str()) + QStringLiteral(": ")
                          + outputFor(QFile::decodeName(options.outDir.c_str()), QFile::decodeName(input.c_str()),
                                      *format);
            else
                batch.convertOne(options, *format, input);
            const QString written = QString::fromStdString(out.str());
            const QString failures = QString::fromStdString(err.str());
            out.str({});
            err.str({});
            QMetaObject::invokeMethod(
                this, [this, written, failures, skipped] { fileDone(written, failures, skipped); },
                Qt::QueuedConnection);
        }
    } else {
        const QString failures = QString::fromStdString(err.str());
        QMetaObject::invokeMethod(this, [this, failures] { fileDone({}, failures, {}); }, Qt::QueuedConnection);
    }
    const int notConverted = total - next;
    QMetaObject::invokeMethod(this, [this, notConverted] { allDone(notConverted); }, Qt::QueuedConnection);
}

void ConvertFilesRun::fileStarted(int index, int total, const QString &name)
{
    m_progress.SetProgressHeader(QStringLiteral("%1 of %2: %3").arg(index + 1).arg(total).arg(name).toStdString());
}

void ConvertFilesRun::fileDone(const QString &written, const QString &failures, const QString &skipped)
{
    m_written << lines(written.toStdString());
    m_failures << lines(failures.toStdString());
    if (!skipped.isEmpty())
        m_skipped << skipped;
    const int before = int(std::int64_t(m_done) * std::int64_t(m_progress.maximum()) / std::max(m_total, 1));
    ++m_done;
    const int after = int(std::int64_t(m_done) * std::int64_t(m_progress.maximum()) / std::max(m_total, 1));
    m_progress.StepProgress(std::int16_t(after - before));
}

QString ConvertFilesRun::summary() const
{
    QString text = QStringLiteral("%1 written, %2 failed").arg(m_written.size()).arg(m_failures.size());
    if (!m_skipped.isEmpty())
        text += QStringLiteral(", %1 skipped as already there").arg(m_skipped.size());
    if (m_notConverted > 0)
        text += QStringLiteral(", %1 not converted after Cancel").arg(m_notConverted);
    text += QStringLiteral(".\n");
    if (!m_written.isEmpty())
        text += QStringLiteral("\nWritten:\n") + m_written.join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (!m_failures.isEmpty())
        text += QStringLiteral("\nFailed:\n") + m_failures.join(QLatin1Char('\n')) + QLatin1Char('\n');
    if (!m_skipped.isEmpty())
        text += QStringLiteral("\nKept as they were:\n") + m_skipped.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return text;
}

void ConvertFilesRun::allDone(int notConverted)
{
    if (m_worker.joinable())
        m_worker.join();
    m_notConverted = notConverted;
    m_progress.EndProgress();
    m_progress.SetProgressEnabled(false);
    m_running = false;
    emit finished();
}

} // namespace orvane
