#include "temporarypicture.h"

#include "document/pattern.h"
#include "os/fileio.h"

namespace orvane {

std::string TemporaryPicture::defaultFolder()
{
    const std::string base = userCacheFolder();
    if (base.empty())
        return std::string();
    return joinPath(base, "Veltrum Orvane");
}

std::string TemporaryPicture::path() const
{
    // Without a folder nothing is tried, and no path is named.
    if (m_folder.empty())
        return std::string();
    return joinPath(m_folder, FileName);
}

bool TemporaryPicture::open()
{
    return isAbsolutePath(m_folder) && preparePrivateFolder(m_folder) && isReplaceableFile(path());
}

bool TemporaryPicture::store(const std::vector<unsigned char> &bytes, std::string &reason)
{
    return WriteFileReplacing(path(), bytes, reason);
}

PictureCopy TemporaryPicture::copy(const Pattern &pattern)
{
    PictureCopy result;
    if (!pattern.hasPicture)
        return result;
    result.path = path();
    if (!open())
        result.outcome = PictureCopy::Outcome::NotOpened;
    else if (!PatternFormat::pictureBlocks(pattern.pictureLength))
        result.outcome = PictureCopy::Outcome::NotCopyable;
    else if (!store(pattern.picture, result.reason))
        result.outcome = PictureCopy::Outcome::NotWritten;
    else {
        result.outcome = PictureCopy::Outcome::Copied;
        result.bytes = static_cast<long long>(pattern.picture.size());
    }
    return result;
}

} // namespace orvane
