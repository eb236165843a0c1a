#include "pictureencoders.h"

#include "export/scene.h"
#include "scenepainter.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <vector>

namespace orvane {

namespace {

EncodeResult fromBuffer(const QByteArray &data)
{
    return {std::vector<unsigned char>(data.begin(), data.end()), {}};
}

} // namespace

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
    {"png", "png", "PNG Image (*.png)|*.png", "PNG file", EncodePng},
};

} // namespace

const PictureModule &pictureModule()
{
    static const PictureModule module{PictureFormats, EncodeThumbnail};
    return module;
}

} // namespace orvane
