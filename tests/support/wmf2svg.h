#pragma once

// The one reader we did not write: libwmf's wmf2svg, which moves the drawing's box to the origin,
// adds half a pixel, fits --maxwidth x --maxheight and refuses a file without elements.

#include "fakes.h"
#include "wmfdecoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>

namespace orvane::testing {

// wmf2svg's SVG of the metafile, fitted into maxWidth x maxHeight; "" when it fails.
inline std::string wmf2svgText(const std::string &wmf, int maxWidth, int maxHeight)
{
    TempDir dir;
    const std::string command = "wmf2svg --maxwidth=" + std::to_string(maxWidth) + " --maxheight="
        + std::to_string(maxHeight) + " -o '" + dir.file("out.svg") + "' '" + wmf + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0 ? readFileText(dir.file("out.svg")) : std::string();
}

// wmf2svg's elements must be the decoded ones, in order and in place.
inline void expectWmf2svgAgrees(const std::string &wmf, int pixelsX, int pixelsY)
{
    const auto elements = decodeMetafileFile(wmf).elements();
    ASSERT_FALSE(elements.empty()) << "wmf2svg refuses a drawing without elements";
    const std::string svg = wmf2svgText(wmf, pixelsX + 1, pixelsY + 1);
    ASSERT_FALSE(svg.empty()) << "wmf2svg failed on " << wmf << " (install libwmf-bin)";
    static const std::regex tag(R"(<(svg|line|rect|ellipse)\s([^>]*)>)");
    static const std::regex attr(R"re((\w+)="([-0-9.e]+)")re");
    std::vector<std::pair<std::string, std::map<std::string, double>>> tags;
    for (std::sregex_iterator t(svg.begin(), svg.end(), tag); t != std::sregex_iterator(); ++t) {
        const std::string a = (*t)[2];
        std::map<std::string, double> values;
        for (std::sregex_iterator v(a.begin(), a.end(), attr); v != std::sregex_iterator(); ++v)
            values[(*v)[1]] = std::stod((*v)[2]);
        tags.emplace_back((*t)[1], values);
    }
    ASSERT_EQ(tags.size(), elements.size() + 1) << svg;
    double minX = 1e9;
    double minY = 1e9;
    double maxX = -1e9;
    double maxY = -1e9;
    for (const WmfElement &e : elements) {
        minX = std::min({minX, double(e.a), double(e.c)});
        maxX = std::max({maxX, double(e.a), double(e.c)});
        minY = std::min({minY, double(e.b), double(e.d)});
        maxY = std::max({maxY, double(e.b), double(e.d)});
    }
    // wmf2svg's scale and its half-pixel shift.
    const double sx = tags[0].second["width"] / (maxX - minX + 1);
    const double sy = tags[0].second["height"] / (maxY - minY + 1);
    const auto x = [&](double v) {
        return (v - minX + 0.5) * sx;
    };
    const auto y = [&](double v) {
        return (v - minY + 0.5) * sy;
    };
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const WmfElement &e = elements[i];
        auto &[name, v] = tags[i + 1];
        std::string kind = "ellipse";
        std::vector<double> got = {v["cx"], v["cy"], v["rx"], v["ry"]};
        std::vector<double> want = {x((e.a + e.c) / 2.0), y((e.b + e.d) / 2.0), (e.c - e.a) / 2.0 * sx,
                                    (e.d - e.b) / 2.0 * sy};
        if (e.kind == 'L') {
            kind = "line";
            got = {v["x1"], v["y1"], v["x2"], v["y2"]};
            want = {x(e.a), y(e.b), x(e.c), y(e.d)};
        } else if (e.kind == 'R') {
            kind = "rect";
            got = {v["x"], v["y"], v["width"], v["height"]};
            want = {x(e.a), y(e.b), (e.c - e.a) * sx, (e.d - e.b) * sy};
        }
        EXPECT_EQ(name, kind) << wmf << " element " << i;
        for (std::size_t k = 0; k < got.size(); ++k)
            EXPECT_NEAR(got[k], want[k], 0.02) << wmf << " element " << i << " value " << k;
    }
}

} // namespace orvane::testing
