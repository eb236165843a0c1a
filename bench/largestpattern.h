#pragma once

#include "patternwriter.h"

#include "platform/messagebox.h"

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

} // namespace orvane::bench
