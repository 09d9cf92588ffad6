#include "filelist/RowSort.h"
#include "filelist/RowFormats.h"
#include "platform/Attributes.h"
#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>

namespace filelist {
namespace {

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

const QString& lettersOf(quint8 attrs)
{
    static const auto table = [] {
        std::array<QString, 64> t;
        for (int i = 0; i < 64; ++i)
            t[i] = plat::attributeLetters(quint32(i));
        return t;
    }();
    return table[attrs & 63];
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
        return asciiFoldCompare(lettersOf(a.attrs), lettersOf(b.attrs));
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
        ua = captionOf(a).toUpper();
        ub = captionOf(b).toUpper();
    }
    const int r = compareAscending(a, b, sortColumn, ua, ub);
    return descending && !exempt ? -r : r;
}

std::vector<int> sortOrder(const std::vector<FileRow>& rows, int sortColumn, bool descending)
{
    std::vector<QString> upper;
    if (sortColumn == 0) {
        upper.reserve(rows.size());
        for (const FileRow& r : rows)
            upper.push_back(captionOf(r).toUpper());
    }
    auto cmp = [&](int i, int j) {
        const QStringView ui = upper.empty() ? QStringView() : QStringView(upper[size_t(i)]);
        const QStringView uj = upper.empty() ? QStringView() : QStringView(upper[size_t(j)]);
        return compareAscending(rows[size_t(i)], rows[size_t(j)], sortColumn, ui, uj);
    };
    std::vector<int> order, parents;
    order.reserve(rows.size());
    for (int i = 0; i < int(rows.size()); ++i)
        (rows[size_t(i)].isParent() ? parents : order).push_back(i);
    if (descending)
        std::stable_sort(order.begin(), order.end(), [&](int i, int j) { return cmp(i, j) > 0; });
    else
        std::stable_sort(order.begin(), order.end(), [&](int i, int j) { return cmp(i, j) < 0; });
    for (auto p = parents.rbegin(); p != parents.rend(); ++p) {
        auto at = descending ? order.begin()
                             : std::lower_bound(order.begin(), order.end(), *p, [&](int k, int x) { return cmp(k, x) < 0; });
        order.insert(at, *p);
    }
    return order;
}

} // namespace filelist
