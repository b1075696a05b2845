#pragma once
// The usages a main item's locals name, in order: ranges of 32-bit usages (page << 16 | id).

#include <algorithm>
#include <cstdint>
#include <vector>

namespace transport {

class UsageList {
public:
    struct Range {
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        std::uint64_t Length() const { return std::uint64_t{last} - first + 1; }
    };

    // A range whose end is below its start stands for its start alone; a range never crosses
    // into the next usage page.
    void Add(std::uint32_t first, std::uint32_t last) {
        if (last < first)
            last = first;
        last = std::min(last, first | 0xFFFFu);
        m_ranges.push_back({first, last});
        m_count += m_ranges.back().Length();
    }
    bool Empty() const { return m_ranges.empty(); }
    std::uint64_t Count() const { return m_count; }
    const std::vector<Range>& Ranges() const { return m_ranges; }
    std::uint32_t First() const { return m_ranges.empty() ? 0 : m_ranges.front().first; }

    // Walks the usages in order; past the end it keeps giving the last one.
    class Cursor {
    public:
        explicit Cursor(const UsageList& list) : m_ranges(list.m_ranges) {}
        std::uint32_t Next() {
            if (m_ranges.empty())
                return 0;
            const Range& range = m_ranges[m_range];
            const std::uint32_t usage = range.first + m_offset;
            if (usage < range.last)
                ++m_offset;
            else if (m_range + 1 < m_ranges.size()) {
                ++m_range;
                m_offset = 0;
            }
            return usage;
        }

    private:
        const std::vector<Range>& m_ranges;
        std::size_t m_range = 0;
        std::uint32_t m_offset = 0;
    };

private:
    std::vector<Range> m_ranges;
    std::uint64_t m_count = 0;
};

} // namespace transport
