#include "exportformat.h"

#include "placeableencoder.h"
#include "wmfencoder.h"

namespace orvane {

namespace {

EncodeResult encodeWmf(const Scene &scene)
{
    return EncodeResult{EncodeWmf(scene), {}};
}

std::deque<ExportFormat> &formats()
{
    static std::deque<ExportFormat> table = {
        {"wmf", "Windows Metafile (*.wmf)|*.wmf", "wmf", encodeWmf},
        {"placeable", "Placeable Windows Metafile (*.wmf)|*.wmf", "wmf", EncodePlaceable},
    };
    return table;
}

} // namespace

const std::deque<ExportFormat> &exportFormats()
{
    return formats();
}

const ExportFormat &defaultExportFormat()
{
    return formats().front();
}

const ExportFormat *findExportFormat(std::string_view name)
{
    for (const ExportFormat &format : formats()) {
        if (format.name == name)
            return &format;
    }
    return nullptr;
}

void registerExportFormat(ExportFormat format)
{
    if (!findExportFormat(format.name))
        formats().push_back(std::move(format));
}

} // namespace orvane
