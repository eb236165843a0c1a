#pragma once

// Runs orvane-convert as a user would (posix_spawn), with a private HOME,
// XDG_CACHE_HOME and XDG_CONFIG_HOME inside a temporary folder, and collects
// its exit status and what it printed.

#include "fakes.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace orvane::testing {

struct ConvertResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class ConvertEnvironment {
public:
    ConvertEnvironment()
    {
        std::filesystem::create_directories(home());
        // The cache and config folders are created by whoever needs them.
    }

    std::string home() const { return m_dir.file("home"); }
    std::string cacheHome() const { return m_dir.file("cache"); }
    std::string configHome() const { return m_dir.file("config"); }
    std::string pictureFolder() const { return cacheHome() + "/Veltrum Orvane"; }
    std::string picturePath() const { return pictureFolder() + "/vrtmimage.tmp"; }
    std::string settingsFile() const { return configHome() + "/Veltrum Orvane/Veltrum Orvane.conf"; }

    // A path inside a work folder for inputs and outputs.
    std::string file(const std::string &name) const
    {
        std::filesystem::create_directories(m_dir.file("work"));
        return m_dir.file("work/" + name);
    }
    std::string workFolder() const { return m_dir.file("work"); }

    void writeSettings(const std::string &ini) const
    {
        std::filesystem::create_directories(configHome() + "/Veltrum Orvane");
        writeFileBytes(settingsFile(), ini);
    }

    // Variables to set (or, with an empty value and unset true, to remove).
    std::map<std::string, std::string> extraEnv;
    std::vector<std::string> unsetEnv;

    ConvertResult run(const std::vector<std::string> &args, const std::string &cwd = {}) const
    {
        ConvertResult result;
        const std::string outPath = m_dir.file("stdout.txt");
        const std::string errPath = m_dir.file("stderr.txt");

        std::map<std::string, std::string> env;
        for (char **e = environ; *e; ++e) {
            const std::string entry = *e;
            const auto eq = entry.find('=');
            if (eq != std::string::npos)
                env[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        env["HOME"] = home();
        env["XDG_CACHE_HOME"] = cacheHome();
        env["XDG_CONFIG_HOME"] = configHome();
        for (const auto &[k, v] : extraEnv)
            env[k] = v;
        for (const std::string &k : unsetEnv)
            env.erase(k);
        std::vector<std::string> envStrings;
        for (const auto &[k, v] : env)
            envStrings.push_back(k + "=" + v);
        std::vector<char *> envp;
        for (std::string &s : envStrings)
            envp.push_back(s.data());
        envp.push_back(nullptr);

        std::vector<std::string> argStrings = {ORVANE_CONVERT};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<char *> argv;
        for (std::string &s : argStrings)
            argv.push_back(s.data());
        argv.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (!cwd.empty())
            posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0) {
            result.err = "cannot start " + std::string(ORVANE_CONVERT);
            return result;
        }
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.out = text(outPath);
        result.err = text(errPath);
        return result;
    }

private:
    static std::string text(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    TempDir m_dir;
};

// The window's message text as orvane-convert prints it: CR LF as LF.
inline std::string plainMessage(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

} // namespace orvane::testing
