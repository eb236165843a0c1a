#include "libemf.h"

#include "metafilerecorder.h"
#include "document/numeric.h"
#include "shell/commondialog.h"
#include "shell/libid.h"
#include "shell/messagebox.h"
#include "view/drawing.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvane::LibEMF {

namespace {

constexpr std::uint32_t BrushColor = 0x000000FF;
constexpr std::uint16_t BrushHatch = 1;

// R(): formed in double from the float operands, nearest integer, halves to
// even; anything a 16-bit field cannot hold is refused rather than wrapped.
std::optional<std::int16_t> coordinate(double value)
{
    return roundToInteger(value);
}

bool writeAll(int fd, const unsigned char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

BuildResult BuildMetafile(const Drawing &drawing, float patternWidth, float patternHeight, float pixelsX,
                          float pixelsY)
{
    BuildResult result;
    if (!(patternWidth != 0) || !(patternHeight != 0)) {
        result.error = BuildError::EmptyPage;
        return result;
    }
    const float scaleX = static_cast<float>(static_cast<double>(pixelsX) / patternWidth);
    const float scaleY = static_cast<float>(static_cast<double>(pixelsY) / patternHeight);

    MetafileRecorder recorder;
    recorder.reserve(static_cast<std::size_t>(drawing.OutLine.count()) * 2 + drawing.OutShape.count() + 8);
    const std::uint16_t brush = recorder.createBrushIndirect(MetafileRecorder::BrushStyleNull, BrushColor, BrushHatch);
    recorder.selectObject(brush);

    for (const PatternLine &line : drawing.OutLine) {
        if (!line.Visible)
            continue;
        const auto x1 = coordinate(static_cast<double>(line.X1) * scaleX);
        const auto y1 = coordinate(static_cast<double>(line.Y1) * scaleY);
        const auto x2 = coordinate(static_cast<double>(line.X2) * scaleX);
        const auto y2 = coordinate(static_cast<double>(line.Y2) * scaleY);
        if (!x1 || !y1 || !x2 || !y2) {
            result.error = BuildError::CoordinateRange;
            return result;
        }
        recorder.moveTo(*x1, *y1);
        recorder.lineTo(*x2, *y2);
    }
    for (const PatternShape &shape : drawing.OutShape) {
        if (!shape.Visible)
            continue;
        const double left = shape.Left;
        const double top = shape.Top;
        const auto l = coordinate(left * scaleX);
        const auto t = coordinate(top * scaleY);
        const auto r = coordinate((left + shape.Width) * scaleX);
        const auto b = coordinate((top + shape.Height) * scaleY);
        if (!l || !t || !r || !b) {
            result.error = BuildError::CoordinateRange;
            return result;
        }
        if (isEllipseKind(shape.Shape))
            recorder.ellipse(*l, *t, *r, *b);
        else
            recorder.rectangle(*l, *t, *r, *b);
    }
    // Selecting the previous brush back draws nothing and leaves no record.
    recorder.deleteObject(brush);
    result.bytes = recorder.finish();
    return result;
}

bool WriteFileReplacing(const std::string &path, const std::vector<unsigned char> &bytes, std::string &error)
{
    std::string temp = folderOf(path) + "/.orvane-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; give it what a newly created file or the
    // file it replaces would have.
    struct stat existing {};
    mode_t mode;
    if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = writeAll(fd, bytes.data(), bytes.size());
    int savedErrno = errno;
    if (ok && ::fchmod(fd, mode) != 0) {
        // Not fatal: the contents are what matters.
    }
    if (ok && ::fsync(fd) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        error = std::strerror(savedErrno);
    }
    return ok;
}

std::string CreateErrorText(const std::string &path, BuildError error, const std::string &reason)
{
    std::string text = "Error creating metafile " + path + ".";
    switch (error) {
    case BuildError::EmptyPage:
        text += "\r\n\r\nThe pattern page has no width or height to scale from.";
        break;
    case BuildError::CoordinateRange:
        text += "\r\n\r\nA point of the pattern lies outside the range a metafile can hold "
                "(-32768 to 32767). Choose a smaller pattern size.";
        break;
    case BuildError::None:
        if (!reason.empty())
            text += "\r\n\r\n" + reason;
        break;
    }
    return text;
}

bool SaveMetafileTo(float PixelsX, float PixelsY, const std::string &Filename, const Drawing &drawing,
                    float patternWidth, float patternHeight, MessageBox &box)
{
    const BuildResult built = BuildMetafile(drawing, patternWidth, patternHeight, PixelsX, PixelsY);
    std::string reason;
    if (built.error == BuildError::None && WriteFileReplacing(Filename, built.bytes, reason))
        return true;
    box.beep();
    box.showMessage(CreateErrorText(Filename, built.error, reason), MessageExclamation, LibId::ApplicationTitle());
    return false;
}

bool SaveMetafile(float PixelsX, float PixelsY, std::string &Filename, const Drawing &drawing, float patternWidth,
                  float patternHeight, CommonDialog &dialog, MessageBox &box)
{
    dialog.Filter = "Windows Metafile (*.wmf)|*.wmf";
    dialog.FilterIndex = 1;
    dialog.FileName.clear();
    dialog.Flags = CommonDialog::OverwritePrompt | CommonDialog::HideReadOnly | CommonDialog::PathMustExist;
    const DialogOutcome outcome = dialog.ShowSave();
    Filename = dialog.FileName;
    if (outcome == DialogOutcome::Cancelled && dialog.CancelError) {
        Filename.clear();
        return false;
    }
    if (outcome != DialogOutcome::Accepted || Filename.empty()) {
        if (outcome == DialogOutcome::Cancelled)
            return false;
        box.beep();
        box.showMessage("Error selecting file.", MessageExclamation, LibId::ApplicationTitle());
        return false;
    }
    return SaveMetafileTo(PixelsX, PixelsY, Filename, drawing, patternWidth, patternHeight, box);
}

} // namespace orvane::LibEMF
