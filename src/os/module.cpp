#include "module.h"

#include "fileio.h"

#if defined(_WIN32)

namespace orvane {

void *loadModuleFunction(const std::string &, const char *, std::string &error)
{
    error = "modules are not available in this build";
    return nullptr;
}

bool canLoadModules()
{
    return false;
}

std::string programFolder()
{
    return {};
}

} // namespace orvane

#else

#include <dlfcn.h>
#include <filesystem>
#include <sys/stat.h>

namespace orvane {

void *loadModuleFunction(const std::string &path, const char *function, std::string &error)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = "No such file or directory";
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "not a regular file";
        return nullptr;
    }
    void *module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char *why = ::dlerror();
        error = why ? why : "it could not be loaded";
        return nullptr;
    }
    void *entry = ::dlsym(module, function);
    if (!entry) {
        const char *why = ::dlerror();
        error = why ? why : std::string(function) + " is missing";
        ::dlclose(module);
    }
    return entry;
}

bool canLoadModules()
{
    return true;
}

std::string programFolder()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

} // namespace orvane

#endif
