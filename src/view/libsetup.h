#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace orvane {

// Lookup tables: nothing in the program assigns them, so they keep their
// initial values (empty folders, black, no stored pen width).
class LibSetup {
public:
    std::string SetupFolder(int index) const { return m_folders.at(checked(index, m_folders.size())); }
    std::uint32_t DrawColor(int index) const { return m_colors.at(checked(index, m_colors.size())); }
    std::int16_t PenWidth() const { return m_penWidth > 0 ? m_penWidth : std::int16_t(1); }

private:
    static std::size_t checked(int index, std::size_t size)
    {
        if (index < 0 || static_cast<std::size_t>(index) >= size)
            throw std::out_of_range("subscript out of range");
        return static_cast<std::size_t>(index);
    }

    std::array<std::string, 3> m_folders{};
    std::array<std::uint32_t, 2> m_colors{};
    std::int16_t m_penWidth = 0;
};

} // namespace orvane
