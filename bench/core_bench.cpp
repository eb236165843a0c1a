// Load and save of the largest pattern a file can hold: 32767 lines and
// 32767 shapes.

#include "largestpattern.h"

#include "platform/settingsstore.h"
#include "export/libemf.h"
#include "shell/mainform.h"
#include "platform/messagebox.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

using namespace orvane;

using bench::SilentMessages;

struct Fixture {
    std::filesystem::path folder;
    std::string pattern;
    Fixture()
    {
        char name[] = "/tmp/orvane-bench-XXXXXX";
        folder = ::mkdtemp(name);
        pattern = (folder / "largest.pat").string();
        bench::writeLargestPattern(pattern);
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

struct Session {
    SilentMessages messages;
    EmptySettingsStore settings;
    MainForm form;
    explicit Session(const std::string &pictureFolder)
        : form(Platform{messages, settings, nullptr, nullptr, 15.0, 15.0, pictureFolder})
    {
        form.Load();
    }
};

// Opening the file as the window does, into a fresh window whose arrays have
// never held a pattern (the cold case of a first open).
void BM_LoadLargestPattern(benchmark::State &state)
{
    Fixture &f = fixture();
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<Session>((f.folder / "cache").string());
        state.ResumeTiming();
        if (s->form.OpenPattern(f.pattern) != MainForm::Outcome::Done)
            state.SkipWithError("load failed");
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadLargestPattern)->Unit(benchmark::kMillisecond);

// "Save As Metafile" of the loaded pattern: records, write, flush and rename.
void BM_SaveLargestPattern(benchmark::State &state)
{
    Fixture &f = fixture();
    Session s((f.folder / "cache").string());
    const std::string output = (f.folder / "largest.wmf").string();
    s.form.OpenPattern(f.pattern);
    for (auto _ : state) {
        if (s.form.SaveAs(output) != MainForm::Outcome::Done)
            state.SkipWithError("save failed");
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(output));
}
BENCHMARK(BM_SaveLargestPattern)->Unit(benchmark::kMillisecond);

// The metafile's records alone, without the file system.
void BM_BuildMetafile(benchmark::State &state)
{
    Fixture &f = fixture();
    Session s((f.folder / "cache").string());
    s.form.OpenPattern(f.pattern);
    const WorkForm &work = s.form.workForm();
    const ExportOptions options{{}, 816, 1056, work.PatternWidth(), work.PatternHeight(), nullptr};
    for (auto _ : state) {
        auto result = LibEMF::BuildMetafile(work.drawing(), options);
        benchmark::DoNotOptimize(result.bytes.data());
    }
}
BENCHMARK(BM_BuildMetafile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
