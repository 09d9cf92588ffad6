// Checks the hashed comparison against a plain implementation of the same rules that compares whole
// strings and scans every candidate row, on many small random files.
#include "CompareHelpers.h"
#include "support/TempTree.h"
#include "tools/compare/engine/FileCompare.h"
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace {

class Reference {
public:
    Reference(const QList<QByteArray>& a, const QList<QByteArray>& b) : m_in{a, b}
    {
        m_col[0].push_back(std::nullopt);
        m_col[1].push_back(std::nullopt);
        m_c0.push_back(QString());
        run();
    }

    QStringList rows() const
    {
        QStringList out;
        for (int r = 1; r < rowCount(); ++r)
            out << m_c0[r] + u'|' + text(0, r) + u'|' + text(1, r);
        return out;
    }

private:
    int loaded(int k) const { return int(m_col[k].size()) - 1; }
    int rowCount() const { return int(std::max(m_col[0].size(), m_col[1].size())); }
    bool atEnd(int k) const { return m_pos[k] >= m_in[k].size(); }
    QString text(int k, int r) const
    {
        return r < int(m_col[k].size()) && m_col[k][r] ? QString::fromUtf8(*m_col[k][r]) : QString();
    }
    void fitC0() { m_c0.resize(rowCount()); }
    bool load(int k, int row)
    {
        while (loaded(k) < row) {
            if (atEnd(k))
                return false;
            m_col[k].push_back(m_in[k][m_pos[k]++]);
            fitC0();
            if (k == 0)
                m_c0[loaded(0)] = QStringLiteral(" ") + QString::number(m_pos[0]);
        }
        return true;
    }
    bool ended(int k, int p) const { return p >= loaded(k) && atEnd(k); }
    void mark(int r)
    {
        fitC0();
        m_c0[r] = m_c0[r].isEmpty() ? QStringLiteral("x") : u'x' + m_c0[r].mid(1);
    }
    bool same(int k, int r, int j, int q) const { return *m_col[k][r] == *m_col[j][q]; }

    void run()
    {
        for (;;) {
            bool out = false;
            for (;;) {
                const bool a = load(0, m_sync + 1);
                const bool b = load(1, m_sync + 1);
                if (!a || !b) {
                    out = true;
                    break;
                }
                if (!same(0, m_sync + 1, 1, m_sync + 1))
                    break;
                ++m_sync;
            }
            if (out || !resync())
                break;
        }
        for (int k = 0; k < 2; ++k)
            for (int i = 0; i < FileCompare::kTailLines && !atEnd(k); ++i)
                load(k, loaded(k) + 1);
        fitC0();
        for (int r = m_sync + 1; r < rowCount(); ++r)
            mark(r);
    }

    bool resync()
    {
        const int c = m_sync;
        const bool a = load(0, c + 2);
        const bool b = load(1, c + 2);
        if (!a || !b)
            return false;
        int p[2] = {c + 2, c + 2};
        int e = ended(0, p[0]) ? 1 : 0;
        while (!(ended(0, p[0]) && ended(1, p[1]))) {
            ++p[e];
            load(e, p[e]);
            const int o = 1 - e;
            for (int s = c + 1; s <= p[o] - 1; ++s) {
                if (same(o, s, e, p[e] - 1) && same(o, s + 1, e, p[e])) {
                    const int n = p[e] - s - 1;
                    m_col[o].insert(m_col[o].begin() + s, n, std::nullopt);
                    if (o == 0)
                        m_c0.insert(m_c0.begin() + s, n, QStringLiteral("x"));
                    m_c0.resize(rowCount());
                    for (int r = c + 1; r <= p[e] - 2; ++r)
                        mark(r);
                    m_sync = p[e];
                    return true;
                }
            }
            if (!ended(o, p[o]))
                e = o;
        }
        return false;
    }

    QList<QByteArray> m_in[2];
    int m_pos[2] = {0, 0};
    std::vector<std::optional<QByteArray>> m_col[2];
    std::vector<QString> m_c0;
    int m_sync = 0;
};

QList<QByteArray> randomLines(QRandomGenerator& rng, int maxLines)
{
    static const char* const words[] = {"a", "b", "c", "d", "", "a "};
    QList<QByteArray> out;
    const int n = rng.bounded(maxLines + 1);
    for (int i = 0; i < n; ++i)
        out << words[rng.bounded(6)];
    return out;
}

// File 2 from file 1 by a few random insertions, deletions and changes.
QList<QByteArray> edited(QRandomGenerator& rng, QList<QByteArray> l)
{
    const int edits = rng.bounded(5);
    for (int i = 0; i < edits; ++i) {
        const int at = rng.bounded(int(l.size()) + 1);
        switch (rng.bounded(3)) {
        case 0: l.insert(at, QByteArray("n") + QByteArray::number(rng.bounded(3))); break;
        case 1: if (at < l.size()) l.removeAt(at); break;
        default: if (at < l.size()) l[at] = QByteArray("m") + QByteArray::number(rng.bounded(3)); break;
        }
    }
    return l;
}

QByteArray joined(const QList<QByteArray>& l)
{
    QByteArray out;
    for (const QByteArray& s : l)
        out += s + '\n';
    return out;
}

TEST(CompareReference, RandomFilesMatchThePlainRules)
{
    test::TempTree t;
    QRandomGenerator rng(20240607);
    FileCompare fc;
    for (int round = 0; round < 600; ++round) {
        const int maxLines = round % 50 == 0 ? 400 : 30;
        const QList<QByteArray> a = randomLines(rng, maxLines);
        const QList<QByteArray> b = rng.bounded(3) == 0 ? randomLines(rng, maxLines) : edited(rng, a);
        const QString fa = t.file(QStringLiteral("a%1").arg(round), joined(a));
        const QString fb = t.file(QStringLiteral("b%1").arg(round), joined(b));
        ASSERT_TRUE(fc.Execute(fa, fb));
        const QStringList want = Reference(a, b).rows();
        ASSERT_EQ(cmptest::rows(fc), want) << "round " << round;
    }
}

} // namespace
