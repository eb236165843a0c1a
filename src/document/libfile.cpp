#include "libfile.h"

#include "patternstream.h"
#include "temporarypicture.h"
#include "platform/fileio.h"
#include "platform/libid.h"
#include "platform/libmessage.h"
#include "platform/settingsstore.h"

#include <new>
#include <vector>

namespace orvane {

bool LibFile::LoadPattern(const std::string &fileName)
{
    if (!FileExists(fileName, true))
        return false;
    return ReadPattern(fileName);
}

bool LibFile::FileExists(const std::string &path, bool showMessage)
{
    const PathStatus status = path.empty() ? PathStatus::Missing : pathStatus(path);
    if (status == PathStatus::Exists)
        return true;
    if (showMessage && status == PathStatus::NameTooLong)
        m_s.messages.MsgFileNameTooLong(path);
    else if (showMessage)
        m_s.messages.MsgFileNotFound(path);
    return false;
}

bool LibFile::ReadPattern(const std::string &fileName)
{
    std::string error;
    // A file that cannot be read (a folder, a device, a pipe) is no pattern.
    if (!ReadFileBytes(fileName, MaxPatternBytes, m_fileBytes, error)) {
        m_pattern = Pattern();
        m_s.messages.MsgFormatUnknown();
        return false;
    }
    return ReadPattern(m_fileBytes);
}

bool LibFile::ReadPattern(std::span<const unsigned char> bytes)
{
    PatternStream file(bytes);
    // The arrays keep their storage: a batch then maps its pages once.
    auto lines = std::move(m_pattern.lines);
    auto shapes = std::move(m_pattern.shapes);
    lines.clear();
    shapes.clear();
    m_pattern = Pattern();
    m_pattern.lines = std::move(lines);
    m_pattern.shapes = std::move(shapes);
    m_settingAtFault.clear();
    bool ok = false;
    try {
        ok = readAll(file);
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (!ok) {
        // A stored setting, not the pattern, may be what failed the load.
        const std::string &key = m_settingAtFault;
        m_s.messages.MsgFormatUnknown(
            key.empty() ? std::string() : LibMessage::SettingAtFaultText(key, m_s.settings.location(LibId::ProductName())));
        return false;
    }
    CopyPicture();
    return true;
}

bool LibFile::readAll(PatternStream &file)
{
    Pattern &p = m_pattern;
    if (!PatternFormat::ReadHeader(file, p.header))
        return false;
    LibDimension dimension;
    const bool settingsRead = PatternFormat::ReadSettings(file, p.header, dimension, m_s.settings);
    p.settings = dimension.settings();
    m_settingAtFault = dimension.settingAtFault();
    if (!settingsRead)
        return false;

    // Records are read for 0 .. count - 1 in 16-bit arithmetic: -32768 overflows.
    const std::int16_t lines = file.readInteger();
    if (lines == -32768)
        return false;
    p.lines.resize(lines > 0 ? static_cast<std::size_t>(lines) : 0);
    for (PatternLine &line : p.lines) {
        line.X1 = file.readSingle();
        line.Y1 = file.readSingle();
        line.X2 = file.readSingle();
        line.Y2 = file.readSingle();
        line.Visible = true;
    }
    const std::int16_t shapes = file.readInteger();
    if (shapes == -32768)
        return false;
    p.shapes.resize(shapes > 0 ? static_cast<std::size_t>(shapes) : 0);
    for (PatternShape &shape : p.shapes) {
        shape.Shape = file.readInteger();
        shape.Top = file.readSingle();
        shape.Left = file.readSingle();
        shape.Height = file.readSingle();
        shape.Width = file.readSingle();
        shape.Visible = true;
    }

    p.hasPicture = file.readInteger() != 0;
    if (p.hasPicture) {
        p.pictureLength = file.readSingle();
        // Streamed as stored; bytes missing at the file's end are left out
        // rather than padded.
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

void LibFile::CopyPicture()
{
    Pattern &p = m_pattern;
    if (!p.hasPicture || !m_s.picture)
        return;
    TemporaryPicture &picture = *m_s.picture;
    const std::string path = picture.path();
    if (!picture.open()) {
        m_s.messages.MsgTempFileNotOpened(path);
        m_s.messages.MsgPictureNotLoaded();
        return;
    }
    if (!PatternFormat::pictureBlocks(p.pictureLength) || !picture.store(p.picture)) {
        m_s.messages.MsgPictureNotLoaded();
        return;
    }
    p.picturePath = path;
    p.pictureBytes = static_cast<long long>(p.picture.size());
}

} // namespace orvane
