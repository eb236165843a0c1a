#pragma once

// Runs orvane-convert as a user would, with home, settings and cache in a temporary folder.

#include "fakes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

namespace orvane::testing {

struct ConvertResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// The path as one word of a shell command.
inline std::string quoted(std::string s)
{
    for (auto at = s.find('\''); at != std::string::npos; at = s.find('\'', at + 4))
        s.replace(at, 1, "'\\''");
    return "'" + s + "'";
}

inline std::string sh(const std::string &command) // standard output
{
    std::string out(std::size_t(1) << 22, '\0');
    FILE *pipe = ::popen(command.c_str(), "r");
    out.resize(pipe ? std::fread(out.data(), 1, out.size(), pipe) : 0);
    return pipe && ::pclose(pipe) == 0 ? out : "failed: " + out;
}

struct Gray { // a binary PGM
    std::string pgm;
    int width = 0;
    int height = 0;
    int at = 0;
    explicit Gray(const std::string &data) : pgm(data)
    {
        if (std::sscanf(pgm.c_str(), "P5 %d %d 255%n", &width, &height, &at) != 2
            || pgm.size() != std::size_t(at) + 1 + std::size_t(width) * std::size_t(height))
        {
            width = 0;
            height = 0;
        }
    }
    int value(int x, int y) const { return static_cast<unsigned char>(pgm[std::size_t(at + 1 + y * width + x)]); }
    bool ink(int x, int y, int below = 160) const // within one pixel of x, y
    {
        for (int j = std::max(0, y - 1); j <= std::min(height - 1, y + 1); ++j)
            for (int i = std::max(0, x - 1); i <= std::min(width - 1, x + 1); ++i)
                if (static_cast<unsigned char>(pgm[std::size_t(at + 1 + j * width + i)]) < below)
                    return true;
        return false;
    }
};


struct ConvertEnvironment {
    TempDir dir;

    std::string configHome() const { return dir.file("config"); }
    std::string picturePath() const { return dir.file("cache/Veltrum Orvane/vrtmimage.tmp"); }
    std::string workFolder() const { return dir.file("work"); }
    std::string file(const std::string &name) const
    {
        std::filesystem::create_directories(workFolder());
        return dir.file("work/" + name);
    }
    void writeSettings(const std::string &ini) const
    {
        std::filesystem::create_directories(dir.file("config/Veltrum Orvane"));
        writeFileBytes(dir.file("config/Veltrum Orvane/Veltrum Orvane.conf"), ini);
    }
    // The program run; another copy of it (without its module beside it) where set.
    std::string program = ORVANE_CONVERT;

    // stdoutTo: where standard output goes instead of the file out() reads,
    // as shell words ("| cat >FILE", ">>FILE", ">/dev/full").
    ConvertResult run(const std::vector<std::string> &args, const std::string &cwd = ".",
                      const std::string &stdoutTo = {}) const
    {
        std::filesystem::create_directories(dir.file("home"));
        std::string command = "cd " + quoted(cwd) + " && env XDG_CACHE_HOME=" + quoted(dir.file("cache"))
                              + " HOME=" + quoted(dir.file("home")) + " XDG_CONFIG_HOME=" + quoted(configHome())
                              + " " + quoted(program);
        for (const std::string &a : args)
            command += " " + quoted(a);
        command += " </dev/null 2>" + quoted(dir.file("err"));
        command += " " + (stdoutTo.empty() ? ">" + quoted(dir.file("out")) : stdoutTo);
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFileText(dir.file("out")),
                readFileText(dir.file("err"))};
    }
};

// A window's message as orvane-convert prints it: one line naming the input,
// the message's lines joined by spaces.
inline std::string failureLine(const std::string &input, const std::string &text)
{
    std::string joined;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        if (end > at)
            joined += (joined.empty() ? "" : " ") + text.substr(at, end - at);
        at = end + 1;
    }
    return "orvane-convert: " + input + ": " + joined + "\n";
}

} // namespace orvane::testing
