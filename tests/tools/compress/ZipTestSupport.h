#pragma once
#include "tools/compress/engine/ZakCodec.h"
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace ziptest {

// One event as the component raised it.
struct Event {
    char kind;          // 'B' begin, 'P' process, 'E' end
    qint64 value;       // nMax, nHasDone, or nNormal for 'E'
    float rate = 0;
    bool operator==(const Event& o) const { return kind == o.kind && value == o.value; }
};

// Records the events of a component.
struct Recorder {
    std::vector<Event> events;
    void attach(TZnZip& zip)
    {
        zip.OnBegin = [this](TZnZip*, qint64 n) { events.push_back({'B', n}); };
        zip.OnProcess = [this](TZnZip*, qint64 n) { events.push_back({'P', n}); };
        zip.OnEnd = [this](TZnZip*, bool ok, float rate) { events.push_back({'E', ok ? 1 : 0, rate}); };
    }
    int ends() const
    {
        int n = 0;
        for (const Event& e : events)
            n += e.kind == 'E';
        return n;
    }
    bool succeeded() const { return !events.empty() && events.back().kind == 'E' && events.back().value == 1; }
};

inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// Deterministic contents: 'r' random, 'z' zeros, 't' text-like.
inline QByteArray content(char kind, qint64 size, uint64_t seed = 1)
{
    QByteArray b(size, '\0');
    uint64_t s = seed * 0x9E3779B97F4A7C15ull + 1;
    auto next = [&s] {
        s ^= s << 13;
        s ^= s >> 7;
        s ^= s << 17;
        return s;
    };
    static const char* words[] = {"alpha ", "beta ", "gamma ", "delta\n", "epsilon ", "zeta, ", "eta. ", "theta "};
    qint64 i = 0;
    while (kind != 'z' && i < size) {
        if (kind == 'r') {
            b[i++] = char(next());
        } else {
            const char* w = words[next() % 8];
            while (*w && i < size)
                b[i++] = *w++;
        }
    }
    return b;
}

// Names in a folder, to find left-over temporary files.
inline QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace ziptest
