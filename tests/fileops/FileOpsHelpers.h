#pragma once
#include "fileops/DialogsPrompter.h"
#include "fileops/engine/FileOpEngine.h"
#include "fileops/engine/FileOperation.h"
#include "support/ScriptedDialogs.h"
#include "support/RecordingPrompter.h"
#include "support/TempTree.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fotest {

using Prompt = fileops::FileOpPrompter;

inline QByteArray encodePath(const QString& p)
{
    return QFile::encodeName(p);
}

inline bool exists(const QString& p)   // the entry itself, links not followed
{
    struct stat st;
    return ::lstat(encodePath(p).constData(), &st) == 0;
}

inline QByteArray readAll(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline QString linkTarget(const QString& p)
{
    char buf[4096];
    const ssize_t n = ::readlink(encodePath(p).constData(), buf, sizeof buf);
    return n < 0 ? QString() : QString::fromUtf8(buf, n);
}

inline struct stat lstatOf(const QString& p)
{
    struct stat st {};
    ::lstat(encodePath(p).constData(), &st);
    return st;
}

// Every entry below `root` as "relative path|kind|content or link target|permission bits", sorted.
inline QStringList snapshot(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        const QString rel = QDir(root).relativeFilePath(p);
        const struct stat st = lstatOf(p);
        QString line = rel + u'|';
        if (S_ISLNK(st.st_mode))
            line += "link|" + linkTarget(p);
        else if (S_ISDIR(st.st_mode))
            line += "dir|";
        else if (S_ISREG(st.st_mode))
            line += "file|" + QString::fromUtf8(readAll(p).toHex());
        else
            line += "special|";
        line += u'|' + QString::number(st.st_mode & 07777, 8);
        out << line;
    }
    out.sort();
    return out;
}

// Names of every leftover temporary copy below `root`.
inline QStringList tempsBelow(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        if (p.contains(QLatin1String(".orvo-part")))
            out << p;
    }
    return out;
}

inline fileops::FileOpResult run(int op, unsigned flags, const QStringList& sources, const QStringList& targets,
                                 fileops::FileOpPrompter& ui)
{
    fileops::FileOpRequest r;
    r.op = op;
    r.flags = flags;
    r.sources = sources;
    r.targets = targets;
    return fileops::runFileOperation(r, ui);
}

// Resets the engine's fault points when a test ends.
struct HookGuard {
    ~HookGuard() { fileops::FileOpHooks::reset(); }
};

constexpr unsigned kCopyFlags = fileops::FOF_ALLOWUNDO | fileops::FOF_MULTIDESTFILES;   // 0x41
constexpr unsigned kRenameFlags = kCopyFlags | fileops::FOF_RENAMEONCOLLISION;         // 0x49

} // namespace fotest
