#include "patternsettings.h"

#include "numeric.h"
#include "settings/settingsstore.h"
#include "storedtext.h"

#include <functional>

namespace orvane {

bool LibDimension::LoadSettingDefaults(SettingsStore &store)
{
    static const PatternSettings defaults;
    PatternSettings &s = m_settings;
    m_settingAtFault.clear();
    // Each key is read as text; a missing key yields the default.
    auto read = [&store](const char *key) { return store.readText(SettingsApplication, SettingsSection, key); };
    auto stored = [&read, this](const char *key, auto fallback, auto &field, auto convert) {
        const auto text = read(key);
        if (!text) {
            field = fallback;
            return true;
        }
        const auto value = convert(*text);
        if (value)
            field = *value;
        else
            m_settingAtFault = key;
        return value.has_value();
    };
    auto single = [&](const char *key, float PatternSettings::*member) {
        return stored(key, defaults.*member, s.*member, storedTextToSingle);
    };
    auto boolean = [&](const char *key, std::int16_t PatternSettings::*member) {
        return stored(key, defaults.*member, s.*member, storedTextToBoolean);
    };

    if (!single("PenSizeValue", &PatternSettings::PenSizeValue))
        return false;
    s.PenSizeText = read("PenSizeText").value_or(defaults.PenSizeText);
    if (!stored("PenColor", defaults.PenColor, s.PenColor, storedTextToLong))
        return false;
    // The bitmap height has no key of its own: it reads the width's key.
    const bool ok = boolean("BandW", &PatternSettings::BandW) && single("BitmapPenSize", &PatternSettings::BitmapPenSize)
        && single("BitmapSizeWidth", &PatternSettings::BitmapSizeWidth)
        && stored("BitmapSizeWidth", defaults.BitmapSizeHeight, s.BitmapSizeHeight, storedTextToSingle)
        && single("MarginTop", &PatternSettings::MarginTop) && single("MarginRight", &PatternSettings::MarginRight)
        && single("MarginBottom", &PatternSettings::MarginBottom) && single("MarginLeft", &PatternSettings::MarginLeft)
        && boolean("MetricPen", &PatternSettings::MetricPen) && boolean("MetricPage", &PatternSettings::MetricPage)
        && single("DefWidth", &PatternSettings::DefWidth) && single("DefHeight", &PatternSettings::DefHeight);
    if (!ok)
        return false;
    // A stored page size can convert yet overflow as twips.
    const char *overflowing = nullptr;
    if (!ComputePatternSize(&overflowing)) {
        m_settingAtFault = overflowing;
        return false;
    }
    return true;
}

bool LibDimension::ComputePatternSize(const char **overflowing)
{
    PatternSettings &s = m_settings;
    // Centimetres are divided before the multiplication; the order shows in the last bit.
    auto twips = [&](float size) -> std::optional<float> {
        if (s.MetricPage != 0)
            return storeSingle(static_cast<double>(size) / 2.54 * 1440.0);
        return storeSingle(static_cast<double>(size) * 1440.0);
    };
    const auto width = twips(s.DefWidth);
    if (!width) {
        if (overflowing)
            *overflowing = "DefWidth";
        return false;
    }
    s.PatternWidth = *width;
    const auto height = twips(s.DefHeight);
    if (!height) {
        if (overflowing)
            *overflowing = "DefHeight";
        return false;
    }
    s.PatternHeight = *height;
    return true;
}

} // namespace orvane
