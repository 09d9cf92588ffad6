#pragma once
#include "filelist/engine/FileLister.h"
#include "platform/FileSystem.h"
#include "support/Fakes.h"
#include <QStringList>
#include <QThread>

namespace test {

inline QStringList captions(const filelist::FileLister& l)
{
    QStringList out;
    for (int r = 0; r < l.rowCount(); ++r)
        out << l.caption(r);
    return out;
}

inline int rowOf(const filelist::FileLister& l, const QString& caption)
{
    return int(captions(l).indexOf(caption));
}

// The real file system, slowed after every delivered entry so that a listing pumps events after each.
class SlowFileSystem : public plat::IFileSystem {
public:
    bool enumerate(const QString& dir, const QString& piece, const plat::EntrySink& sink) override
    {
        return m_real.enumerate(dir, piece, [&](const plat::FindData& fd) {
            QThread::msleep(16);
            return sink(fd);
        });
    }
    std::optional<plat::FindData> find(const QString& path) override { return m_real.find(path); }
private:
    plat::LinuxFileSystem m_real;
};

} // namespace test
