#include "tools/hexview/engine/ByteRanges.h"
#include <algorithm>

namespace hexview {

bool ByteRanges::contains(qint64 pos) const
{
    auto it = m_ranges.upper_bound(pos);
    if (it == m_ranges.begin())
        return false;
    --it;
    return pos < it->second;
}

void ByteRanges::add(qint64 start, qint64 end)
{
    if (start >= end)
        return;
    // Merge with every range that overlaps or touches [start, end).
    auto it = m_ranges.upper_bound(start);
    if (it != m_ranges.begin()) {
        auto prev = std::prev(it);
        if (prev->second >= start)
            it = prev;
    }
    while (it != m_ranges.end() && it->first <= end) {
        start = std::min(start, it->first);
        end = std::max(end, it->second);
        it = m_ranges.erase(it);
    }
    m_ranges.emplace(start, end);
}

void ByteRanges::truncateFrom(qint64 pos)
{
    auto it = m_ranges.lower_bound(pos);
    m_ranges.erase(it, m_ranges.end());
    if (!m_ranges.empty()) {
        auto last = std::prev(m_ranges.end());
        last->second = std::min(last->second, pos);
    }
}

void ByteRanges::remove(qint64 start, qint64 end)
{
    if (start >= end)
        return;
    ByteRanges tail = tailFrom(end);
    truncateFrom(start);
    addAll(tail);
}

ByteRanges ByteRanges::tailFrom(qint64 pos) const
{
    ByteRanges out;
    auto it = m_ranges.upper_bound(pos);
    if (it != m_ranges.begin() && std::prev(it)->second > pos)
        out.m_ranges.emplace(pos, std::prev(it)->second);
    for (; it != m_ranges.end(); ++it)
        out.m_ranges.emplace(it->first, it->second);
    return out;
}

void ByteRanges::addAll(const ByteRanges& other)
{
    for (const auto& [s, e] : other.m_ranges)
        add(s, e);
}

qint64 ByteRanges::count() const
{
    qint64 n = 0;
    for (const auto& [s, e] : m_ranges)
        n += e - s;
    return n;
}

} // namespace hexview
