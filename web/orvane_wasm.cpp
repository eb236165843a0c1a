// The core's public API as plain C functions for web/orvane.mjs, which
// copies bytes in and out of the WebAssembly memory. Each call replaces the
// previous call's result, which the exported getters read.

#include "orvane/orvane.h"

#include <emscripten/emscripten.h>

#include <string>

namespace {

struct LastResult {
    orvane::ConversionResult conversion;
    std::string text; // the window's message, or info's JSON
};

LastResult &last()
{
    static LastResult result;
    return result;
}

// The window shows each message in turn; one text holds them here, with the
// line breaks JavaScript uses.
std::string windowText(const std::vector<std::string> &messages)
{
    std::string text;
    for (const std::string &message : messages) {
        if (!text.empty())
            text += '\n';
        for (std::size_t i = 0; i < message.size(); ++i) {
            if (message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n')
                continue;
            text += message[i];
        }
    }
    return text;
}

} // namespace

extern "C" {

// Returns 1 when converted (orvane_bytes holds the output), 0 otherwise
// (orvane_text holds the message).
EMSCRIPTEN_KEEPALIVE int orvane_convert(const unsigned char *pattern, std::size_t size, const char *format,
                                        const char *width, const char *outputName)
{
    orvane::ConvertOptions options;
    options.format = format;
    options.width = width;
    options.outputName = outputName;
    LastResult &result = last();
    result.conversion = orvane::convert({pattern, size}, options);
    result.text = windowText(result.conversion.messages);
    return result.conversion.ok() ? 1 : 0;
}

// Returns 1 when the pattern loaded (orvane_text holds the JSON), 0 otherwise
// (orvane_text holds the message).
EMSCRIPTEN_KEEPALIVE int orvane_info(const unsigned char *pattern, std::size_t size)
{
    const orvane::InfoResult info = orvane::info({pattern, size});
    LastResult &result = last();
    result.conversion = {};
    result.text = info.ok ? info.json : windowText(info.messages);
    return info.ok ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE const unsigned char *orvane_bytes()
{
    return last().conversion.bytes.data();
}

EMSCRIPTEN_KEEPALIVE std::size_t orvane_bytes_size()
{
    return last().conversion.bytes.size();
}

EMSCRIPTEN_KEEPALIVE int orvane_pixels_x()
{
    return last().conversion.pixelsX;
}

EMSCRIPTEN_KEEPALIVE int orvane_pixels_y()
{
    return last().conversion.pixelsY;
}

EMSCRIPTEN_KEEPALIVE const char *orvane_text()
{
    return last().text.c_str();
}

// The format names, one a line.
EMSCRIPTEN_KEEPALIVE const char *orvane_formats()
{
    static std::string names;
    names.clear();
    for (const std::string &name : orvane::formatNames())
        names += name + '\n';
    return names.c_str();
}

EMSCRIPTEN_KEEPALIVE const char *orvane_version()
{
    return orvane::version();
}

} // extern "C"
