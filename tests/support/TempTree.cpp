#include "support/TempTree.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace test {
namespace {
void makeParent(const QString& p)
{
    QDir().mkpath(QFileInfo(p).absolutePath());
}

timespec toTimespec(const QDateTime& t)
{
    const qint64 ms = t.toMSecsSinceEpoch();
    timespec ts;
    ts.tv_sec = ms / 1000;
    ts.tv_nsec = (ms % 1000) * 1000000;
    if (ts.tv_nsec < 0) {
        ts.tv_sec -= 1;
        ts.tv_nsec += 1000000000;
    }
    return ts;
}
} // namespace

TempTree::TempTree() : m_dir(QDir::tempPath() + QStringLiteral("/tree-XXXXXX"))
{
    EXPECT_TRUE(m_dir.isValid());
}

QString TempTree::root() const
{
    return m_dir.path() + u'/';
}

QString TempTree::path(const QString& rel) const
{
    return root() + rel;
}

QString TempTree::file(const QString& rel, qint64 size, char fill)
{
    const QString p = path(rel);
    makeParent(p);
    QFile f(p);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << p.toStdString();
    const QByteArray chunk(qMin<qint64>(size, 1 << 20), fill);
    for (qint64 left = size; left > 0; left -= chunk.size())
        f.write(chunk.constData(), qMin<qint64>(left, chunk.size()));
    return p;
}

QString TempTree::file(const QString& rel, const QByteArray& bytes)
{
    const QString p = path(rel);
    makeParent(p);
    QFile f(p);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << p.toStdString();
    f.write(bytes);
    return p;
}

QString TempTree::dir(const QString& rel)
{
    const QString p = path(rel);
    EXPECT_TRUE(QDir().mkpath(p));
    return p + u'/';
}

QString TempTree::link(const QString& rel, const QString& target)
{
    const QString p = path(rel);
    makeParent(p);
    EXPECT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(p).constData()), 0);
    return p;
}

QString TempTree::fifo(const QString& rel)
{
    const QString p = path(rel);
    makeParent(p);
    EXPECT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0);
    return p;
}

void TempTree::setTimes(const QString& rel, const QDateTime& access, const QDateTime& modified)
{
    const timespec ts[2] = {toTimespec(access), toTimespec(modified)};
    EXPECT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path(rel)).constData(), ts, AT_SYMLINK_NOFOLLOW), 0);
}

void TempTree::setMode(const QString& rel, mode_t mode)
{
    EXPECT_EQ(::chmod(QFile::encodeName(path(rel)).constData(), mode), 0);
}

void TempTree::hideListed(const QString& rel)
{
    const QString p = path(rel);
    QFile f(QFileInfo(p).absolutePath() + QStringLiteral("/.hidden"));
    EXPECT_TRUE(f.open(QIODevice::Append));
    f.write(QFile::encodeName(QFileInfo(p).fileName()) + '\n');
}

} // namespace test
