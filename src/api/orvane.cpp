// The public interface over the converter, with the core's own formats.

#include "orvane/orvane.h"

#include "converter.h"
#include "export/exportformat.h"
#include "settings/settingsstore.h"

namespace orvane {

namespace {

// The caller's defaults behind the settings seam.
class CallbackStore : public SettingsStore {
public:
    explicit CallbackStore(const ConvertOptions &options) : m_options(options) {}
    std::optional<std::string> readText(const std::string &, const std::string &, const std::string &key) override
    {
        return m_options.storedDefaults ? m_options.storedDefaults(key) : std::nullopt;
    }
    std::string location(const std::string &) const override { return m_options.storedDefaultsLocation; }

private:
    const ConvertOptions &m_options;
};

const FormatTable &coreTable()
{
    static const FormatTable table;
    return table;
}

} // namespace

ConversionResult convert(std::span<const unsigned char> pattern, const ConvertOptions &options)
{
    const ExportFormat *format = coreTable().find(options.format);
    if (!format) {
        ConversionResult result;
        result.status = ConversionResult::UnknownFormat;
        result.messages.push_back("The " + options.format + " format is not available in this build.");
        return result;
    }
    CallbackStore store(options);
    Converter converter(coreTable(), store, options.pictureFolder);
    return converter.encode(converter.load(pattern, Converter::PictureStep::Copy), *format, options.width,
                            options.outputName);
}

InfoResult info(std::span<const unsigned char> pattern, const ConvertOptions &options)
{
    CallbackStore store(options);
    Converter converter(coreTable(), store, options.pictureFolder);
    const ConversionResult loaded = converter.load(pattern, Converter::PictureStep::Copy);
    InfoResult result;
    result.ok = loaded.ok();
    result.messages = loaded.messages;
    if (result.ok)
        result.json = converter.infoJson(loaded);
    return result;
}

std::vector<std::string> formatNames()
{
    std::vector<std::string> names;
    for (const ExportFormat *row : coreTable().rows())
        names.emplace_back(row->name);
    return names;
}

const char *version()
{
    return ORVANE_VERSION;
}

} // namespace orvane
