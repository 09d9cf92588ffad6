#pragma once
#include "tools/search/engine/FindFile.h"
#include "support/QtPrinters.h"
#include <QEventLoop>
#include <QStringList>
#include <QTimer>

namespace searchtest {

// What one search reported, in order. `events` interleaves "folder:" + folder and "found:" + path.
struct Reported {
    QStringList found;      // folder + '/' + name, relative to `base`
    QStringList folders;    // relative to `base`; "" is the base itself
    QStringList events;
    int completes = 0;
    bool abortedAtComplete = false;
};

inline QString relative(const QString& base, const QString& path)
{
    const QString b = base.endsWith(u'/') ? base.chopped(1) : base;
    if (path == b)
        return QString();
    return path.startsWith(b + u'/') ? path.mid(b.size() + 1) : path;
}

// Hooks the events of `f` into `run`.
inline void record(search::TFindFile& f, Reported& run, const QString& base)
{
    f.OnNewFolder = [&run, base](search::TFindFile*, const QString& folder, bool&) {
        run.folders << relative(base, folder);
        run.events << QStringLiteral("folder:") + relative(base, folder);
    };
    f.OnFound = [&run, base](search::TFindFile*, const QString& folder, const search::TSearchRec& rec) {
        const QString p = relative(base, folder + (folder.endsWith(u'/') ? QString() : QStringLiteral("/")) + rec.Name);
        run.found << p;
        run.events << QStringLiteral("found:") + p;
    };
    f.OnComplete = [&run](search::TFindFile* s) {
        ++run.completes;
        run.abortedAtComplete = s->Aborted();
    };
}

// Runs a search to its end, inline or threaded, and returns what it reported.
inline Reported search(search::TFindFile& f, const QString& base)
{
    Reported run;
    record(f, run, base);
    f.Execute();
    if (f.Busy()) {
        QEventLoop loop;
        QObject::connect(&f, &search::TFindFile::searchEnded, &loop, &QEventLoop::quit);
        if (f.Busy())
            loop.exec();
    }
    return run;
}

} // namespace searchtest
