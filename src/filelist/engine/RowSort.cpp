#include "filelist/engine/RowSort.h"
#include "filelist/engine/RowFormats.h"
#include "platform/Attributes.h"
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <numeric>

namespace filelist {
namespace {

void appendUpper(std::vector<char16_t>& arena, QStringView s)
{
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            arena.push_back(u >= u'a' && u <= u'z' ? char16_t(u - 32) : u);
        else if (c.isSurrogate())
            arena.push_back(u);
        else
            arena.push_back(char16_t(QChar::toUpper(char32_t(u))));
    }
}

// The caption upper-cased character by character, the key of the name column.
QString upperCaption(const FileRow& r)
{
    std::vector<char16_t> buf;
    appendUpper(buf, captionView(r));
    return QString(reinterpret_cast<const QChar*>(buf.data()), qsizetype(buf.size()));
}

inline int sign(qint64 v)
{
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

// Text comparison with only ASCII a-z folded to upper case.
int asciiFoldCompare(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x >= u'a' && x <= u'z')
            x -= 32;
        if (y >= u'a' && y <= u'z')
            y -= 32;
        if (x != y)
            return x < y ? -1 : 1;
    }
    return sign(a.size() - b.size());
}

int timeCompare(const char* a, const char* b)
{
    return sign(std::memcmp(a, b, plat::kTimeTextLength));
}

// Ascending comparison after the folder rule; `upperA`/`upperB` are the upper-cased captions (column 0).
int compareColumn(const FileRow& a, const FileRow& b, int column, QStringView upperA, QStringView upperB)
{
    switch (column) {
    case 0:
        return sign(upperA.compare(upperB, Qt::CaseSensitive));
    case 1:
        return sign(sizeKB(a.isDir() ? 0 : a.size) - sizeKB(b.isDir() ? 0 : b.size));
    case 2:
        return asciiFoldCompare(a.type, b.type);
    case 3:
        return timeCompare(a.modified, b.modified);
    case 4:
        return timeCompare(a.created, b.created);
    case 5:   // full paths share the folder part
        return asciiFoldCompare(a.name, b.name);
    case 6:   // kind markers: equal once the folder rule has passed
        return 0;
    case 7:
        return &a == &b ? 0 : timeCompare(a.accessed, b.accessed);
    case 8:
        return asciiFoldCompare(attributeText(a.attrs), attributeText(b.attrs));
    default:
        return 0;
    }
}

int compareAscending(const FileRow& a, const FileRow& b, int column, QStringView upperA, QStringView upperB)
{
    if (a.isDir() != b.isDir())
        return a.isDir() ? -1 : 1;
    return compareColumn(a, b, column, upperA, upperB);
}

} // namespace

int CompareItems(const FileRow& a, const FileRow& b, int sortColumn, bool descending)
{
    const bool exempt = a.isParent() || b.isParent();
    QString ua, ub;
    if (sortColumn == 0) {
        ua = upperCaption(a);
        ub = upperCaption(b);
    }
    const int r = compareAscending(a, b, sortColumn, ua, ub);
    return descending && !exempt ? -r : r;
}

namespace {

constexpr size_t kChunk = 8192;

bool proceed(const std::function<bool()>& keepGoing)
{
    return !keepGoing || keepGoing();
}

// Stable merge sort in bounded steps, asking keepGoing between them: runs of kChunk elements sorted in
// place, then merged pairwise through a buffer, pass after pass, kChunk output elements per step.
// The result is the one std::stable_sort gives (equal elements keep their order).
template <typename T, typename Less>
bool chunkedSort(std::vector<T>& v, Less less, const std::function<bool()>& keepGoing)
{
    const size_t n = v.size();
    for (size_t start = 0; start < n; start += kChunk) {
        std::stable_sort(v.begin() + std::ptrdiff_t(start), v.begin() + std::ptrdiff_t(std::min(n, start + kChunk)), less);
        if (!proceed(keepGoing))
            return false;
    }
    if (n <= kChunk)
        return true;
    const auto buffer = std::make_unique_for_overwrite<T[]>(n);
    T* from = v.data();
    T* to = buffer.get();
    for (size_t width = kChunk; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(n, lo + width);
            const size_t hi = std::min(n, lo + 2 * width);
            size_t i = lo, j = mid, out = lo;
            while (i < mid && j < hi) {
                const size_t stepEnd = std::min(hi, out + kChunk);
                while (out < stepEnd && i < mid && j < hi)
                    to[out++] = less(from[j], from[i]) ? std::move(from[j++]) : std::move(from[i++]);
                if (!proceed(keepGoing))
                    return false;
            }
            std::move(from + i, from + mid, to + out);
            std::move(from + j, from + hi, to + out + (mid - i));
        }
        std::swap(from, to);
    }
    for (size_t start = 0; from != v.data() && start < n; start += kChunk) {
        std::move(from + start, from + std::min(n, start + kChunk), v.data() + start);
        if (!proceed(keepGoing))
            return false;
    }
    return true;
}

// Upper-cased caption (simple per-character mapping) kept in one shared buffer; the first eight UTF-16
// units also packed big-endian into `head`, so that most comparisons never read the buffer (names of
// a large folder often share their first few characters).
struct NameKey {
    quint64 head[2];
    quint32 offset;
    quint32 length;
    int row;
};

bool sortByName(std::vector<int>& group, const std::vector<FileRow>& rows, const std::function<bool()>& keepGoing)
{
    std::vector<char16_t> arena;
    arena.reserve(group.size() * 24);
    std::vector<NameKey> keys;
    keys.reserve(group.size());
    for (size_t k = 0; k < group.size(); ++k) {
        const FileRow& r = rows[size_t(group[k])];
        NameKey key;
        key.offset = quint32(arena.size());
        appendUpper(arena, captionView(r));
        key.length = quint32(arena.size()) - key.offset;
        key.row = group[k];
        for (quint32 part = 0; part < 2; ++part) {
            key.head[part] = 0;
            for (quint32 i = part * 4; i < part * 4 + 4; ++i)
                key.head[part] = (key.head[part] << 16) | (i < key.length ? arena[key.offset + i] : 0);
        }
        keys.push_back(key);
        if ((k + 1) % kChunk == 0 && !proceed(keepGoing))
            return false;
    }
    const char16_t* base = arena.data();
    const bool done = chunkedSort(keys, [base](const NameKey& a, const NameKey& b) {
        if (a.head[0] != b.head[0])
            return a.head[0] < b.head[0];
        if (a.head[1] != b.head[1])
            return a.head[1] < b.head[1];
        const quint32 n = std::min(a.length, b.length);
        const char16_t* x = base + a.offset;
        const char16_t* y = base + b.offset;
        for (quint32 i = 8; i < n; ++i) {
            if (x[i] != y[i])
                return x[i] < y[i];
        }
        return a.length < b.length;
    }, keepGoing);
    if (!done)
        return false;
    for (size_t k = 0; k < keys.size(); ++k)
        group[k] = keys[k].row;
    return true;
}

bool sortGroup(std::vector<int>& group, const std::vector<FileRow>& rows, int column, const std::function<bool()>& keepGoing)
{
    if (column == 0)
        return sortByName(group, rows, keepGoing);
    return chunkedSort(group, [&](int i, int j) {
        return compareColumn(rows[size_t(i)], rows[size_t(j)], column, {}, {}) < 0;
    }, keepGoing);
}

} // namespace

std::optional<std::vector<int>> sortOrder(const std::vector<FileRow>& rows, int sortColumn, bool descending,
                                          const std::function<bool()>& keepGoing)
{
    // Folders and files are sorted apart: the folder rule decides every mixed pair.
    std::vector<int> dirs, files, parents;
    for (int i = 0; i < int(rows.size()); ++i) {
        const FileRow& r = rows[size_t(i)];
        (r.isParent() ? parents : r.isDir() ? dirs : files).push_back(i);
        if ((i + 1) % kChunk == 0 && !proceed(keepGoing))
            return std::nullopt;
    }
    if (!sortGroup(dirs, rows, sortColumn, keepGoing) || !sortGroup(files, rows, sortColumn, keepGoing))
        return std::nullopt;
    std::vector<int> order;
    order.reserve(rows.size());
    if (descending) {
        order.insert(order.end(), parents.begin(), parents.end());
        order.insert(order.end(), files.rbegin(), files.rend());
        order.insert(order.end(), dirs.rbegin(), dirs.rend());
        return order;
    }
    // Ascending: each parent entry takes its place among the folders.
    for (int p : parents) {
        const QString up = upperCaption(rows[size_t(p)]);
        auto at = std::partition_point(dirs.begin(), dirs.end(), [&](int k) {
            const QString uk = sortColumn == 0 ? upperCaption(rows[size_t(k)]) : QString();
            return compareColumn(rows[size_t(k)], rows[size_t(p)], sortColumn, uk, up) < 0;
        });
        dirs.insert(at, p);
    }
    order.insert(order.end(), dirs.begin(), dirs.end());
    order.insert(order.end(), files.begin(), files.end());
    return order;
}

} // namespace filelist
