#pragma once

// A second, independent reader of the metafiles the tests write: libwmf's
// wmf2svg (Debian libwmf-bin, with fonts-urw-base35). It turns a metafile
// into SVG, which is parsed back into its lines, rectangles and ellipses.
//
// What wmf2svg does to coordinates: it moves the drawing's bounding box to the
// origin, adds 0.5 to every position, and scales the picture down when the box
// (its extent plus 1) exceeds --maxwidth or --maxheight (768 x 512 when not
// given). It refuses a drawing without elements ("Bad image size"), so a
// metafile without lines or shapes is checked with our own decoder only.

#include "wmfdecoder.h"

#include <string>
#include <vector>

namespace orvane::testing {

struct SvgLine {
    double x1, y1, x2, y2;
};
struct SvgRect {
    double x, y, width, height;
};
struct SvgEllipse {
    double cx, cy, rx, ry;
};

struct SvgDrawing {
    bool ran = false;     // wmf2svg could be started
    int exitCode = -1;    // its exit status
    std::string messages; // what it printed
    double width = 0, height = 0;
    std::vector<SvgLine> lines;
    std::vector<SvgRect> rects;
    std::vector<SvgEllipse> ellipses;
    // One letter per drawing element in document order: L line, R rect,
    // E ellipse.
    std::string order;
    // Element names other than svg, desc, line, rect and ellipse.
    std::vector<std::string> otherElements;

    bool ok() const { return ran && exitCode == 0; }
};

// Runs wmf2svg on the metafile and parses its SVG.
SvgDrawing runWmf2svg(const std::string &wmfPath, int maxWidth, int maxHeight);

// Parses the SVG text that wmf2svg writes.
SvgDrawing parseWmf2svgOutput(const std::string &svg);

// Where wmf2svg puts a metafile position.
struct SvgPlacement {
    double minX = 0, minY = 0, scaleX = 1, scaleY = 1;
    double x(double v) const { return (v - minX + 0.5) * scaleX; }
    double y(double v) const { return (v - minY + 0.5) * scaleY; }
};

// The placement wmf2svg uses for the decoded drawing whose SVG has the given
// width and height.
SvgPlacement svgPlacementFor(const DecodedMetafile &metafile, double svgWidth, double svgHeight);

struct ReadableMetafile {
    DecodedMetafile decoded;
    SvgDrawing svg;
    SvgPlacement placement;
    bool svgChecked = false; // false for a drawing without elements
};

// Reads the metafile with our decoder and checks it (checkConverterMetafile);
// then, when it has elements, runs wmf2svg with --maxwidth and --maxheight of
// the page's pixel size plus one (the bounding box of a drawing that touches
// both page edges is one more than the page) and checks that the SVG holds
// exactly the decoded lines, rectangles and ellipses, in order, where wmf2svg
// puts them. Every problem is a non-fatal test failure.
ReadableMetafile expectMetafileReadable(const std::string &path, int pixelsX, int pixelsY);

} // namespace orvane::testing
