#pragma once
#include <QByteArray>
#include <QList>
#include <dirent.h>

// Reading the names in an open folder.
namespace plat::posix {

// The entries of an open folder, without "." and "..". It reads through a duplicate of the descriptor,
// so the caller's descriptor stays open and usable for the *at() calls on the names it hands out.
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
    DIR* m_dir = nullptr;
    int m_error = 0;
};

// Every name in the open folder `dirFd`. Returns 0 or an errno value.
int listNames(int dirFd, QList<QByteArray>& names);

} // namespace plat::posix
