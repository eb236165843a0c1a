// The batch behind orvane-convert, in process: which format a run writes, where each output goes, and how
// failures are counted and named.

#include "fakes.h"
#include "patternwriter.h"

#include "export/exportformat.h"
#include "shell/batch.h"
#include "api/converter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace orvane;
using namespace orvane::testing;

namespace {

// A format only its extensions name, to tell inference from the default.
constexpr ExportFormat Text[] = {{"text", "txt text", "Text (*.txt)|*.txt", "text file", nullptr}};

struct BatchRun {
    TempDir dir;
    FakeSettingsStore store;
    FormatTable formats;
    Converter converter{formats, store, {}};
    std::ostringstream out;
    std::ostringstream err;
    Batch batch{converter, out, err};

    BatchRun() { formats.add(Text); }
    std::string pattern(const std::string &name) const
    {
        PatternWriter().header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 1440).integer(0).noPicture()
            .save(dir.file(name));
        return dir.file(name);
    }
};

} // namespace

TEST(BatchOptions, FormatFromTheOptionOrTheOutputsExtension)
{
    // --format, -o, the inputs, and the format's name or the usage error.
    const std::tuple<std::string, std::string, std::vector<std::string>, std::string> cases[] = {
        {"", "", {"a.pat"}, "wmf"},
        {"", "a.TEXT", {"a.pat"}, "text"},
        {"", "a.bin", {"a.pat"}, "wmf"},
        {"placeable", "a.wmf", {"a.pat"}, "placeable"},
        {"text", "a.wmf", {"a.pat"}, "--format text does not match the output name a.wmf"},
        {"emf", "", {"a.pat"}, "--format must be one of wmf|placeable|svg|pdf|text, not \"emf\""},
        {"", "a.wmf", {"a.pat", "b.pat"}, "-o takes exactly one input"},
        {"", "", {}, "no input file"},
    };
    for (const auto &[formatOption, output, inputs, expected] : cases) {
        SCOPED_TRACE(formatOption + " " + output);
        BatchRun run;
        BatchOptions options;
        options.format = formatOption;
        options.output = output;
        options.inputs = inputs;
        const ExportFormat *format = nullptr;

        const auto usage = checkBatchOptions(options, run.converter, format);

        EXPECT_EQ(usage.value_or(std::string(format ? format->name : "")), expected);
    }
}

TEST(Batch, EachInputBesideItselfOrInTheFolderAndFailuresCounted)
{
    BatchRun run;
    const std::string a = run.pattern("a.pat");
    const std::string b = run.pattern("b.v2.pat");
    const std::string missing = run.dir.file("gone.pat");
    BatchOptions options;
    options.inputs = {a, missing, b};
    options.outDir = run.dir.file("out");

    const int status = run.batch.run(options, run.formats.defaultFormat());

    EXPECT_EQ(status, 1);
    EXPECT_EQ(run.out.str(), a + " -> " + run.dir.file("out/a.wmf") + " (816 x 1056 pixels)\n" + b + " -> "
                                 + run.dir.file("out/b.v2.wmf") + " (816 x 1056 pixels)\n");
    EXPECT_EQ(run.err.str(), "orvane-convert: " + missing + ": The selected file was not found. File: " + missing
                                 + " Check that the above folder and file exist and are write enabled.\n");
}

// Stepping through the inputs one by one, as the window does, keeps the rule
// that nothing this Batch wrote is replaced by a later input.
TEST(Batch, StepByStepKeepsWhatItWrote)
{
    BatchRun run;
    const std::string a = run.pattern("a.pat");
    std::filesystem::create_directory(run.dir.file("other"));
    const std::string sameName = run.pattern("other/a.pat");
    BatchOptions options;
    options.inputs = {a, sameName};
    options.outDir = run.dir.file("made/here");
    const ExportFormat &format = run.formats.defaultFormat();

    const bool prepared = run.batch.prepare(options);
    const bool first = run.batch.convertOne(options, format, a);
    const bool second = run.batch.convertOne(options, format, sameName);

    EXPECT_EQ(prepared, true);
    EXPECT_EQ(first, true);
    EXPECT_EQ(second, false);
    EXPECT_NE(run.err.str().find("This run already wrote it from " + a), std::string::npos) << run.err.str();
}
