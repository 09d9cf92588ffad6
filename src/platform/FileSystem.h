#pragma once
#include "platform/posix/StatRecord.h"
#include <QString>
#include <functional>
#include <optional>

namespace plat {

// Attribute bits, as the lists, the tree, the search and the attribute editor read them.
enum Attr : quint32 {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrVolume = 0x08,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrNormal = 0x80,
};

// One directory entry with full find data. Times are file times (UTC seconds and nanoseconds).
struct FindData {
    QString name;
    quint32 attributes = 0;
    qint64 size = 0;            // folders 0
    posix::FileTime creationNs; // birth time when the file system has it, else the write time
    posix::FileTime writeNs;
    posix::FileTime accessNs;
    QString shortName;          // always empty on Linux
    bool isLink = false;
    quint64 dev = 0;
    quint64 ino = 0;
    bool isDir() const { return attributes & kAttrDirectory; }
};

// Fills the find data of an entry named `fd.name` from its stat record; `listedHidden` when the folder's
// ".hidden" list names it. Folders have size 0.
void fillFindData(FindData& fd, const posix::StatRecord& st, bool listedHidden);

// Called per entry; return false to stop the enumeration.
using EntrySink = std::function<bool(const FindData&)>;

// Called for every directory record an enumeration passes over, delivered or not (so that a caller can
// keep the event loop alive during a long skip); return false to stop.
using Heartbeat = std::function<bool()>;

// Which kind of entry an enumeration delivers; entries whose directory record already shows the other
// kind are skipped before any stat call.
enum class KindFilter { Any, FoldersOnly, NonFolders };

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Entries of folder `dir` whose names match the mask piece, in readdir order ("." and ".." included,
    // ".." dropped at "/"). Returns false when nothing matched (an unreadable folder matches nothing).
    virtual bool enumerate(const QString& dir, const QString& piece, const EntrySink& sink) = 0;
    // The find data of one path, as a search on that full path would give it.
    virtual std::optional<FindData> find(const QString& path) = 0;
    // enumerate() restricted to one kind of entry (folders after following links, or everything else).
    // Returns whether any entry of that kind matched the piece.
    virtual bool enumerateKind(const QString& dir, const QString& piece, KindFilter kinds, const EntrySink& sink,
                               const Heartbeat& heartbeat = {})
    {
        bool delivered = false;
        enumerate(dir, piece, [&](const FindData& fd) {
            if (kinds != KindFilter::Any && fd.isDir() != (kinds == KindFilter::FoldersOnly))
                return !heartbeat || heartbeat();
            delivered = true;
            return sink(fd);
        });
        return delivered;
    }
};

class LinuxFileSystem : public IFileSystem {
public:
    bool enumerate(const QString& dir, const QString& piece, const EntrySink& sink) override;
    std::optional<FindData> find(const QString& path) override;
    bool enumerateKind(const QString& dir, const QString& piece, KindFilter kinds, const EntrySink& sink,
                       const Heartbeat& heartbeat = {}) override;
};

} // namespace plat
