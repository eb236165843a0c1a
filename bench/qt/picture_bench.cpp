// The largest pattern (32767 lines and 32767 shapes) opened and saved as each
// picture format, as orvane-convert --format does after it has started.

#include "largestpattern.h"

#include "export/exportformat.h"
#include "export/qt/pictureencoders.h"
#include "shell/messagebox.h"
#include "settings/settingsstore.h"
#include "shell/mainform.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace orvane;

using bench::SilentMessages;

void BM_ConvertLargestTo(benchmark::State &state, const char *name)
{
    char folderName[] = "/tmp/orvane-bench-XXXXXX";
    const std::filesystem::path folder = ::mkdtemp(folderName);
    const std::string pattern = (folder / "largest.pat").string();
    bench::writeLargestPattern(pattern);
    FormatTable formats;
    formats.add(pictureModule().formats);
    const ExportFormat *format = formats.find(name);
    const std::string output = (folder / "largest.").string() + format->extension();
    for (auto _ : state) {
        SilentMessages messages;
        EmptySettingsStore settings;
        Platform platform{messages, settings, nullptr, nullptr, 15.0, 15.0, (folder / "cache").string()};
        platform.moreFormats = pictureModule().formats;
        MainForm form(platform);
        form.Load();
        if (form.OpenPattern(pattern) != MainForm::Outcome::Done || form.SaveAs(output, format) != MainForm::Outcome::Done)
            state.SkipWithError("conversion failed");
    }
    state.counters["bytes"] = double(std::filesystem::file_size(output));
    std::filesystem::remove_all(folder);
}
BENCHMARK_CAPTURE(BM_ConvertLargestTo, wmf, "wmf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ConvertLargestTo, svg, "svg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ConvertLargestTo, pdf, "pdf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ConvertLargestTo, png, "png")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
