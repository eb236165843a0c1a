// Load and save of the largest pattern a file can hold: 32767 lines and
// 32767 shapes.

#include "largestpattern.h"

#include "orvane/orvane.h"

#include "export/exportformat.h"
#include "os/fileio.h"
#include "settings/settingsstore.h"
#include "shell/batch.h"
#include "api/converter.h"
#include "shell/mainform.h"
#include "shell/messagebox.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
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

FileBytes largestBytes()
{
    FileBytes bytes;
    std::string error;
    if (!ReadFileBytes(fixture().pattern, std::size_t(1) << 26, bytes, error))
        std::abort();
    return bytes;
}

// The library's half of a conversion: bytes to a Pattern.
void BM_LibraryLoad(benchmark::State &state)
{
    const FileBytes bytes = largestBytes();
    EmptySettingsStore settings;
    const FormatTable formats;
    Converter converter(formats, settings, {});
    for (auto _ : state) {
        const ConversionResult loaded = converter.load(bytes, Converter::PictureStep::Skip);
        if (!loaded.ok())
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LibraryLoad)->Unit(benchmark::kMillisecond);

// The other half: the scene and a format's bytes, without the file system.
void BM_LibraryEncodeAs(benchmark::State &state, const char *name)
{
    const FileBytes bytes = largestBytes();
    EmptySettingsStore settings;
    const FormatTable formats;
    Converter converter(formats, settings, {});
    const ConversionResult loaded = converter.load(bytes, Converter::PictureStep::Skip);
    for (auto _ : state) {
        const ConversionResult done = converter.encode(loaded, *formats.find(name), {}, "largest");
        benchmark::DoNotOptimize(done.bytes.data());
    }
}

// The metafile's figure, under the name its target is given by.
void BM_LibraryEncodeWmf(benchmark::State &state)
{
    BM_LibraryEncodeAs(state, "wmf");
}
BENCHMARK(BM_LibraryEncodeWmf)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(BM_LibraryEncodeAs, svg, "svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LibraryEncodeAs, pdf, "pdf")->Unit(benchmark::kMillisecond);

// Both through the public interface, as an embedding program calls it.
void BM_LibraryConvert(benchmark::State &state)
{
    const FileBytes bytes = largestBytes();
    for (auto _ : state) {
        const ConversionResult done = orvane::convert(bytes);
        benchmark::DoNotOptimize(done.bytes.data());
    }
}
BENCHMARK(BM_LibraryConvert)->Unit(benchmark::kMillisecond);

// One batch over 1,400 small files into one folder, each saved safely (the
// fsync of each save bounds it); reported as files per second.
void BM_BatchOfSmallFiles(benchmark::State &state)
{
    Fixture &f = fixture();
    const std::filesystem::path examples = std::filesystem::path(ORVANE_EXAMPLES);
    const std::filesystem::path in = f.folder / "batch-in";
    std::filesystem::create_directories(in);
    BatchOptions options;
    options.quiet = true;
    options.outDir = (f.folder / "batch-out").string();
    for (int copy = 0; options.inputs.size() < 1400; ++copy) {
        for (const auto &entry : std::filesystem::directory_iterator(examples)) {
            if (entry.path().extension() != ".pat" || options.inputs.size() == 1400)
                continue;
            const auto name = in / (entry.path().stem().string() + "-" + std::to_string(copy) + ".pat");
            std::filesystem::copy_file(entry.path(), name, std::filesystem::copy_options::overwrite_existing);
            options.inputs.push_back(name.string());
        }
    }
    EmptySettingsStore settings;
    const FormatTable formats;
    for (auto _ : state) {
        Converter converter(formats, settings, (f.folder / "cache").string());
        std::ostringstream out, err;
        Batch batch(converter, out, err);
        if (batch.run(options, formats.defaultFormat()) != 0)
            state.SkipWithError(err.str().c_str());
    }
    state.counters["files/s"] = benchmark::Counter(double(options.inputs.size()) * double(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BatchOfSmallFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
