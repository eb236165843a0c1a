#include "pageencoding.h"

#include "exportformat.h"

namespace orvane {

EncodedPage encodePage(const PageElements &page, const ExportOptions &options, SceneElements *spare)
{
    EncodedPage result;
    SceneResult built =
        BuildScene(page, options.pixelsX, options.pixelsY, spare ? std::move(*spare) : SceneElements());
    result.error = built.error;
    if (built.error == SceneError::None) {
        const ExportFormat &format = options.format ? *options.format : coreFormats().front();
        EncodeResult encoded = format.encode(built.scene);
        result.bytes = std::move(encoded.bytes);
        result.reason = std::move(encoded.error);
    }
    if (spare) {
        *spare = std::move(built.scene.elements);
        spare->clear();
    }
    return result;
}

std::string saveErrorText(const ExportFormat *format, const std::string &path, SceneError error,
                          const std::string &reason)
{
    const std::string_view kind = format ? format->kind : coreFormats().front().kind;
    std::string text = "Error creating " + std::string(kind) + " " + path + ".";
    switch (error) {
    case SceneError::EmptyPage:
        text += "\r\n\r\nThe pattern page has no width or height to scale from.";
        break;
    case SceneError::CoordinateRange:
        text += "\r\n\r\nA point of the pattern lies outside the range a metafile can hold "
                "(-32768 to 32767). Choose a smaller pattern size.";
        break;
    case SceneError::None:
        if (!reason.empty())
            text += "\r\n\r\n" + reason;
        break;
    }
    return text;
}

} // namespace orvane
