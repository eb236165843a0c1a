// The window with the largest pattern a file can hold (32767 lines and 32767
// shapes) under the offscreen platform: opening it up to the first complete
// paint of the surface, and the repaint after one scroll step.

#include "largestpattern.h"

#include "settings/settingsstore.h"
#include "shell/messagebox.h"
#include "shell/qt/mainwindow.h"
#include "shell/qt/picpanel.h"
#include "view/qt/patternsurface.h"
#include "view/qt/workformwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace orvane;

using bench::SilentMessages;

// Counts the surface's paint events; each has finished once the event loop
// returns.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct Session {
    QTemporaryDir folder;
    SilentMessages messages;
    EmptySettingsStore settings;
    std::string pattern;
    std::unique_ptr<MainWindow> window;
    PaintCounter counter;

    Session()
    {
        pattern = folder.filePath(QStringLiteral("largest.pat")).toStdString();
        bench::writeLargestPattern(pattern);

        window = std::make_unique<MainWindow>(
            Platform{messages, settings, nullptr, nullptr, 15, 15, folder.filePath("cache").toStdString()});
        window->show();
        window->workFormWidget()->Pattern()->installEventFilter(&counter);
        settle();
    }

    static void settle()
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 50)
            QCoreApplication::processEvents();
    }

    // Runs the event loop until the surface has painted once more.
    bool waitForPaint(int before) const
    {
        QElapsedTimer timer;
        timer.start();
        while (counter.paints == before) {
            if (timer.elapsed() > 5000)
                return false;
            QCoreApplication::processEvents();
        }
        return true;
    }

    void open()
    {
        const int before = counter.paints;
        if (window->mainForm().OpenPattern(pattern) != MainForm::Outcome::Done || !waitForPaint(before))
            throw std::runtime_error("open failed");
    }
};

void BM_OpenLargestToFirstPaint(benchmark::State &state)
{
    Session s;
    PatternSurface *surface = s.window->workFormWidget()->Pattern();
    for (auto _ : state) {
        state.PauseTiming();
        s.window->picPanel()->CommandReset()->click();
        s.settle();
        state.ResumeTiming();
        try {
            s.open();
        } catch (const std::exception &error) {
            state.SkipWithError(error.what());
            break;
        }
    }
    state.counters["painted"] = surface->lastPaintCount();
}
BENCHMARK(BM_OpenLargestToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_RepaintAfterScrollStep(benchmark::State &state)
{
    Session s;
    s.open();
    s.settle();
    QScrollBar *bar = s.window->workFormWidget()->VScroll1();
    PatternSurface *surface = s.window->workFormWidget()->Pattern();
    double painted = 0;
    for (auto _ : state) {
        if (bar->value() + bar->singleStep() > bar->maximum()) {
            state.PauseTiming();
            bar->setValue(0);
            s.settle();
            state.ResumeTiming();
        }
        const int before = s.counter.paints;
        bar->setValue(bar->value() + bar->singleStep());
        if (!s.waitForPaint(before)) {
            state.SkipWithError("no repaint");
            break;
        }
        painted += surface->lastPaintCount();
    }
    state.counters["painted"] = benchmark::Counter(painted, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RepaintAfterScrollStep)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
