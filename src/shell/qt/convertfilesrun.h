#pragma once

#include "export/exportformat.h"
#include "platform/libprogress.h"
#include "shell/batch.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

class QWidget;

namespace orvane {

class ProgressForm;
class SettingsStore;

// Convert Files...: the batch of orvane-convert --out-dir on a worker thread,
// so the window keeps painting however large a pattern is, with the progress
// window showing "n of N" and the file's name. Cancel stops after the file
// being converted.
class ConvertFilesRun : public QObject {
    Q_OBJECT

public:
    ConvertFilesRun(std::span<const ExportFormat> moreFormats, SettingsStore &settings, std::string pictureFolder,
                    QWidget *mainWindow, double twipsPerPixelX, double twipsPerPixelY);
    ~ConvertFilesRun() override;

    // The formats on offer, as the save dialog lists them.
    const FormatTable &formats() const { return m_formats; }

    // Checks the options as orvane-convert does and starts; a usage error
    // returns its reason and starts nothing.
    std::optional<std::string> start(BatchOptions options);
    bool running() const { return m_running; }
    // Stops after the file being converted, as Cancel does.
    void cancel() { m_stop = true; }

    // "input -> output (W x H pixels)", one per file written.
    const QStringList &written() const { return m_written; }
    // "input: why", one per failure, in the converter's one-line form.
    const QStringList &failures() const { return m_failures; }
    // Inputs never started because the run was cancelled.
    int notConverted() const { return m_notConverted; }
    // What the run did, for the summary the window shows at the end.
    QString summary() const;

    ProgressForm *progressForm() const { return m_progressForm; }

signals:
    void finished();

private:
    void work(BatchOptions options, const ExportFormat *format);
    void fileStarted(int index, int total, const QString &name);
    void fileDone(const QString &written, const QString &failures);
    void allDone(int notConverted);

    FormatTable m_formats;
    SettingsStore &m_settings;
    std::string m_pictureFolder;
    LibProgress m_progress;
    ProgressForm *m_progressForm;
    std::thread m_worker;
    std::atomic<bool> m_stop{false};
    bool m_running = false;
    int m_total = 0;
    int m_done = 0;
    QStringList m_written;
    QStringList m_failures;
    int m_notConverted = 0;
};

} // namespace orvane
