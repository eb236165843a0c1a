#include "windowspath.h"

namespace orvane {

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool isDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

bool isAbsoluteWindowsPath(std::string_view path)
{
    if (path.size() < 3)
        return false;
    if (isDriveLetter(path[0]) && path[1] == ':' && isSeparator(path[2]))
        return true;
    return isSeparator(path[0]) && isSeparator(path[1]) && !isSeparator(path[2]);
}

std::string joinWindowsPath(std::string_view folder, std::string_view name)
{
    std::string joined(folder);
    if (joined.empty() || !isSeparator(joined.back()))
        joined += '\\';
    joined += name;
    return joined;
}

} // namespace orvane
