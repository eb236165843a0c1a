#pragma once

// Reading an open handle to its end, for files and for standard input alike.

#include <algorithm>
#include <cstddef>
#include <windows.h>

namespace orvane {

// Appends what handle holds to bytes, until its end or until bytes holds
// limit; returns ERROR_SUCCESS, or the system's code for the read that failed.
template <typename Bytes>
DWORD readHandle(HANDLE handle, std::size_t limit, Bytes &bytes)
{
    unsigned char chunk[64 * 1024];
    while (bytes.size() < limit) {
        DWORD got = 0;
        const auto want = static_cast<DWORD>(std::min(sizeof chunk, limit - bytes.size()));
        if (!::ReadFile(handle, chunk, want, &got, nullptr))
            return ::GetLastError();
        if (got == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    return ERROR_SUCCESS;
}

} // namespace orvane
