#include "os/console.h"
#include "readhandle.h"
#include "widen.h"

#include <algorithm>
#include <ostream>
#include <streambuf>
#include <windows.h>
#include <shellapi.h>

namespace orvane {

namespace {

bool isConsole(HANDLE handle)
{
    DWORD mode = 0;
    return ::GetConsoleMode(handle, &mode);
}

// The length of text's longest prefix that ends on a whole UTF-8 character.
std::size_t wholeCharacters(const std::string &text)
{
    const std::size_t size = text.size();
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, size); ++back) {
        const unsigned char c = static_cast<unsigned char>(text[size - back]);
        if ((c & 0xC0) == 0x80)
            continue;
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? size - back : size;
    }
    return size;
}

// Collects the text and hands it on at each flush: as UTF-16 to a console,
// as the same bytes to a file or pipe. A character cut by a flush waits for
// its rest.
class ConsoleBuffer : public std::streambuf {
public:
    explicit ConsoleBuffer(DWORD which) : m_handle(::GetStdHandle(which)) {}

protected:
    int_type overflow(int_type c) override
    {
        if (!traits_type::eq_int_type(c, traits_type::eof()))
            m_text.push_back(traits_type::to_char_type(c));
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char *text, std::streamsize count) override
    {
        m_text.append(text, static_cast<std::size_t>(count));
        return count;
    }

    int sync() override
    {
        const bool console = isConsole(m_handle);
        const std::size_t whole = console ? wholeCharacters(m_text) : m_text.size();
        bool ok = true;
        if (console) {
            const std::wstring wide = Widen(m_text.substr(0, whole));
            DWORD written = 0;
            ok = wide.empty() || ::WriteConsoleW(m_handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        } else {
            std::size_t done = 0;
            while (ok && done < whole) {
                DWORD written = 0;
                ok = ::WriteFile(m_handle, m_text.data() + done, static_cast<DWORD>(whole - done), &written, nullptr)
                    && written > 0;
                done += written;
            }
        }
        m_text.erase(0, whole);
        return ok ? 0 : -1;
    }

private:
    HANDLE m_handle;
    std::string m_text;
};

} // namespace

std::vector<std::string> commandLineArguments(int, char **)
{
    int count = 0;
    wchar_t **wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int k = 0; wide && k < count; ++k)
        arguments.push_back(Narrow(wide[k]));
    ::LocalFree(wide);
    return arguments;
}

// Every output operation flushes, as std::cerr does, so that the text and
// the bytes WriteStandardOutput sends keep their order.
std::ostream &standardOutputText()
{
    static ConsoleBuffer buffer(STD_OUTPUT_HANDLE);
    static std::ostream stream(&buffer);
    stream.setf(std::ios::unitbuf);
    return stream;
}

std::ostream &standardErrorText()
{
    static ConsoleBuffer buffer(STD_ERROR_HANDLE);
    static std::ostream stream(&buffer);
    stream.setf(std::ios::unitbuf);
    return stream;
}

bool standardErrorIsTerminal()
{
    return isConsole(::GetStdHandle(STD_ERROR_HANDLE));
}

bool readWholeStream(const std::string &path, std::size_t limit, std::vector<unsigned char> &bytes, std::string &error)
{
    bytes.clear();
    const HANDLE stream = path.empty()
        ? ::GetStdHandle(STD_INPUT_HANDLE)
        : ::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (stream == INVALID_HANDLE_VALUE || stream == nullptr) {
        error = systemErrorText(::GetLastError());
        return false;
    }
    const DWORD failure = readHandle(stream, limit, bytes);
    if (!path.empty())
        ::CloseHandle(stream);
    // A pipe whose writer has closed it ends this way.
    if (failure == ERROR_SUCCESS || failure == ERROR_BROKEN_PIPE)
        return true;
    error = systemErrorText(failure);
    bytes.clear();
    return false;
}

} // namespace orvane
