// Writes the sample pattern files in this folder, one or more per file
// version. Run: orvane-make-examples <folder>

#include "patternwriter.h"

#include <cmath>
#include <iostream>
#include <string>

using orvane::testing::PatternWriter;

namespace {

constexpr float Inch = 1440.0f;

void house(PatternWriter &w)
{
    // Walls, roof and a door, in twips on a letter page.
    w.integer(5);
    w.line(2 * Inch, 4 * Inch, 4.25f * Inch, 2 * Inch);
    w.line(4.25f * Inch, 2 * Inch, 6.5f * Inch, 4 * Inch);
    w.line(2 * Inch, 4 * Inch, 6.5f * Inch, 4 * Inch);
    w.line(3.75f * Inch, 7 * Inch, 3.75f * Inch, 5.5f * Inch);
    w.line(4.75f * Inch, 7 * Inch, 4.75f * Inch, 5.5f * Inch);
    w.integer(3);
    w.shape(0, 2.25f * Inch, 4 * Inch, 4 * Inch, 3 * Inch);
    w.shape(1, 2.75f * Inch, 4.5f * Inch, 0.75f * Inch, 0.75f * Inch);
    w.shape(3, 5 * Inch, 4.5f * Inch, 0.75f * Inch, 0.75f * Inch);
}

void star(PatternWriter &w, float cx, float cy, float r)
{
    w.integer(5);
    for (int i = 0; i < 5; ++i) {
        const double a1 = -M_PI / 2 + i * 4 * M_PI / 5;
        const double a2 = -M_PI / 2 + (i + 1) * 4 * M_PI / 5;
        w.line(cx + r * float(std::cos(a1)), cy + r * float(std::sin(a1)), cx + r * float(std::cos(a2)),
               cy + r * float(std::sin(a2)));
    }
}

bool save(const PatternWriter &w, const std::string &folder, const std::string &name)
{
    const std::string path = folder + "/" + name;
    if (!w.save(path)) {
        std::cerr << "cannot write " << path << "\n";
        return false;
    }
    std::cout << path << " (" << w.size() << " bytes)\n";
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    PatternWriter::Page letter;
    bool ok = true;

    {
        PatternWriter w;
        w.header(1, 1, 0).settings11(letter);
        house(w);
        w.noPicture();
        ok &= save(w, folder, "house-v1.1.pat");
    }
    {
        PatternWriter w;
        PatternWriter::Page page = letter;
        page.patternWidth = 6 * Inch;
        page.patternHeight = 4 * Inch;
        w.header(1, 4, 3).settings11(page);
        // A grid of 1/2-inch squares.
        w.integer(9 + 13);
        for (int i = 0; i <= 8; ++i)
            w.line(0, i * 0.5f * Inch, 6 * Inch, i * 0.5f * Inch);
        for (int i = 0; i <= 12; ++i)
            w.line(i * 0.5f * Inch, 0, i * 0.5f * Inch, 4 * Inch);
        w.integer(0).noPicture();
        ok &= save(w, folder, "grid-v1.4.pat");
    }
    {
        PatternWriter w;
        w.header(1, 5, 0).settings15(letter, false);
        w.integer(0);
        w.integer(6);
        for (std::int16_t kind = 0; kind < 6; ++kind)
            w.shape(kind, (1 + (kind % 3) * 2.25f) * Inch, (1 + (kind / 3) * 2.5f) * Inch,
                    (kind % 2 ? 1.5f : 2.0f) * Inch, 1.5f * Inch);
        w.noPicture();
        ok &= save(w, folder, "shapes-v1.5.pat");
    }
    {
        PatternWriter w;
        w.header(1, 6, 1).settings15(letter, false);
        house(w);
        w.noPicture();
        ok &= save(w, folder, "house-v1.6.1.pat");
    }
    {
        PatternWriter w;
        w.header(1, 6, 2).settings15(letter, true);
        star(w, 4.25f * Inch, 4 * Inch, 2.5f * Inch);
        w.integer(1).shape(2, 1.75f * Inch, 1.5f * Inch, 5 * Inch, 5 * Inch);
        // A background picture of 2500 bytes: two whole blocks and a rest.
        std::string picture = "BM";
        for (int i = 0; picture.size() < 2500; ++i)
            picture += static_cast<char>(i * 7);
        w.picture(picture);
        ok &= save(w, folder, "star-with-picture-v1.6.2.pat");
    }
    {
        PatternWriter w;
        PatternWriter::Page a4 = letter;
        a4.defWidth = 21.0f;
        a4.defHeight = 29.7f;
        a4.metricPage = true;
        a4.penSizeText = "0.5 mm";
        w.header(2, 1, 0).settings21(a4);
        star(w, 5905, 8418, 4000);
        w.integer(2).shape(3, 1905, 4418, 8000, 8000).shape(0, 567, 567, 10771, 15703);
        w.noPicture();
        ok &= save(w, folder, "star-a4-v2.1.pat");
    }
    {
        // The smallest useful drawing: one line and one rectangle on a letter page.
        PatternWriter w;
        w.header(2, 1, 0).settings21(letter);
        w.integer(1).line(1440, 1440, 2880, 1440);
        w.integer(1).shape(0, 720, 720, 1440, 720);
        w.noPicture();
        ok &= save(w, folder, "line-and-box-v2.1.pat");
    }
    return ok ? 0 : 1;
}
