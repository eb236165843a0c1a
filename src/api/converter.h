#pragma once

#include "orvane/orvane.h"

#include "patternopen.h"
#include "export/scene.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace orvane {

class FormatTable;
class SettingsStore;
struct ExportFormat;

// One pattern at a time through the window's steps without a window: open
// (by path or bytes), the picture copy when asked for, size, encode.
// Messages are the window's, collected as texts.
class Converter {
public:
    Converter(const FormatTable &formats, SettingsStore &settings, std::string pictureFolder);
    // Its open hands messages to this object.
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Whether a load copies the pattern's picture, as the window's open does:
    // a conversion that writes a file does, --info and a preview do not.
    enum class PictureStep { Copy, Skip };

    // Each returns NotLoaded with the messages when the pattern cannot be
    // opened. Without a picture folder nothing is copied.
    ConversionResult load(const std::string &path, PictureStep picture);
    ConversionResult load(std::span<const unsigned char> bytes, PictureStep picture);
    // The loaded pattern at width (empty: its page size) in format, whose
    // messages call the output outputName.
    ConversionResult encode(const ConversionResult &loaded, const ExportFormat &format, const std::string &width,
                            const std::string &outputName) const;
    // What --info prints, for the loaded pattern.
    std::string infoJson(const ConversionResult &loaded) const;

    const Pattern &pattern() const { return m_open.pattern(); }
    // The last load's picture copy; NoPicture when none was made.
    const PictureCopy &pictureCopy() const { return m_open.pictureCopy(); }
    const FormatTable &formats() const { return m_formats; }

private:
    ConversionResult loaded(bool ok, PictureStep picture);

    const FormatTable &m_formats;
    // The messages of the load under way, as texts in order.
    std::vector<std::string> m_texts;
    TemporaryPicture m_picture;
    // The last scene's memory, for the next encode.
    mutable SceneElements m_spareScene;
    PatternOpen m_open;
};

} // namespace orvane
