#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace orvane {

// Float arithmetic is done in double and a stored result is rounded to a
// 32-bit float; a result that a float cannot hold is a floating-point fault.
inline std::optional<float> storeSingle(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const float stored = static_cast<float>(value);
    if (!std::isfinite(stored))
        return std::nullopt;
    return stored;
}

// Nearest integer, halves to the even neighbour (the default rounding mode).
inline double roundHalfEven(double value)
{
    return std::nearbyint(value);
}

inline std::optional<std::int32_t> roundToLong(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = roundHalfEven(value);
    if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

// As roundHalfEven, then the 16-bit range: false (and out 0) when the result
// does not fit. Within the range, adding and taking away 1.5 x 2^52 rounds as
// the default rounding mode does, without a call into the maths library: a
// scene rounds four coordinates per element.
inline bool roundIntoInteger(double value, std::int16_t &out)
{
    // Everything that cannot round into the range goes first, NaN included.
    if (!(value > -32769.0 && value < 32768.0)) {
        out = 0;
        return false;
    }
#if FLT_EVAL_METHOD == 0
    constexpr double Shift = 6755399441055744.0;
    const double r = (value + Shift) - Shift;
#else
    // Wider intermediate results (x87) would round twice.
    const double r = roundHalfEven(value);
#endif
    const bool fits = r >= std::numeric_limits<std::int16_t>::min() && r <= std::numeric_limits<std::int16_t>::max();
    out = fits ? static_cast<std::int16_t>(r) : std::int16_t(0);
    return fits;
}

inline std::optional<std::int16_t> roundToInteger(double value)
{
    std::int16_t out = 0;
    if (!roundIntoInteger(value, out))
        return std::nullopt;
    return out;
}

// 16-bit signed arithmetic that reports overflow instead of wrapping.
inline std::optional<std::int16_t> checkedInteger(std::int32_t value)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

} // namespace orvane
