#include "libfile.h"

#include "document/mirrorform.h"
#include "document/patternsettings.h"
#include "document/patternstream.h"
#include "document/temporarypicture.h"
#include "platform/fileio.h"
#include "platform/libid.h"
#include "platform/libmessage.h"
#include "platform/libprogress.h"
#include "platform/settingsstore.h"
#include "view/libdraw.h"
#include "view/workform.h"

#include <new>

namespace orvane {

bool LibFile::LoadPattern(const std::string &fileName)
{
    if (!FileExists(fileName, true))
        return false;
    return ReadPattern(fileName);
}

bool LibFile::FileExists(const std::string &path, bool showMessage)
{
    const PathStatus status = pathStatus(path);
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
    PatternStream file;
    m_s.dimension.forgetSettingAtFault();
    bool ok = false;
    try {
        ok = file.open(fileName) && readAll(file);
    } catch (const std::bad_alloc &) {
        ok = false;
    }
    if (!ok) {
        // A stored setting, not the pattern, may be what failed the load.
        const std::string &key = m_s.dimension.settingAtFault();
        m_s.messages.MsgFormatUnknown(
            key.empty() ? std::string() : LibMessage::SettingAtFaultText(key, m_s.settings.location(LibId::ProductName())));
        m_s.progress.EndProgress();
        file.close();
        return false;
    }
    m_s.progress.EndProgress();
    file.close();
    return true;
}

bool LibFile::readAll(PatternStream &file)
{
    LibProgress &progress = m_s.progress;
    m_picturePath.clear();
    m_pictureBytes = 0;

    progress.StartProgress(0, 1, "Loading Pattern - Header", false);
    if (!PatternFormat::ReadHeader(file, m_header))
        return false;
    progress.StepProgress(1);

    if (!PatternFormat::ReadSettings(file, m_header, m_s.dimension, m_s.settings))
        return false;
    m_s.mirror.setPatternWidth(m_s.dimension.PageWidthTwips());
    m_s.mirror.setPatternHeight(m_s.dimension.PageHeightTwips());

    Drawing &drawing = m_s.workForm.drawing();
    const auto reserveLines = [&](int n) {
        drawing.reserveLines(n);
        m_s.mirror.reserveLines(n);
    };
    const auto reserveShapes = [&](int n) {
        drawing.reserveShapes(n);
        m_s.mirror.reserveShapes(n);
    };
    if (!readRecords(file, "Loading Pattern - Lines", reserveLines, [&] { return ReadLineRecord(file); })
        || !readRecords(file, "Loading Pattern - Shapes", reserveShapes, [&] { return ReadShapeRecord(file); }))
        return false;

    progress.StartProgress(0, 1, "Loading Pattern - Image", false);
    if (!ReadPicture(file))
        return false;
    progress.StepProgress(1);
    return true;
}

template <typename Reserve, typename ReadOne>
bool LibFile::readRecords(PatternStream &file, const char *header, Reserve reserve, ReadOne readOne)
{
    // Records are read for 0 .. count - 1 in 16-bit arithmetic: -32768 overflows.
    const std::int16_t count = file.readInteger();
    if (count == -32768)
        return false;
    if (count > 0)
        reserve(count);
    m_s.progress.StartProgress(0, count, header, false);
    for (int i = 0; i < count; ++i) {
        if (!readOne())
            return false;
        m_s.progress.StepProgress(1);
    }
    return true;
}

bool LibFile::ReadLineRecord(PatternStream &file)
{
    const auto index = LibDraw::AddLine(m_s.workForm.drawing(), m_s.mirror);
    if (!index || file.failed())
        return false;
    PatternLine &line = m_s.workForm.drawing().OutLine.member(*index);
    line.X1 = file.readSingle();
    line.Y1 = file.readSingle();
    line.X2 = file.readSingle();
    line.Y2 = file.readSingle();
    m_s.workForm.drawing().OutLine.setVisible(*index, true);
    m_s.mirror.mLine(*index, line.X1, line.Y1, line.X2, line.Y2, false);
    return true;
}

bool LibFile::ReadShapeRecord(PatternStream &file)
{
    const auto index = LibDraw::AddShape(m_s.workForm.drawing(), m_s.mirror);
    if (!index || file.failed())
        return false;
    PatternShape &shape = m_s.workForm.drawing().OutShape.member(*index);
    shape.Shape = file.readInteger();
    shape.Top = file.readSingle();
    shape.Left = file.readSingle();
    shape.Height = file.readSingle();
    shape.Width = file.readSingle();
    m_s.workForm.drawing().OutShape.setVisible(*index, true);
    m_s.mirror.mShape(*index, shape.Shape, shape.Top, shape.Left, shape.Height, shape.Width, false);
    return true;
}

bool LibFile::ReadPicture(PatternStream &file)
{
    // A read error up to the picture flag (not a short file, which reads as
    // zeros) fails the load; one in the picture bytes only fails the copy.
    const std::int16_t flag = file.readInteger();
    if (file.failed())
        return false;
    if (flag != 0) {
        m_picturePath = m_s.picture.path();
        if (CopyPicture(file))
            return true;
    }
    m_picturePath.clear();
    m_pictureBytes = 0;
    return true;
}

bool LibFile::CopyPicture(PatternStream &file)
{
    TemporaryPicture &picture = m_s.picture;
    if (!picture.open()) {
        m_s.messages.MsgTempFileNotOpened(m_picturePath);
        m_s.messages.MsgPictureNotLoaded();
        picture.close();
        return false;
    }
    const auto blocks = PatternFormat::pictureBlocks(file.readSingle());
    bool writeFailed = false;
    long long copied = 0;
    if (blocks) {
        // Streamed straight from the pattern file; bytes missing at its end
        // are left out rather than padded.
        const long long total = static_cast<long long>(blocks->blocks) * PatternFormat::PictureBlockSize
            + (blocks->blocks >= 0 ? blocks->rest : 0);
        if (total > 0)
            copied = static_cast<long long>(file.copyTo(picture, static_cast<std::size_t>(total), writeFailed));
    }
    if (!blocks || writeFailed || file.failed() || !picture.finish(copied)) {
        m_s.messages.MsgPictureNotLoaded();
        picture.close();
        return false;
    }
    m_pictureBytes = copied;
    return true;
}

} // namespace orvane
