#pragma once
#include <QtGlobal>
#include <map>

namespace hexview {

// A set of byte positions kept as disjoint, non-adjacent half-open ranges [start, end): the changed bytes of
// a file of any size cost one entry per run, not one bit per byte.
class ByteRanges {
public:
    bool contains(qint64 pos) const;
    void add(qint64 pos) { add(pos, pos + 1); }
    void add(qint64 start, qint64 end);
    void remove(qint64 start, qint64 end);
    // Drops every position from `pos` on.
    void truncateFrom(qint64 pos);
    // The positions from `pos` on.
    ByteRanges tailFrom(qint64 pos) const;
    // Adds every range of `other`.
    void addAll(const ByteRanges& other);
    const std::map<qint64, qint64>& ranges() const { return m_ranges; }
    void clear() { m_ranges.clear(); }
    bool isEmpty() const { return m_ranges.empty(); }
    qsizetype runCount() const { return qsizetype(m_ranges.size()); }
    qint64 count() const;
    bool operator==(const ByteRanges& o) const { return m_ranges == o.m_ranges; }

private:
    std::map<qint64, qint64> m_ranges;   // start -> end
};

} // namespace hexview
