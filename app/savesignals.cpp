#include "savesignals.h"

#ifndef _WIN32
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>
#endif

namespace orvane {

#ifndef _WIN32

namespace {

constexpr int Signals[2] = {SIGINT, SIGTERM};

// The one name a handler may remove; it touches nothing else.
char g_temporaryName[PATH_MAX];
volatile std::sig_atomic_t g_temporaryArmed = 0;

extern "C" void removeTemporaryAndRaise(int signal)
{
    if (g_temporaryArmed)
        ::unlink(g_temporaryName);
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal);
}

// The two signals held back while the name and the file come and go together.
class BlockedSignals {
public:
    BlockedSignals()
    {
        sigset_t block;
        sigemptyset(&block);
        for (const int signal : Signals)
            sigaddset(&block, signal);
        ::pthread_sigmask(SIG_BLOCK, &block, &m_old);
    }
    ~BlockedSignals() { ::pthread_sigmask(SIG_SETMASK, &m_old, nullptr); }

private:
    sigset_t m_old;
};

} // namespace

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

SaveSignals::SaveSignals()
{
    for (int i = 0; i < 2; ++i) {
        struct sigaction current {};
        ::sigaction(Signals[i], nullptr, &current);
        if (current.sa_handler != SIG_DFL)
            continue;
        struct sigaction handler {};
        handler.sa_handler = removeTemporaryAndRaise;
        m_installed[i] = ::sigaction(Signals[i], &handler, nullptr) == 0;
    }
}

SaveSignals::~SaveSignals()
{
    for (int i = 0; i < 2; ++i) {
        if (!m_installed[i])
            continue;
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        ::sigaction(Signals[i], &fallback, nullptr);
    }
}

bool SaveSignals::create(const std::string &name, const std::function<bool()> &make)
{
    // No signal may find the file made but its name unknown.
    const BlockedSignals blocked;
    const bool made = make();
    const int savedErrno = errno;
    if (made && name.size() < sizeof g_temporaryName) {
        std::memcpy(g_temporaryName, name.c_str(), name.size() + 1);
        g_temporaryArmed = 1;
    }
    errno = savedErrno;
    return made;
}

void SaveSignals::forget()
{
    g_temporaryArmed = 0;
}

#else

void ignoreFileSizeSignal() {}

SaveSignals::SaveSignals() = default;
SaveSignals::~SaveSignals() = default;

bool SaveSignals::create(const std::string &, const std::function<bool()> &make)
{
    return make();
}

void SaveSignals::forget() {}

#endif

} // namespace orvane
