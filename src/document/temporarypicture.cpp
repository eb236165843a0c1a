#include "temporarypicture.h"

#include "platform/fileio.h"

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

bool TemporaryPicture::store(const std::vector<unsigned char> &bytes)
{
    std::string error;
    return WriteFileReplacing(path(), bytes, error);
}

} // namespace orvane
