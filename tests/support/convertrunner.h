#pragma once

// Runs orvane-convert as a user would, with HOME, XDG_CACHE_HOME and
// XDG_CONFIG_HOME inside a temporary folder, and reads its --info output.

#include "fakes.h"

#include <fcntl.h>
#include <algorithm>
#include <map>
#include <regex>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace orvane::testing {

struct ConvertResult {
    int exitCode = -1;
    std::string out, err;
};

class ConvertEnvironment {
public:
    std::string home() const { return m_dir.file("home"); }
    std::string configHome() const { return m_dir.file("config"); }
    std::string pictureFolder() const { return m_dir.file("cache/Veltrum Orvane"); }
    std::string picturePath() const { return pictureFolder() + "/vrtmimage.tmp"; }
    std::string workFolder() const { return m_dir.file("work"); }
    std::string file(const std::string &name) const
    {
        std::filesystem::create_directories(workFolder());
        return m_dir.file("work/" + name);
    }
    void writeSettings(const std::string &ini) const
    {
        std::filesystem::create_directories(configHome() + "/Veltrum Orvane");
        writeFileBytes(configHome() + "/Veltrum Orvane/Veltrum Orvane.conf", ini);
    }

    bool withCacheHome = true;

    ConvertResult run(const std::vector<std::string> &args, const std::string &cwd = {}) const
    {
        std::filesystem::create_directories(home());
        std::vector<std::string> env = {"HOME=" + home(), "XDG_CONFIG_HOME=" + configHome()};
        if (withCacheHome)
            env.push_back("XDG_CACHE_HOME=" + m_dir.file("cache"));
        for (char **e = environ; *e; ++e) {
            const std::string entry = *e, name = entry.substr(0, entry.find('='));
            if (name != "HOME" && name != "XDG_CONFIG_HOME" && name != "XDG_CACHE_HOME")
                env.push_back(entry);
        }
        std::vector<std::string> argStrings = {ORVANE_CONVERT};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<char *> argv, envp;
        for (std::string &s : argStrings)
            argv.push_back(s.data());
        for (std::string &s : env)
            envp.push_back(s.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);

        const std::string outPath = m_dir.file("stdout.txt"), errPath = m_dir.file("stderr.txt");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (!cwd.empty())
            posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
        pid_t pid = 0;
        ConvertResult result;
        const bool started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        if (!started || ::waitpid(pid, &status, 0) != pid)
            return result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        const auto text = [](const std::string &path) {
            const auto bytes = readFileBytes(path);
            return std::string(bytes.begin(), bytes.end());
        };
        result.out = text(outPath);
        result.err = text(errPath);
        return result;
    }

private:
    TempDir m_dir;
};

// The window's message as orvane-convert prints it: one line naming the
// input, the message's lines joined by spaces.
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

// The members of a --info line, nested ones too, by name: the value's text
// as printed (a string keeps its quotes, an array its brackets, an object is
// "{"); "<missing>" for a name not there.
struct InfoMembers : std::map<std::string, std::string> {
    std::string operator[](const std::string &name) const
    {
        const auto it = find(name);
        return it == end() ? "<missing>" : it->second;
    }
};

inline InfoMembers infoMembers(const std::string &json)
{
    static const std::regex member(R"re("(\w+)":(\[[^\]]*\]|"(?:[^"\\]|\\.)*"|\{|[^,{}\]]+))re");
    InfoMembers m;
    for (std::sregex_iterator it(json.begin(), json.end(), member), end; it != end; ++it)
        m.emplace((*it)[1], (*it)[2]);
    return m;
}

} // namespace orvane::testing
