#include "tools/splitmerge/engine/SplitFields.h"

namespace splitmerge {
namespace {

// The two change handlers calling each other through changed values, as the window's fields do.
struct Settler {
    qint64 a;
    SplitFields f;
    int depth = 0;

    void setCount(qint64 n)
    {
        if (n != f.count) {
            f.count = n;
            countChanged();
        }
    }
    void setSize(qint64 s)
    {
        if (s != f.size) {
            f.size = s;
            sizeChanged();
        }
    }
    void countChanged()
    {
        if (++depth > 256)   // the values move monotonically and settle long before this
            return;
        if (a < f.count) {
            f.size = 1;    // written even when it already reads 1, so that the count follows
            sizeChanged();
        } else {
            const qint64 s = a / f.count;
            if (s != f.size)
                setSize(s);
            else
                setCount(a / s);   // the size stays: the count must still cover the bytes
        }
    }
    void sizeChanged()
    {
        if (++depth > 256)
            return;
        if (a < f.size) {
            f.count = 1;
            countChanged();
        } else
            setCount(a / f.size);
    }
    SplitFields done()
    {
        f.remainder = (f.size <= 0 || a < f.size) ? 0 : a % f.size;
        return f;
    }
};

} // namespace

SplitFields settleFromCount(qint64 available, qint64 count, SplitFields current)
{
    Settler s{qMax<qint64>(available, 0), current};
    if (count <= 0)
        return current;
    s.f.count = count;
    if (s.a == 0)   // nothing to divide: the other fields stay
        return s.done();
    s.countChanged();
    return s.done();
}

SplitFields settleFromSize(qint64 available, qint64 size, SplitFields current)
{
    Settler s{qMax<qint64>(available, 0), current};
    if (size <= 0)
        return current;
    s.f.size = size;
    if (s.a == 0)
        return s.done();
    s.sizeChanged();
    return s.done();
}

qint64 piecesFor(qint64 available, qint64 pieceSize)
{
    if (available <= 0 || pieceSize <= 0)
        return 0;
    return available / pieceSize + (available % pieceSize ? 1 : 0);
}

QString pieceName(const QString& base, qint64 k)
{
    return base + QString::number(k);
}

QString mergeBase(const QString& piece)
{
    return piece.isEmpty() ? QString() : piece.chopped(1);
}

bool parseField(const QString& text, qint64* value)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (ok && value)
        *value = v;
    return ok;
}

} // namespace splitmerge
