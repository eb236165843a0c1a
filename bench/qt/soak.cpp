// A long batch in one process: COUNT conversions of the examples in every
// format, with the rate and the peak memory after 100, 1,000 and 10,000
// files. Each format runs in a process of its own, so each peak is its own.
//   orvane_soak EXAMPLES_DIR [COUNT [FORMAT...]]

#include "export/exportformat.h"
#include "export/qt/pictureencoders.h"
#include "os/fileio.h"
#include "settings/settingsstore.h"
#include "api/converter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace orvane;

long peakKilobytes()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void soak(const char *name, const std::vector<FileBytes> &patterns, long count)
{
    EmptySettingsStore settings;
    FormatTable formats;
    formats.add(pictureModule().formats);
    const ExportFormat *format = formats.find(name);
    Converter converter(formats, settings, {});
    const auto start = std::chrono::steady_clock::now();
    for (long n = 1; n <= count; ++n) {
        const ConversionResult loaded =
            converter.load(patterns[std::size_t(n) % patterns.size()], Converter::PictureStep::Skip);
        const ConversionResult done = converter.encode(loaded, *format, {}, "soak");
        if (!done.ok()) {
            std::fprintf(stderr, "%s: conversion %ld failed\n", name, n);
            std::exit(1);
        }
        if (n == 100 || n == 1000 || n == 10000 || n == count) {
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            std::printf("| %s | %ld | %.0f | %.1f |\n", name, n, double(n) / seconds, double(peakKilobytes()) / 1024);
            std::fflush(stdout);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    const long count = argc > 2 ? std::atol(argv[2]) : 10000;
    std::vector<FileBytes> patterns;
    for (const auto &entry : std::filesystem::directory_iterator(argv[1])) {
        std::string error;
        if (entry.path().extension() == ".pat" && ReadFileBytes(entry.path().string(), 1 << 26, patterns.emplace_back(), error))
            continue;
        if (entry.path().extension() == ".pat")
            patterns.pop_back();
    }
    std::printf("| format | files | files/s | peak MiB |\n|---|---|---|---|\n");
    std::fflush(stdout);
    std::vector<const char *> names = {"wmf", "placeable", "svg", "pdf", "png"};
    if (argc > 3)
        names.assign(argv + 3, argv + argc);
    for (const char *name : names) {
        const pid_t child = ::fork();
        if (child == 0) {
            soak(name, patterns, count);
            std::_Exit(0);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return 1;
    }
    return 0;
}
