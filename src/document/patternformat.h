#pragma once

#include <cstdint>
#include <optional>

namespace orvane {

class LibDimension;
class PatternStream;
class SettingsStore;

struct PatternHeader {
    std::int16_t VersionMajor = 0;
    std::int16_t VersionMinor = 0;
    std::int16_t VersionSub = 0;
};

enum class SettingsBlock { Version11, Version15, Version21 };

// Layout of a pattern file (little-endian, no padding):
//   header: Integer n, Text(n), Integer major, minor, sub, Integer n, Text(n)
//   settings block, chosen by major.minor: 1.1-1.4, 1.5-1.6 or 2.1
//   Integer line count, 16-byte line records (X1 Y1 X2 Y2)
//   Integer shape count, 18-byte shape records (form, top, left, height, width)
//   Integer picture flag; when not 0, Single length and the picture bytes
namespace PatternFormat {

bool ReadHeader(PatternStream &file, PatternHeader &header);

// The settings block a version is read with; nullopt for a rejected version.
std::optional<SettingsBlock> settingsBlockFor(const PatternHeader &header);

// minor * 100 + sub in 16-bit arithmetic; nullopt on overflow.
std::optional<std::int16_t> versionCode(const PatternHeader &header);

bool ReadSettings11(PatternStream &file, LibDimension &dimension, SettingsStore &store);
bool ReadSettings15(PatternStream &file, std::int16_t versionCode, LibDimension &dimension, SettingsStore &store);
bool ReadSettings21(PatternStream &file, LibDimension &dimension);

// Runs the settings reader that the header's version picks.
bool ReadSettings(PatternStream &file, const PatternHeader &header, LibDimension &dimension, SettingsStore &store);

// Whole 1024-byte blocks and the rest of a picture of length L, as the
// picture copy works them out; nullopt when they cannot be copied (more than
// 32767 whole blocks, a length that is not a number, or a negative one).
struct PictureBlocks {
    std::int16_t blocks = 0;
    std::int16_t rest = 0;
};
std::optional<PictureBlocks> pictureBlocks(float length);

constexpr int PictureBlockSize = 1024;

} // namespace PatternFormat

} // namespace orvane
