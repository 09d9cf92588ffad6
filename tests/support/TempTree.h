#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <sys/types.h>

namespace test {

// A fresh folder per test with helpers to make small fixtures on disk.
class TempTree {
public:
    TempTree();
    QString root() const;                       // ends in '/'
    QString path(const QString& rel) const;     // root() + rel
    QString file(const QString& rel, qint64 size = 0, char fill = 'x');
    QString file(const QString& rel, const QByteArray& bytes);
    QString dir(const QString& rel);
    QString link(const QString& rel, const QString& target);
    QString fifo(const QString& rel);
    // Sets access and modification times (local or UTC QDateTime, any precision down to ms).
    void setTimes(const QString& rel, const QDateTime& access, const QDateTime& modified);
    void setMode(const QString& rel, mode_t mode);
    void hideListed(const QString& rel);        // adds the name to its folder's .hidden file
private:
    QTemporaryDir m_dir;
};

} // namespace test
