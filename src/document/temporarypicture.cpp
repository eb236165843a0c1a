#include "temporarypicture.h"

namespace orvane {

namespace {

// How long a load waits for another copy of the program to finish its copy.
constexpr int LockWaitMs = 3000;

} // namespace

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
    close();
    if (!isAbsolutePath(m_folder))
        return false;
    // Another copy of the program may be writing its picture; the lock keeps
    // each copy whole, so wait for it rather than fail at once.
    if (!m_file.open(m_folder, FileName) || !m_file.lockExclusive(LockWaitMs)) {
        m_file.close();
        return false;
    }
    return true;
}

} // namespace orvane
