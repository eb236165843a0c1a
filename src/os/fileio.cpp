#include "fileio.h"

#include <chrono>
#include <thread>

namespace orvane {

bool retryFor(int milliseconds, const std::function<bool()> &attempt)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!attempt()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace orvane
