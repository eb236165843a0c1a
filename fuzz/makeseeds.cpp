// Writes the malformed seeds of the loader fuzzer's corpus, each one a small
// pattern file that takes a failure or boundary path of the loader or the
// writer. Run: orvane-make-fuzz-seeds fuzz/corpus

#include "patternwriter.h"

#include <cstdint>
#include <iostream>
#include <limits>
#include <string>

using orvane::testing::PatternWriter;

namespace {

std::string folder;
bool allSaved = true;

void save(const std::string &name, const PatternWriter &w)
{
    const std::string path = folder + "/" + name + ".pat";
    if (!w.save(path)) {
        std::cerr << "cannot write " << path << "\n";
        allSaved = false;
    }
}

void saveCut(const std::string &name, const PatternWriter &w, std::size_t length)
{
    PatternWriter cut;
    const auto &bytes = w.bytes();
    cut.raw(std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(length, bytes.size()))));
    save(name, cut);
}

PatternWriter v21(const PatternWriter::Page &page = {})
{
    PatternWriter w;
    w.header(2, 1, 0).settings21(page);
    return w;
}

// A 2.1 file with one line and one shape, then the given picture block.
PatternWriter withPicture(std::int16_t flag, float length, const std::string &bytes)
{
    PatternWriter w = v21();
    w.integer(1).line(1440, 1440, 2880, 1440);
    w.integer(1).shape(2, 720, 720, 1440, 720);
    w.integer(flag).single(length).raw(bytes);
    return w;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: orvane-make-fuzz-seeds FOLDER\n";
        return 2;
    }
    folder = argv[1];
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();

    // Every cut of a small complete file that has a picture.
    {
        PatternWriter w = withPicture(1, 40, std::string(40, 'p'));
        for (std::size_t cut : {1u, 3u, 12u, 20u, 40u, 64u, 66u, 70u, 90u, 92u, 108u, 112u, 130u})
            saveCut("truncated-v2.1-at-" + std::to_string(cut), w, cut);
    }
    {
        PatternWriter w;
        w.header(1, 6, 2).settings15({}, true).integer(1).line(0, 0, 100, 100).integer(0).noPicture();
        for (std::size_t cut : {30u, 80u, 100u, 126u, 130u})
            saveCut("truncated-v1.6.2-at-" + std::to_string(cut), w, cut);
    }

    // Versions outside the rules.
    const std::int16_t versions[][2] = {{1, 0}, {1, 7}, {2, 0}, {2, 2}, {3, 1}, {0, 0}, {-1, -1}, {1, -32768}};
    for (const auto &v : versions) {
        PatternWriter w;
        w.header(v[0], v[1], 0).settings11({}).integer(0).integer(0).noPicture();
        save("bad-version-" + std::to_string(v[0]) + "." + std::to_string(v[1]), w);
    }

    // minor * 100 + sub beyond the 16-bit range, and just inside it.
    {
        PatternWriter w;
        w.header(1, 5, 32767).settings15({}, true).integer(0).integer(0).noPicture();
        save("version-code-overflow-v1.5", w);
    }
    {
        PatternWriter w;
        w.header(2, 1, 32668).settings21({}).integer(0).integer(0).noPicture();
        save("version-code-overflow-v2.1", w);
    }
    {
        PatternWriter w;
        w.header(2, 1, 32667).settings21({}).integer(0).integer(0).noPicture();
        save("version-code-largest-v2.1", w);
    }
    {
        PatternWriter w;
        w.header(1, 6, -32768).settings15({}, false).integer(0).integer(0).noPicture();
        save("version-code-negative-v1.6", w);
    }

    // Record counts.
    {
        PatternWriter w = v21();
        w.integer(-32768).integer(0).noPicture();
        save("line-count-minus-32768", w);
    }
    {
        PatternWriter w = v21();
        w.integer(0).integer(-32768).noPicture();
        save("shape-count-minus-32768", w);
    }
    {
        PatternWriter w = v21();
        w.integer(-1).integer(-32767).noPicture();
        save("counts-negative", w);
    }
    {
        // Every record past the end of the file: 32767 zero lines and shapes.
        PatternWriter w = v21();
        w.integer(32767);
        save("line-count-32767-file-ends", w);
    }
    {
        PatternWriter w = v21();
        w.integer(0).integer(32767);
        save("shape-count-32767-file-ends", w);
    }

    // Negative text lengths, in each place a text can stand.
    {
        PatternWriter w;
        w.integer(-1).raw("xx").integer(2).integer(1).integer(0).text("");
        save("negative-text-header-first", w);
    }
    {
        PatternWriter w;
        w.text("Veltrum Pattern Maker").integer(2).integer(1).integer(0).integer(-32768);
        save("negative-text-header-second", w);
    }
    {
        PatternWriter::Page page;
        PatternWriter w;
        w.header(2, 1, 0);
        w.single(page.marginTop).single(page.marginBottom).single(page.marginLeft).single(page.marginRight);
        w.single(page.defWidth).single(page.defHeight).single(page.penSizeValue).longValue(0).boolean(false);
        w.integer(-4).raw("1/32");
        save("negative-text-pen-v2.1", w);
    }
    {
        PatternWriter w;
        w.header(1, 5, 0).zeros(6 + 16 + 16 + 8 + 16 + 8).single(0.03f).longValue(0).integer(0).integer(0);
        w.integer(-2);
        save("negative-text-pen-v1.5", w);
    }

    // Picture lengths.
    save("picture-length-33554432", withPicture(1, 33554432.0f, std::string(64, 'p')));
    save("picture-length-33553408", withPicture(1, 33553408.0f, std::string(64, 'p')));
    save("picture-length-huge", withPicture(1, 1e30f, "p"));
    save("picture-length-infinite", withPicture(1, inf, "p"));
    save("picture-length-nan", withPicture(-1, nan, "p"));
    save("picture-length-negative", withPicture(1, -1.0f, "p"));
    save("picture-length-minus-zero", withPicture(1, -0.0f, ""));
    save("picture-length-fraction", withPicture(1, 1023.5f, std::string(1024, 'p')));
    save("picture-length-2048", withPicture(1, 2048.0f, std::string(2048, 'p')));
    save("picture-longer-than-file", withPicture(1, 5000.0f, std::string(100, 'p')));
    save("picture-flag-no-length", [] {
        PatternWriter w = v21();
        w.integer(0).integer(0).integer(7);
        return w;
    }());
    save("bytes-after-picture", [] {
        PatternWriter w = withPicture(1, 4, "pppp");
        w.raw("trailing bytes that change nothing");
        return w;
    }());

    // Pages and coordinates the writer cannot take.
    {
        PatternWriter::Page page;
        page.defWidth = 1e38f;
        save("page-size-overflow-v2.1", v21(page).integer(0).integer(0).noPicture());
    }
    {
        PatternWriter::Page page;
        page.defWidth = 0;
        save("page-width-zero-v2.1", v21(page).integer(1).line(0, 0, 10, 10).integer(0).noPicture());
    }
    {
        PatternWriter::Page page;
        page.patternWidth = nan;
        PatternWriter w;
        w.header(1, 1, 0).settings11(page).integer(0).integer(0).noPicture();
        save("page-width-nan-v1.1", w);
    }
    {
        PatternWriter::Page page;
        page.patternHeight = -15840.0f;
        PatternWriter w;
        w.header(1, 4, 0).settings11(page).integer(0).integer(0).noPicture();
        save("page-height-negative-v1.4", w);
    }
    save("line-out-of-range", v21().integer(1).line(0, 0, 1e9f, 0).integer(0).noPicture());
    save("line-nan", v21().integer(1).line(nan, 0, 10, 10).integer(0).noPicture());
    save("shape-out-of-range", v21().integer(0).integer(1).shape(9, -1e7f, 0, 10, 10).noPicture());
    save("shape-sum-out-of-range", v21().integer(0).integer(1).shape(3, 3e38f, 0, 3e38f, 10).noPicture());

    return allSaved ? 0 : 1;
}
