#include "pictureencoders.h"

#include "export/scene.h"
#include "view/qt/outlinepainter.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <cmath>
#include <vector>

namespace orvane {

namespace {

// Raster pages above this many pixels would take more memory than a picture
// of a pattern is worth (16384 x 16384).
constexpr qint64 MaxRasterPixels = qint64(1) << 28;

bool hasPage(const Scene &scene)
{
    return scene.pixelsX > 0 && scene.pixelsY > 0 && scene.pageWidthTwips > 0 && scene.pageHeightTwips > 0 &&
           std::isfinite(scene.pageWidthTwips) && std::isfinite(scene.pageHeightTwips);
}

EncodeResult noPage(const Scene &scene, const char *format)
{
    return {{}, std::string("The page (") + std::to_string(scene.pixelsX) + " x " + std::to_string(scene.pixelsY) +
                    " pixels) has no size a " + format + " can show."};
}

// White page, then the outlines in drawing order: lines batched as the window
// batches them, boxes by the window's own routine.
void paintScene(QPainter &painter, const Scene &scene, const QPen &pen)
{
    painter.fillRect(QRect(0, 0, scene.pixelsX, scene.pixelsY), Qt::white);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    std::vector<QLine> lines;
    auto flushLines = [&] {
        if (!lines.empty())
            painter.drawLines(lines.data(), int(lines.size()));
        lines.clear();
    };
    for (const SceneElement &e : scene.elements) {
        if (e.kind == SceneElement::Line) {
            lines.emplace_back(e.x1, e.y1, e.x2, e.y2);
            continue;
        }
        flushLines();
        paintBox(painter, e.kind == SceneElement::Ellipse, QPoint(e.x1, e.y1), QPoint(e.x2, e.y2));
    }
    flushLines();
}

QPen outlinePen()
{
    // One pixel of the page; vector formats scale it with the page.
    return QPen(Qt::black, 1);
}

EncodeResult fromBuffer(const QByteArray &data)
{
    return {std::vector<unsigned char>(data.begin(), data.end()), {}};
}

// Qt stamps each PDF with the time it was written. Overwriting the digits in
// place keeps every offset of the cross-reference table valid.
void fixCreationDate(QByteArray &pdf)
{
    static const QByteArray Key = "/CreationDate (D:";
    const qsizetype at = pdf.indexOf(Key);
    if (at < 0)
        return;
    qsizetype i = at + Key.size();
    for (const char digit : QByteArray("20000101000000")) {
        if (i >= pdf.size() || pdf[i] < '0' || pdf[i] > '9')
            return;
        pdf[i++] = digit;
    }
    // The time zone of the writing machine: Z, or +hh'mm' / -hh'mm' padded
    // to the same length so offsets stay put.
    const qsizetype end = pdf.indexOf(')', i);
    if (end < 0)
        return;
    for (qsizetype j = i; j < end; ++j)
        pdf[j] = j == i ? 'Z' : ' ';
}

} // namespace

EncodeResult EncodeSvg(const Scene &scene)
{
    if (!hasPage(scene))
        return noPage(scene, "SVG drawing");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    // Sizes in twips at 1440 per inch give the page's physical width and
    // height; the view box holds the page in pixels.
    generator.setResolution(1440);
    generator.setSize(QSize(int(std::lround(scene.pageWidthTwips)), int(std::lround(scene.pageHeightTwips))));
    generator.setViewBox(QRect(0, 0, scene.pixelsX, scene.pixelsY));
    generator.setTitle(QStringLiteral("Pattern"));
    {
        QPainter painter(&generator);
        paintScene(painter, scene, outlinePen());
    }
    return fromBuffer(buffer.data());
}

EncodeResult EncodePdf(const Scene &scene)
{
    if (!hasPage(scene))
        return noPage(scene, "PDF page");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Orvane"));
        writer.setPageSize(QPageSize(QSizeF(scene.pageWidthTwips / 20.0, scene.pageHeightTwips / 20.0),
                                     QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        if (!painter.isActive())
            return {{}, "The PDF writer could not start a page."};
        painter.setWindow(QRect(0, 0, scene.pixelsX, scene.pixelsY));
        paintScene(painter, scene, outlinePen());
    }
    QByteArray pdf = buffer.data();
    fixCreationDate(pdf);
    return fromBuffer(pdf);
}

constexpr int ThumbnailFrameGray = 160;

std::vector<unsigned char> EncodeThumbnail(const Scene &scene, int size)
{
    if (!hasPage(scene) || size < 1)
        return {};
    const double scale = std::min(1.0, double(size) / std::max(scene.pixelsX, scene.pixelsY));
    QImage image(std::max(1, int(std::lround(scene.pixelsX * scale))),
                 std::max(1, int(std::lround(scene.pixelsY * scale))), QImage::Format_RGB32);
    if (image.isNull())
        return {};
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, scale < 1);
    painter.scale(double(image.width()) / scene.pixelsX, double(image.height()) / scene.pixelsY);
    QPen pen = outlinePen();
    pen.setCosmetic(true);
    paintScene(painter, scene, pen);
    // A thin grey frame, so that the white page stands out in a white view.
    painter.resetTransform();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(ThumbnailFrameGray, ThumbnailFrameGray, ThumbnailFrameGray), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, image.width() - 1, image.height() - 1);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_Grayscale8).save(&buffer, "PNG"))
        return {};
    return fromBuffer(buffer.data()).bytes;
}

EncodeResult EncodePng(const Scene &scene)
{
    if (!hasPage(scene))
        return noPage(scene, "PNG image");
    if (qint64(scene.pixelsX) * scene.pixelsY > MaxRasterPixels)
        return {{}, "A PNG image holds at most " + std::to_string(MaxRasterPixels) + " pixels; this page is " +
                        std::to_string(scene.pixelsX) + " x " + std::to_string(scene.pixelsY) +
                        ". Choose a smaller pattern size."};
    // The format of window backing stores, and the fastest to paint on.
    QImage image(scene.pixelsX, scene.pixelsY, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return {{}, "There is not enough memory for a PNG image of this page."};
    {
        // The window's pen: cosmetic (the same pixels at this scale).
        QPen pen = outlinePen();
        pen.setCosmetic(true);
        QPainter painter(&image);
        paintScene(painter, scene, pen);
    }
    // Black on white loses nothing in gray, and the file gets smaller.
    image = image.convertToFormat(QImage::Format_Grayscale8);
    // The page's physical size, as SVG and PDF give it.
    image.setDotsPerMeterX(int(std::lround(scene.pixelsX / (scene.pageWidthTwips / 1440.0 * 0.0254))));
    image.setDotsPerMeterY(int(std::lround(scene.pixelsY / (scene.pageHeightTwips / 1440.0 * 0.0254))));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {{}, "The PNG image could not be written."};
    return fromBuffer(buffer.data());
}

namespace {

constexpr ExportFormat PictureFormats[] = {
    {"svg", "svg", "SVG Drawing (*.svg)|*.svg", "SVG file", EncodeSvg},
    {"pdf", "pdf", "PDF Document (*.pdf)|*.pdf", "PDF file", EncodePdf},
    {"png", "png", "PNG Image (*.png)|*.png", "PNG file", EncodePng},
};

} // namespace

const PictureModule &pictureModule()
{
    static const PictureModule module{PictureFormats, EncodeThumbnail};
    return module;
}

} // namespace orvane
