#include "pictureencoders.h"

#include "export/scene.h"
#include "scenepainter.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <vector>

namespace orvane {

namespace {

// One pixel at 96 dpi on paper whatever the page's width in pixels.
QPen printedPen(const Scene &scene)
{
    return QPen(Qt::black, scene.pixelsX / (scene.pageWidthTwips / 15.0));
}

EncodeResult fromBuffer(const QByteArray &data)
{
    return {std::vector<unsigned char>(data.begin(), data.end()), {}};
}

// Qt stamps each PDF with the time it was written, in the writing machine's
// time zone: "Z" in UTC, "+09'00'" in Tokyo. The date becomes one fixed
// value, and every offset after it in the cross-reference table and the
// one of the table itself move by the change in length, so the file stays
// valid and is the same in every zone. False when the layout is not Qt's.
bool fixCreationDate(QByteArray &pdf)
{
    static const QByteArray Key = "/CreationDate (";
    static const QByteArray Fixed = "(D:20000101000000Z)";
    const qsizetype at = pdf.indexOf(Key);
    const qsizetype end = at < 0 ? -1 : pdf.indexOf(')', at);
    const qsizetype table = end < 0 ? -1 : pdf.lastIndexOf("\nxref\n");
    const qsizetype start = table < 0 ? -1 : pdf.lastIndexOf("\nstartxref\n");
    if (start < table || table < end)
        return false;
    const qsizetype dateAt = at + Key.size() - 1;
    const qsizetype shift = Fixed.size() - (end + 1 - dateAt);
    // "0 N\n", then N entries of 20 bytes: ten digits of offset first.
    qsizetype line = table + 6;
    const qsizetype lineEnd = pdf.indexOf('\n', line);
    const QList<QByteArray> range = pdf.mid(line, lineEnd - line).split(' ');
    bool ok = range.size() == 2 && range[0] == "0";
    const qsizetype entries = ok ? range[1].toLongLong(&ok) : 0;
    if (!ok || lineEnd + 1 + entries * 20 > start)
        return false;
    for (qsizetype i = 0; i < entries; ++i) {
        const qsizetype entry = lineEnd + 1 + i * 20;
        const qsizetype offset = pdf.mid(entry, 10).toLongLong(&ok);
        if (!ok)
            return false;
        if (pdf[entry + 17] == 'n' && offset > dateAt)
            pdf.replace(entry, 10, QByteArray::number(offset + shift).rightJustified(10, '0'));
    }
    const qsizetype number = start + 11;
    qsizetype numberEnd = number;
    while (numberEnd < pdf.size() && pdf[numberEnd] >= '0' && pdf[numberEnd] <= '9')
        ++numberEnd;
    const qsizetype tableOffset = pdf.mid(number, numberEnd - number).toLongLong(&ok);
    if (!ok || tableOffset != table + 1)
        return false;
    pdf.replace(number, numberEnd - number, QByteArray::number(tableOffset + shift));
    pdf.replace(dateAt, end + 1 - dateAt, Fixed);
    return true;
}

} // namespace

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
        paintScene(painter, scene, printedPen(scene));
    }
    QByteArray pdf = buffer.data();
    if (!fixCreationDate(pdf))
        return {{}, "The PDF writer laid out its file in a way this program does not know."};
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

namespace {

constexpr ExportFormat PictureFormats[] = {
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
