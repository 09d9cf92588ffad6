#pragma once
#include "platform/FileSystem.h"
#include "platform/posix/Fd.h"
#include <QByteArray>
#include <QSet>
#include <QString>
#include <functional>
#include <string>
#include <vector>

namespace search {

// One pass over a folder's directory records for the walk: names and record types only, so that entries
// which the mask rejects and plain files during recursion cost no stat call. Find data is read per entry on
// demand, with the same rules as the platform's enumeration (links followed for kind, size and times; a
// dangling link gives its own data; attributes from plat::attributes with the folder's ".hidden" list).
class FolderScan {
public:
    struct Record {
        quint32 nameAt;         // offset of the NUL-terminated name in the name store
        quint32 nameLength;
        unsigned char type;     // DT_* of the directory record
    };

    FolderScan() = default;
    FolderScan(const FolderScan&) = delete;
    FolderScan& operator=(const FolderScan&) = delete;

    // Opens the folder (`folder` ending in '/') and reads all its records; `stopped` is checked between
    // batches. False when it cannot be opened (no entries).
    bool read(const QString& folder, const std::function<bool()>& stopped);
    void close();               // releases the descriptor; names and records stay

    quint64 dev() const { return m_dev; }   // identity of the folder itself
    quint64 ino() const { return m_ino; }
    const std::vector<Record>& records() const { return m_records; }
    const char* name(const Record& r) const { return m_names.data() + r.nameAt; }

    // Find data of one record while the folder is open; false when it cannot be read.
    bool findData(const Record& r, const QString& decodedName, plat::FindData& out);
    // Whether the record is a folder that is not a link (the record type, or lstat when it has none).
    bool isRealFolder(const Record& r) const;

private:
    plat::posix::Fd m_fd;
    quint64 m_dev = 0, m_ino = 0;
    QString m_folder;
    std::vector<Record> m_records;
    std::string m_names;
    bool m_hasHiddenList = false;       // a ".hidden" record was seen
    bool m_hiddenRead = false;
    QSet<QString> m_hidden;
};

} // namespace search
