#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace orvane {

// Status of one conversion step.
enum StepState : std::int16_t {
    StepNotDone = 0,
    StepDone = 1,
    StepSkipped = 2,
    StepFailed = 3,
};

constexpr int StepCount = 5;
using StepStates = std::array<std::int16_t, StepCount>;

// Indicator colour of a state, 0x00BBGGRR; nullopt for a value outside 0..3.
inline std::optional<std::uint32_t> indicatorColor(std::int16_t state)
{
    switch (state) {
    case StepNotDone:
        return 0xFFFFFFu;
    case StepDone:
        return 0x00FF00u;
    case StepSkipped:
        return 0x00FFFFu;
    case StepFailed:
        return 0x0000FFu;
    default:
        return std::nullopt;
    }
}

// Later steps mark earlier optional steps that never ran as skipped.
inline void markSkipped(StepStates &states, int first, int last)
{
    for (int i = first; i <= last; ++i)
        if (states[static_cast<std::size_t>(i)] == StepNotDone)
            states[static_cast<std::size_t>(i)] = StepSkipped;
}

} // namespace orvane
