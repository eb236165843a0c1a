#pragma once

#include "patternwriter.h"

#include "shell/messagebox.h"

#include <string>

namespace orvane::bench {

// Benchmarks time the work, not a message box.
class SilentMessages : public MessageBox {
public:
    int showMessage(const std::string &, int, const std::string &) override { return 1; }
    void beep() override {}
};

// The largest pattern a file can hold: 32767 long lines across the letter
// page and 32767 overlapping shapes of every kind.
inline void writeLargestPattern(const std::string &path)
{
    testing::PatternWriter w;
    w.header(2, 1, 0).settings21({});
    w.integer(32767);
    for (int i = 0; i < 32767; ++i)
        w.line(float(i % 12240), float(i % 15840), float((i * 7) % 12240), float((i * 13) % 15840));
    w.integer(32767);
    for (int i = 0; i < 32767; ++i)
        w.shape(static_cast<std::int16_t>(i % 6), float(i % 11000), float(i % 14000), 1000, 800);
    w.noPicture();
    w.save(path);
}

// A letter-wide page 270,336 pixels tall (2816 inches) with outlines down
// the first 32,000 pixels (the furthest a scene reaches): the tallest page a
// raster is asked for, as a corrupted file can give it.
inline void writeTallPattern(const std::string &path)
{
    testing::PatternWriter::Page page;
    page.defHeight = 2816.0f;
    page.patternHeight = 4055040.0f;
    testing::PatternWriter w;
    w.header(2, 1, 0).settings21(page);
    w.integer(3).line(0, 0, 12240, 480000).line(12240, 0, 0, 480000).line(6120, 0, 6120, 480000);
    w.integer(2).shape(2, 1440, 1440, 9360, 470000).shape(0, 720, 720, 10800, 475000);
    w.noPicture();
    w.save(path);
}

} // namespace orvane::bench
