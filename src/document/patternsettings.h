#pragma once

#include <cstdint>
#include <string>

namespace orvane {

class SettingsStore;

// The loaded pattern's page, pen and bitmap settings. Booleans keep the 16-bit
// value as read (0 false, any other value true). Texts keep their raw
// single-byte (Windows-1252) bytes.
struct PatternSettings {
    float MarginTop = 0.5f;
    float MarginBottom = 0.5f;
    float MarginLeft = 0.5f;
    float MarginRight = 0.5f;
    float DefWidth = 8.5f;
    float DefHeight = 11.0f;
    float PatternWidth = 12240.0f;
    float PatternHeight = 15840.0f;
    float PenSizeValue = 0.015625f;
    std::string PenSizeText = "1/64";
    std::int32_t PenColor = 0;
    std::int16_t BandW = -1;
    float BitmapPenSize = 1.0f;
    float BitmapSizeWidth = 300.0f;
    float BitmapSizeHeight = 300.0f;
    std::int16_t MetricPen = 0;
    std::int16_t MetricPage = 0;
};

// Owner of the one PatternSettings record.
class LibDimension {
public:
    // Where the stored defaults live: the product's settings, this group.
    static constexpr const char *SettingsApplication = "Veltrum Orvane";
    static constexpr const char *SettingsSection = "Pattern";

    PatternSettings &settings() { return m_settings; }
    const PatternSettings &settings() const { return m_settings; }

    // Reads the stored defaults; false when a stored text does not convert or
    // the page size overflows.
    bool LoadSettingDefaults(SettingsStore &store);
    // The key whose stored text made the last LoadSettingDefaults fail; empty
    // when none did.
    const std::string &settingAtFault() const { return m_settingAtFault; }
    // False when the page overflows as twips; overflowing, when given, gets
    // the key of the size at fault.
    bool ComputePatternSize(const char **overflowing = nullptr);

    float PageWidthTwips() const { return m_settings.PatternWidth; }
    float PageHeightTwips() const { return m_settings.PatternHeight; }

private:
    PatternSettings m_settings;
    std::string m_settingAtFault;
};

} // namespace orvane
