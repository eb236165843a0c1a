#pragma once

// Byte-for-byte comparison whose failure shows where the two first differ.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace orvane::testing {

inline ::testing::AssertionResult sameBytes(const std::vector<unsigned char> &actual,
                                            const std::vector<unsigned char> &expected)
{
    const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end())
        return ::testing::AssertionSuccess();
    const auto offset = static_cast<std::size_t>(a - actual.begin());
    auto result = ::testing::AssertionFailure();
    result << "first difference at offset " << offset << " of " << actual.size() << " and " << expected.size()
           << " bytes: ";
    if (a == actual.end())
        result << "the first ends there";
    else if (e == expected.end())
        result << "the second ends there";
    else
        result << "0x" << std::hex << int(*a) << " against 0x" << int(*e);
    return result;
}

} // namespace orvane::testing
