#include "pictureencoders.h"

#include "export/scene.h"
#include "scenepainter.h"

#include <QImage>
#include <QPainter>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <vector>

namespace orvane {

namespace {

// Pages above this many pixels take longer to draw than a picture of a
// pattern is worth (16384 x 16384).
constexpr qint64 MaxRasterPixels = qint64(1) << 28;
// Rows wider than this are refused: a band of them would not fit the
// memory below (libpng refuses them too unless told otherwise).
constexpr qint64 MaxRasterWidth = 1000000;
// The page is drawn this many bytes of 32-bit pixels at a time, so any
// page stays well within 256 MiB: the band, its gray copy, libpng's rows.
// A page of one band is the image it always was; Qt clips a line that
// crosses a band's edge and may then step it a pixel aside.
constexpr qint64 BandBytes = qint64(64) << 20;

// A gray PNG written row by row into memory, with the settings Qt's PNG
// writer uses, so a page in bands is the file a page in one image was.
class PngRows {
public:
    PngRows(int width, int height, int dotsPerMeterX, int dotsPerMeterY)
    {
        m_png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        m_info = m_png ? png_create_info_struct(m_png) : nullptr;
        if (!m_info || setjmp(png_jmpbuf(m_png)))
            return;
        png_set_write_fn(m_png, &m_bytes, append, nullptr);
        // libpng's default limit of a million rows would refuse tall pages.
        png_set_user_limits(m_png, 0x7FFFFFFF, 0x7FFFFFFF);
        // The fastest level: a page of outlines on white compresses well
        // anyway, and a batch of pages went three times as fast with it.
        png_set_compression_level(m_png, 1);
        png_set_IHDR(m_png, m_info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_GRAY, 0, 0, 0);
        png_set_pHYs(m_png, m_info, png_uint_32(dotsPerMeterX), png_uint_32(dotsPerMeterY), PNG_RESOLUTION_METER);
        png_write_info(m_png, m_info);
        m_ok = true;
    }
    ~PngRows() { png_destroy_write_struct(&m_png, &m_info); }
    PngRows(const PngRows &) = delete;
    PngRows &operator=(const PngRows &) = delete;

    // The first rows of gray.
    bool write(const QImage &gray, int rows)
    {
        if (!m_ok || setjmp(png_jmpbuf(m_png)))
            return m_ok = false;
        for (int y = 0; y < rows; ++y)
            png_write_row(m_png, gray.constScanLine(y));
        return true;
    }
    bool writeRow(const unsigned char *row)
    {
        if (!m_ok || setjmp(png_jmpbuf(m_png)))
            return m_ok = false;
        png_write_row(m_png, row);
        return true;
    }
    bool finish()
    {
        if (!m_ok || setjmp(png_jmpbuf(m_png)))
            return m_ok = false;
        png_write_end(m_png, m_info);
        return true;
    }
    std::vector<unsigned char> take() { return std::move(m_bytes); }

private:
    static void append(png_structp png, png_bytep data, png_size_t size)
    {
        auto *bytes = static_cast<std::vector<unsigned char> *>(png_get_io_ptr(png));
        bytes->insert(bytes->end(), data, data + size);
    }

    png_structp m_png = nullptr;
    png_infop m_info = nullptr;
    std::vector<unsigned char> m_bytes;
    bool m_ok = false;
};

// Whether the band's first rows hold only black and white pixels, as the
// aliased pen leaves them. Qt's conversion to gray goes through a color
// transform, which took most of the time, and gives 0 and 255 for these two.
bool isBlackAndWhite(const QImage &band, int rows)
{
    for (int y = 0; y < rows; ++y) {
        const auto *pixels = reinterpret_cast<const QRgb *>(band.constScanLine(y));
        if (!std::all_of(pixels, pixels + band.width(), [](QRgb p) { return p == 0xFFFFFFFFu || p == 0xFF000000u; }))
            return false;
    }
    return true;
}

std::string tooLarge(const Scene &scene, const std::string &limit)
{
    return "A PNG image holds at most " + limit + "; this page is " + std::to_string(scene.pixelsX) + " x "
        + std::to_string(scene.pixelsY) + " pixels. Choose a smaller pattern size.";
}

} // namespace

EncodeResult EncodePng(const Scene &scene)
{
    const qint64 rowBytes = qint64(std::max(scene.pixelsX, 1)) * 4;
    return EncodePngInBands(scene, int(std::clamp<qint64>(BandBytes / rowBytes, 1, std::max(scene.pixelsY, 1))));
}

EncodeResult EncodePngInBands(const Scene &scene, int bandRows)
{
    if (!hasPage(scene))
        return noPage(scene, "PNG image");
    if (qint64(scene.pixelsX) * scene.pixelsY > MaxRasterPixels)
        return {{}, tooLarge(scene, std::to_string(MaxRasterPixels) + " pixels")};
    if (scene.pixelsX > MaxRasterWidth)
        return {{}, tooLarge(scene, std::to_string(MaxRasterWidth) + " pixels in a row")};
    bandRows = std::clamp(bandRows, 1, scene.pixelsY);
    // The format of window backing stores, and the fastest to paint on.
    QImage band(scene.pixelsX, bandRows, QImage::Format_ARGB32_Premultiplied);
    if (band.isNull())
        return {{}, "There is not enough memory for a PNG image of this page."};
    // The page's physical size, as SVG and PDF give it.
    PngRows png(scene.pixelsX, scene.pixelsY,
                int(std::lround(scene.pixelsX / (scene.pageWidthTwips / 1440.0 * 0.0254))),
                int(std::lround(scene.pixelsY / (scene.pageHeightTwips / 1440.0 * 0.0254))));
    // The window's pen: cosmetic (the same pixels at this scale).
    QPen pen = outlinePen();
    pen.setCosmetic(true);
    std::vector<unsigned char> row(std::size_t(scene.pixelsX));
    for (int top = 0; top < scene.pixelsY; top += bandRows) {
        const int rows = std::min(bandRows, scene.pixelsY - top);
        {
            QPainter painter(&band);
            painter.translate(0, -top);
            paintScene(painter, scene, pen, top, top + rows);
        }
        // Black on white loses nothing in gray, and the file gets smaller.
        bool written = true;
        if (isBlackAndWhite(band, rows)) {
            for (int y = 0; y < rows && written; ++y) {
                const auto *pixels = reinterpret_cast<const QRgb *>(band.constScanLine(y));
                std::transform(pixels, pixels + scene.pixelsX, row.begin(),
                               [](QRgb p) { return static_cast<unsigned char>(p & 0xFF); });
                written = png.writeRow(row.data());
            }
        } else {
            written = png.write(band.convertToFormat(QImage::Format_Grayscale8), rows);
        }
        if (!written)
            return {{}, "The PNG image could not be written."};
    }
    if (!png.finish())
        return {{}, "The PNG image could not be written."};
    return {png.take(), {}};
}

} // namespace orvane
