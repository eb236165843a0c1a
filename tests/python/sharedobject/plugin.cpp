// A shared object with the library linked in, as a Python module or a plugin holds it.

#include <orvane/orvane.h>

#include <algorithm>
#include <cstddef>

// Writes up to capacity bytes of pattern's plain metafile to out; returns the
// metafile's size, 0 when the pattern does not convert.
extern "C" __attribute__((visibility("default"))) std::size_t orvane_plugin_convert(const unsigned char *pattern,
                                                                                   std::size_t size,
                                                                                   unsigned char *out,
                                                                                   std::size_t capacity)
{
    const orvane::ConversionResult result = orvane::convert({pattern, size});
    if (!result.ok())
        return 0;
    std::copy_n(result.bytes.begin(), std::min(capacity, result.bytes.size()), out);
    return result.bytes.size();
}
