#pragma once

#include <cassert>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "os/populatedallocator.h"

namespace orvane {

// Indexed element array: member 0 is a hidden template that exists from the
// start, members are only added at Count as hidden copies of member 0, and
// hidden members are free slots.
//
// Visibility goes through setVisible() so the array can remember the lowest
// index that may be hidden; the free-slot search then starts there instead of
// at member 0, which keeps a whole load linear rather than quadratic.
template <typename Element>
class ElementArray {
public:
    static constexpr int MaxCount = 32767;

    ElementArray() { m_members.emplace_back(); }

    std::int16_t count() const { return static_cast<std::int16_t>(m_members.size()); }

    const Element &operator[](int i) const
    {
        assert(i >= 0 && i < static_cast<int>(m_members.size()));
        return m_members[static_cast<std::size_t>(i)];
    }

    // Geometry and pen fields may be written directly; Visible may not.
    Element &member(int i)
    {
        assert(i >= 0 && i < static_cast<int>(m_members.size()));
        return m_members[static_cast<std::size_t>(i)];
    }

    void setVisible(int i, bool visible)
    {
        member(i).Visible = visible;
        if (!visible && static_cast<std::size_t>(i) < m_firstMaybeHidden)
            m_firstMaybeHidden = static_cast<std::size_t>(i);
    }

    void reserve(int count) { m_members.reserve(static_cast<std::size_t>(count)); }

    // Adds member i, which must be Count; false when the array is full.
    bool addMember(int i)
    {
        assert(i == static_cast<int>(m_members.size()));
        (void)i;
        if (m_members.size() >= MaxCount)
            return false;
        Element copy = m_members.front();
        copy.Visible = false;
        m_members.push_back(copy);
        return true;
    }

    // Removes members 1..Count-1 in rising order, calling step after each.
    template <typename Step>
    void removeAllButTemplate(Step step)
    {
        const std::size_t n = m_members.size();
        for (std::size_t i = 1; i < n; ++i) {
            m_members.pop_back(); // removal order does not matter to the members that stay
            step();
        }
        m_firstMaybeHidden = m_members.front().Visible ? 1 : 0;
    }

    // Lowest-index hidden member, or Count when every member is visible.
    int firstHidden()
    {
        std::size_t i = m_firstMaybeHidden;
        while (i < m_members.size() && m_members[i].Visible)
            ++i;
        m_firstMaybeHidden = i;
        return static_cast<int>(i);
    }

    std::span<const Element> members() const { return m_members; }
    auto begin() const { return m_members.begin(); }
    auto end() const { return m_members.end(); }

private:
    std::vector<Element, PopulatedAllocator<Element>> m_members;
    std::size_t m_firstMaybeHidden = 0;
};

} // namespace orvane
