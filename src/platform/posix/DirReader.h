#pragma once
#include <QByteArray>
#include "platform/posix/DirStream.h"
#include <QList>

// Reading the names in an open folder.
namespace plat::posix {

// The entries of an open folder, without "." and "..", read by the layer's one folder reader (DirStream)
// through a fresh descriptor of the same folder, so the caller's descriptor stays open and usable for the
// *at() calls on the names it hands out.
class DirReader {
public:
    struct Entry {
        const char* name = nullptr;   // valid until the next call
        bool isDir = false;           // known to be a folder from the listing itself (not every file system tells)
    };

    explicit DirReader(int dirFd);
    ~DirReader();
    DirReader(const DirReader&) = delete;
    DirReader& operator=(const DirReader&) = delete;

    // 0, or why the folder could not be opened for reading.
    int error() const { return m_error; }
    // The next entry; false at the end.
    bool next(Entry& entry);

private:
    DirStream m_stream;
    int m_error = 0;
};

// Every name in the open folder `dirFd`. Returns 0 or an errno value.
int listNames(int dirFd, QList<QByteArray>& names);

} // namespace plat::posix
