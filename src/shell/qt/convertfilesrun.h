#pragma once

#include "export/exportformat.h"
#include "view/libprogress.h"
#include "shell/batch.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

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
    // returns its reason and starts nothing. Inputs whose output is one of
    // keep are skipped, leaving the file there as it is.
    std::optional<std::string> start(BatchOptions options, const QStringList &keep = {});
    bool running() const { return m_running; }
    // Stops after the file being converted, as Cancel does.
    void cancel() { m_stop = true; }

    // "input -> output (W x H pixels)", one per file written.
    const QStringList &written() const { return m_written; }
    // "input: why", one per failure, in the converter's one-line form.
    const QStringList &failures() const { return m_failures; }
    // Inputs never started because the run was cancelled.
    int notConverted() const { return m_notConverted; }
    // "input: output", one per input skipped because its output was kept.
    const QStringList &skipped() const { return m_skipped; }

    // Where the run writes input in format: the input's name with the
    // format's extension, in the target folder (as orvane-convert --out-dir).
    static QString outputFor(const QString &outDir, const QString &input, const ExportFormat &format);
    // What the run did, for the summary the window shows at the end.
    QString summary() const;

    ProgressForm *progressForm() const { return m_progressForm; }

signals:
    void started();
    void finished();

private:
    void work(BatchOptions options, const ExportFormat *format, std::vector<bool> skip);
    void fileStarted(int index, int total, const QString &name);
    void fileDone(const QString &written, const QString &failures, const QString &skipped);
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
    QStringList m_skipped;
    int m_notConverted = 0;
};

} // namespace orvane
