#include "patternsettings.h"

#include "numeric.h"
#include "settingsstore.h"
#include "storedtext.h"
#include "shell/libid.h"

#include <functional>

namespace orvane {

bool LibDimension::LoadSettingDefaults(SettingsStore &store)
{
    PatternSettings &s = m_settings;
    // Each key read as text; a missing key yields the default unchanged.
    auto single = [&store](const char *key, float fallback, float &field) {
        const auto text = store.readText(LibId::ProductName(), SettingsSection, key);
        if (!text) {
            field = fallback;
            return true;
        }
        const auto value = storedTextToSingle(*text);
        if (value)
            field = *value;
        return value.has_value();
    };
    auto boolean = [&store](const char *key, std::int16_t fallback, std::int16_t &field) {
        const auto text = store.readText(LibId::ProductName(), SettingsSection, key);
        if (!text) {
            field = fallback;
            return true;
        }
        const auto value = storedTextToBoolean(*text);
        if (value)
            field = *value;
        return value.has_value();
    };

    if (!single("PenSizeValue", 0.015625f, s.PenSizeValue))
        return false;
    const auto penText = store.readText(LibId::ProductName(), SettingsSection, "PenSizeText");
    s.PenSizeText = penText ? *penText : std::string("1/64");
    if (const auto color = store.readText(LibId::ProductName(), SettingsSection, "PenColor")) {
        const auto value = storedTextToLong(*color);
        if (!value)
            return false;
        s.PenColor = *value;
    } else {
        s.PenColor = 0;
    }
    // The bitmap height has no key of its own: it reads the width's key.
    const bool ok = boolean("BandW", -1, s.BandW) && single("BitmapPenSize", 1.0f, s.BitmapPenSize)
        && single("BitmapSizeWidth", 300.0f, s.BitmapSizeWidth)
        && single("BitmapSizeWidth", 300.0f, s.BitmapSizeHeight) && single("MarginTop", 0.5f, s.MarginTop)
        && single("MarginRight", 0.5f, s.MarginRight) && single("MarginBottom", 0.5f, s.MarginBottom)
        && single("MarginLeft", 0.5f, s.MarginLeft) && boolean("MetricPen", 0, s.MetricPen)
        && boolean("MetricPage", 0, s.MetricPage) && single("DefWidth", 8.5f, s.DefWidth)
        && single("DefHeight", 11.0f, s.DefHeight);
    return ok && ComputePatternSize();
}

bool LibDimension::ComputePatternSize()
{
    PatternSettings &s = m_settings;
    // Centimetres are divided before the multiplication; the order shows in the last bit.
    auto twips = [&](float size) -> std::optional<float> {
        if (s.MetricPage != 0)
            return storeSingle(static_cast<double>(size) / 2.54 * 1440.0);
        return storeSingle(static_cast<double>(size) * 1440.0);
    };
    const auto width = twips(s.DefWidth);
    if (!width)
        return false;
    s.PatternWidth = *width;
    const auto height = twips(s.DefHeight);
    if (!height)
        return false;
    s.PatternHeight = *height;
    return true;
}

} // namespace orvane
