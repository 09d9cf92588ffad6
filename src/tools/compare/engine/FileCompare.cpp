#include "tools/compare/engine/FileCompare.h"
#include "platform/Path.h"
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

QString asciiLower(QString s)
{
    for (QChar& c : s)
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    return s;
}

bool validUtf8(const unsigned char* p, qint64 n)
{
    const unsigned char* end = p + n;
    while (p < end) {
        if (end - p >= 8) {
            quint64 w;
            std::memcpy(&w, p, 8);
            if ((w & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        quint32 cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        p += extra + 1;
    }
    return true;
}

constexpr char kBom[] = "\xEF\xBB\xBF";

} // namespace

// Start rows s of the pairs (s, s + 1) of one side, by the pair's hash, in ascending order.
class FileCompare::PairIndex {
public:
    explicit PairIndex(int base) : m_base(base) {}
    void add(int s, quint64 key)
    {
        // Pairs arrive for consecutive start rows.
        m_next.push_back(0);
        auto [it, inserted] = m_ends.try_emplace(key, s, s);
        if (!inserted) {
            m_next[size_t(it->second.second - m_base)] = s;
            it->second.second = s;
        }
    }
    // The first start row with this key that `confirm` accepts, or 0.
    template <class F> int first(quint64 key, F confirm) const
    {
        const auto it = m_ends.find(key);
        if (it == m_ends.end())
            return 0;
        for (int s = it->second.first; s; s = m_next[size_t(s - m_base)])
            if (confirm(s))
                return s;
        return 0;
    }

private:
    int m_base;
    std::vector<int> m_next;
    std::unordered_map<quint64, std::pair<int, int>> m_ends;   // first and last start row
};

FileCompare::FileCompare() = default;
FileCompare::~FileCompare() = default;

void FileCompare::Clear()
{
    for (int k = 0; k < 2; ++k) {
        m_src[k].reset();
        m_col[k].clear();
        m_col[k].shrink_to_fit();
        m_name[k].clear();
        m_utf8[k] = true;
        m_bom[k] = false;
    }
    m_mark.clear();
    m_mark.shrink_to_fit();
    m_c = 0;
}

bool FileCompare::Execute(const QString& file1, const QString& file2)
{
    Clear();
    m_abort.store(false, std::memory_order_relaxed);
    m_steps = 0;
    try {
        m_src[0] = std::make_unique<fc::LineSource>(file1);
        m_src[1] = std::make_unique<fc::LineSource>(file2);
        m_name[0] = asciiLower(plat::path::namePart(file1));
        m_name[1] = asciiLower(plat::path::namePart(file2));
        for (int k = 0; k < 2; ++k)
            m_col[k].push_back(-1);   // row 0
        run();
        for (int k = 0; k < 2; ++k)
            m_src[k]->close();
        syncMarks();
        detectEncodings();
        return true;
    } catch (const Aborted&) {
        Clear();
        return false;
    } catch (...) {
        Clear();
        throw;
    }
}

void FileCompare::tick()
{
    if (++m_steps % kProgressEvery == 0 && OnProgress)
        OnProgress(this);
    if (m_abort.load(std::memory_order_relaxed))
        throw Aborted{};
}

bool FileCompare::need(int side, int row)
{
    while (loaded(side) < row) {
        qint32 index;
        if (!m_src[side]->next(index))
            return false;
        m_col[side].push_back(index);
        tick();
    }
    return true;
}

bool FileCompare::ended(int side, int p)
{
    return p >= loaded(side) && m_src[side]->atEnd();
}

fc::Line FileCompare::lineAt(int side, int row) const
{
    return m_src[side]->line(m_col[side][size_t(row)]);
}

bool FileCompare::rowEqual(int row) const
{
    return fc::sameLine(lineAt(0, row), lineAt(1, row));
}

quint64 FileCompare::pairKey(int side, int s)
{
    const quint64 a = m_src[side]->hash(m_col[side][size_t(s)]);
    const quint64 b = m_src[side]->hash(m_col[side][size_t(s + 1)]);
    return a * 0x9E3779B97F4A7C15ULL ^ ((b << 29) | (b >> 35));
}

void FileCompare::run()
{
    m_c = 0;
    // Room for the rows the files are likely to give (judged from their first blocks), so that the
    // columns do not grow by copying.
    constexpr qint64 kMostReserved = qint64(1) << 26;
    for (int k = 0; k < 2; ++k)
        m_src[k]->atEnd();
    const qint64 likely = std::max(m_src[0]->estimatedLines(), m_src[1]->estimatedLines());
    const qint64 rows = std::min(kMostReserved, likely * 21 / 20 + 16);
    for (int k = 0; k < 2; ++k)
        m_col[k].reserve(size_t(rows));
    m_mark.reserve(size_t(rows));
    for (;;) {
        // Advance over equal rows; each side gets its next line when its rows end at the synchronised row.
        bool ranOut = false;
        for (;;) {
            const bool a = need(0, m_c + 1);
            const bool b = need(1, m_c + 1);
            if (!a || !b) {
                ranOut = true;
                break;
            }
            if (!rowEqual(m_c + 1))
                break;
            ++m_c;
            tick();
        }
        if (ranOut || !resync())
            break;
    }
    readTail();
    syncMarks();
    markRows(m_c + 1, RowCount() - 1);
}

bool FileCompare::resync()
{
    const int c = m_c;
    const bool a = need(0, c + 2);
    const bool b = need(1, c + 2);
    if (!a || !b)
        return false;
    int p[2] = {c + 2, c + 2};
    PairIndex index[2] = {PairIndex(c + 1), PairIndex(c + 1)};
    index[0].add(c + 1, pairKey(0, c + 1));
    index[1].add(c + 1, pairKey(1, c + 1));
    int e = ended(0, p[0]) ? 1 : 0;
    while (!(ended(0, p[0]) && ended(1, p[1]))) {
        if (ended(e, p[e]))
            e = 1 - e;
        ++p[e];
        if (!need(e, p[e]))
            break;
        const int pe = p[e];
        const quint64 key = pairKey(e, pe - 1);
        index[e].add(pe - 1, key);
        const int o = 1 - e;
        const int s = index[o].first(key, [&](int s) {
            return fc::sameLine(lineAt(o, s), lineAt(e, pe - 1)) && fc::sameLine(lineAt(o, s + 1), lineAt(e, pe));
        });
        if (s > 0) {
            // Pad the other side so that its pair stands at rows pe - 1 and pe.
            insertGaps(o, s, pe - s - 1);
            markRows(c + 1, pe - 2);
            m_c = pe;
            return true;
        }
        if (!ended(o, p[o]))
            e = o;
        tick();
    }
    return false;
}

void FileCompare::readTail()
{
    for (int k = 0; k < 2; ++k) {
        qint32 index;
        for (int i = 0; i < kTailLines && m_src[k]->next(index); ++i) {
            m_col[k].push_back(index);
            tick();
        }
    }
}

void FileCompare::insertGaps(int side, int at, int count)
{
    if (count <= 0)
        return;
    m_col[side].insert(m_col[side].begin() + at, size_t(count), -1);
    if (side == 0) {
        // Column 0 moves with file 1: the new rows are marked, the moved ones keep their cells.
        syncMarks();
        m_mark.insert(m_mark.begin() + at, size_t(count), 1);
        syncMarks();
    }
}

void FileCompare::syncMarks()
{
    m_mark.resize(size_t(std::max(0, RowCount())), 0);
}

void FileCompare::markRows(int from, int to)
{
    syncMarks();
    for (int r = std::max(from, 1); r <= to && r < int(m_mark.size()); ++r)
        m_mark[size_t(r)] = 1;
}

void FileCompare::detectEncodings()
{
    for (int k = 0; k < 2; ++k) {
        const qint32 n = m_src[k]->handedOut();
        if (n > 0) {
            const fc::Line first = m_src[k]->line(0);
            m_bom[k] = first.size >= 3 && std::memcmp(first.data, kBom, 3) == 0;
        }
        // Only blocks that hold bytes outside ASCII need a look at their lines.
        bool ok = true;
        if (!m_bom[k]) {
            for (const fc::LineSource::Range& range : m_src[k]->nonAsciiRanges()) {
                for (qint32 i = range.first; i < std::min(range.end, n) && ok; ++i) {
                    const fc::Line l = m_src[k]->line(i);
                    ok = validUtf8(reinterpret_cast<const unsigned char*>(l.data), l.size);
                }
            }
        }
        m_utf8[k] = ok;
    }
}

int FileCompare::RowCount() const
{
    if (m_col[0].empty())
        return 0;
    return int(std::max(m_col[0].size(), m_col[1].size()));
}

QChar FileCompare::Marker(int row) const
{
    if (row < 1 || row >= RowCount())
        return QChar();
    if (size_t(row) < m_mark.size() && m_mark[size_t(row)])
        return QLatin1Char('x');
    if (size_t(row) < m_col[0].size() && m_col[0][size_t(row)] >= 0)
        return QLatin1Char(' ');
    return QChar();
}

bool FileCompare::IsGap(int col, int row) const
{
    if (col < 1 || col > 2 || row < 1)
        return false;
    const auto& c = m_col[col - 1];
    return size_t(row) >= c.size() || c[size_t(row)] < 0;
}

QByteArrayView FileCompare::LineBytes(int col, int row) const
{
    if (IsGap(col, row) || row < 1 || row >= RowCount())
        return {};
    const int k = col - 1;
    const qint32 index = m_col[k][size_t(row)];
    const fc::Line l = m_src[k]->line(index);
    if (index == 0 && m_bom[k])
        return QByteArrayView(l.data + 3, l.size - 3);
    return QByteArrayView(l.data, l.size);
}

qint64 FileCompare::LineNumber(int row) const
{
    if (row < 1 || size_t(row) >= m_col[0].size())
        return 0;
    return qint64(m_col[0][size_t(row)]) + 1;   // a gap (-1) gives 0
}

bool FileCompare::IsUtf8(int col) const
{
    return col < 1 || col > 2 || m_utf8[col - 1];
}

QString FileCompare::Cells(int col, int row) const
{
    if (row < 0 || row >= RowCount() || col < 0 || col > 2)
        return QString();
    if (row == 0)
        return col == 0 ? QStringLiteral("文件名:") : m_name[col - 1];
    if (col == 0) {
        const QChar m = Marker(row);
        if (m.isNull())
            return QString();
        const qint64 line = LineNumber(row);
        return line == 0 ? QString(m) : m + QString::number(line);
    }
    const QByteArrayView bytes = LineBytes(col, row);
    if (m_utf8[col - 1])
        return QString::fromUtf8(bytes);
    if (!m_gb)
        m_gb = std::make_unique<QStringDecoder>("GB18030", QStringDecoder::Flag::Stateless);
    if (!m_gb->isValid())
        return QString::fromLatin1(bytes);
    return m_gb->decode(bytes);
}

bool FileCompare::HasDifferences() const
{
    return std::find(m_mark.begin(), m_mark.end(), 1) != m_mark.end();
}

int FileCompare::NextDifference(int from) const
{
    const int rows = RowCount();
    int i = std::max(from, 1);
    while (i < rows && Marker(i) == u'x')
        ++i;
    while (i < rows && Marker(i) == u' ')
        ++i;
    return i < rows ? i : -1;
}

int FileCompare::PreviousDifference(int from) const
{
    int i = std::min(from, RowCount() - 1);
    while (i >= 1 && Marker(i) == u'x')
        --i;
    while (i >= 1 && Marker(i) == u' ')
        --i;
    return std::max(i, 0);
}
