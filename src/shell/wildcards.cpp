#include "wildcards.h"

#include "os/utf8path.h"

#include <algorithm>
#include <filesystem>

namespace orvane {

namespace {

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The bytes of the UTF-8 character that starts at name[at].
std::size_t characterLength(std::string_view name, std::size_t at)
{
    std::size_t length = 1;
    while (at + length < name.size() && (static_cast<unsigned char>(name[at + length]) & 0xC0) == 0x80)
        ++length;
    return length;
}

bool lessInAnyCase(const std::string &a, const std::string &b)
{
    const auto fold = [](char x, char y) { return folded(x) < folded(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), fold))
        return true;
    return !std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), fold) && a < b;
}

} // namespace

bool matchesWildcard(std::string_view pattern, std::string_view name)
{
    if (pattern == "*.*")
        pattern = "*";
    // Where the last * stood, to let it take one more character on a mismatch.
    std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += characterLength(name, n);
        } else if (p < pattern.size() && folded(pattern[p]) == folded(name[n])) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            resume += characterLength(name, resume);
            n = resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> expandWildcards(const std::vector<std::string> &arguments)
{
    namespace fs = std::filesystem;
    std::vector<std::string> expanded;
    for (const std::string &argument : arguments) {
        std::size_t start = argument.find_last_of("/\\");
        start = start != std::string::npos ? start + 1 : argument.size() > 1 && argument[1] == ':' ? 2 : 0;
        const std::string folder = argument.substr(0, start), pattern = argument.substr(start);
        if (pattern.find_first_of("*?") == std::string::npos) {
            expanded.push_back(argument);
            continue;
        }
        std::vector<std::string> matches;
        std::error_code error;
        for (fs::directory_iterator entry(pathFromUtf8(folder.empty() ? "." : folder), error), end;
             !error && entry != end; entry.increment(error)) {
            const std::string name = utf8FromPath(entry->path().filename());
            std::error_code kind;
            if (!entry->is_directory(kind) && matchesWildcard(pattern, name))
                matches.push_back(folder + name);
        }
        std::sort(matches.begin(), matches.end(), lessInAnyCase);
        if (matches.empty())
            expanded.push_back(argument);
        expanded.insert(expanded.end(), matches.begin(), matches.end());
    }
    return expanded;
}

} // namespace orvane
