#pragma once

#include <QColor>
#include <QFile>
#include <QString>

#include <cstdint>
#include <string>

namespace orvane {

// Paths and texts of the core are in the local 8-bit encoding.
inline QString fromNative(const std::string &text)
{
    return QFile::decodeName(QByteArray::fromStdString(text));
}

// Colours are stored 0x00BBGGRR.
inline QColor toQColor(std::uint32_t color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace orvane
