#include "patternreader.h"

#include "patternstream.h"
#include "os/fileio.h"

#include <new>

namespace orvane {

namespace {

constexpr std::size_t LineRecordBytes = 16;
constexpr std::size_t ShapeRecordBytes = 18;

// Records that lie wholly in the file are read straight from its bytes; at
// a file's early end, field by field, those past it as zero.
void readLines(PatternStream &file, Pattern &p)
{
    if (file.remaining() >= p.lines.size() * LineRecordBytes) {
        const unsigned char *at = file.take(p.lines.size() * LineRecordBytes).data();
        for (PatternLine &line : p.lines) {
            line.X1 = PatternStream::singleAt(at);
            line.Y1 = PatternStream::singleAt(at + 4);
            line.X2 = PatternStream::singleAt(at + 8);
            line.Y2 = PatternStream::singleAt(at + 12);
            line.Visible = true;
            at += LineRecordBytes;
        }
        return;
    }
    for (PatternLine &line : p.lines) {
        line.X1 = file.readSingle();
        line.Y1 = file.readSingle();
        line.X2 = file.readSingle();
        line.Y2 = file.readSingle();
        line.Visible = true;
    }
}

void readShapes(PatternStream &file, Pattern &p)
{
    if (file.remaining() >= p.shapes.size() * ShapeRecordBytes) {
        const unsigned char *at = file.take(p.shapes.size() * ShapeRecordBytes).data();
        for (PatternShape &shape : p.shapes) {
            shape.Shape = PatternStream::integerAt(at);
            shape.Top = PatternStream::singleAt(at + 2);
            shape.Left = PatternStream::singleAt(at + 6);
            shape.Height = PatternStream::singleAt(at + 10);
            shape.Width = PatternStream::singleAt(at + 14);
            shape.Visible = true;
            at += ShapeRecordBytes;
        }
        return;
    }
    for (PatternShape &shape : p.shapes) {
        shape.Shape = file.readInteger();
        shape.Top = file.readSingle();
        shape.Left = file.readSingle();
        shape.Height = file.readSingle();
        shape.Width = file.readSingle();
        shape.Visible = true;
    }
}

// The records and the picture after the settings; false when a count cannot be
// read in 16-bit arithmetic.
bool readElements(PatternStream &file, Pattern &p)
{
    // Records are read for 0 .. count - 1 in 16-bit arithmetic: -32768 overflows.
    const std::int16_t lines = file.readInteger();
    if (lines == -32768)
        return false;
    p.lines.resize(lines > 0 ? static_cast<std::size_t>(lines) : 0);
    readLines(file, p);
    const std::int16_t shapes = file.readInteger();
    if (shapes == -32768)
        return false;
    p.shapes.resize(shapes > 0 ? static_cast<std::size_t>(shapes) : 0);
    readShapes(file, p);

    p.hasPicture = file.readInteger() != 0;
    if (p.hasPicture) {
        p.pictureLength = file.readSingle();
        // Kept as stored; bytes missing at the file's end are left out rather
        // than padded.
        if (const auto blocks = PatternFormat::pictureBlocks(p.pictureLength)) {
            const long long total = static_cast<long long>(blocks->blocks) * PatternFormat::PictureBlockSize
                + (blocks->blocks >= 0 ? blocks->rest : 0);
            if (total > 0) {
                const auto stored = file.take(static_cast<std::size_t>(total));
                p.picture.assign(stored.begin(), stored.end());
            }
        }
    }
    return true;
}

ReadFailure formatUnknown(std::string settingAtFault = {})
{
    ReadFailure failure;
    failure.kind = ReadFailure::Kind::FormatUnknown;
    failure.settingAtFault = std::move(settingAtFault);
    return failure;
}

} // namespace

ReadResult readPattern(std::span<const unsigned char> bytes, SettingsStore &defaults, Pattern &&storage)
{
    ReadResult result;
    Pattern &p = result.pattern;
    // The arrays keep their storage: a batch then maps its pages once.
    p.lines = std::move(storage.lines);
    p.shapes = std::move(storage.shapes);
    p.lines.clear();
    p.shapes.clear();
    PatternStream file(bytes);
    // A stored setting, not the pattern, may be what failed the load.
    std::string settingAtFault;
    bool ok = false;
    try {
        if (PatternFormat::ReadHeader(file, p.header)) {
            LibDimension dimension;
            const bool settingsRead = PatternFormat::ReadSettings(file, p.header, dimension, defaults);
            p.settings = dimension.settings();
            settingAtFault = dimension.settingAtFault();
            ok = settingsRead && readElements(file, p);
        }
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (!ok)
        result.failure = formatUnknown(std::move(settingAtFault));
    return result;
}

ReadResult readPatternFile(const std::string &path, SettingsStore &defaults, FileBytes &buffer, Pattern &&storage)
{
    const PathStatus status = path.empty() ? PathStatus::Missing : pathStatus(path);
    if (status != PathStatus::Exists) {
        ReadResult result;
        result.failure = ReadFailure{status == PathStatus::NameTooLong ? ReadFailure::Kind::FileNameTooLong
                                                                       : ReadFailure::Kind::FileNotFound,
                                     path, {}};
        return result;
    }
    std::string error;
    if (!ReadFileBytes(path, MaxPatternBytes, buffer, error)) {
        ReadResult result;
        result.failure = formatUnknown();
        return result;
    }
    return readPattern(buffer, defaults, std::move(storage));
}

} // namespace orvane
