#pragma once
#include <QString>
#include <compare>
#include <optional>
#include <sys/stat.h>
#include <sys/types.h>

// Which file a name stands for, and the stat records it is read from. Records come back as 0 or an
// errno value; identities compare device and inode, so links, hard links and bind mounts cannot hide
// that two names are one file.
namespace plat::posix {

// stat records: 0 or an errno value.
int statPath(const QString& path, struct stat& st);            // links followed
int lstatAt(int dirFd, const char* name, struct stat& st);     // the entry itself, never a link's target
int statFd(int fd, struct stat& st);
// lstat of a path; false with errno set when it does not exist.
bool lstatPath(const QString& path, struct stat& st);

// The identity of a file: its device and inode.
struct FileId {
    quint64 dev = 0;
    quint64 ino = 0;
    static FileId of(const struct stat& st) { return {quint64(st.st_dev), quint64(st.st_ino)}; }
    auto operator<=>(const FileId&) const = default;
};

std::optional<FileId> fileId(const QString& path);   // links followed; none when it cannot be read
std::optional<FileId> fileId(int fd);
// True when both paths name one existing file (links followed); a missing or empty path never does.
bool sameFile(const QString& a, const QString& b);

// The effective user and group of this process: the owner of every file it creates.
struct Owner {
    uid_t uid;
    gid_t gid;
};
Owner processOwner();
// The user this process runs for (the real user ID): per-user folders such as the trash are named after it.
uid_t realUserId();

namespace faults {

// Tests: processOwner() reports `owner` for the lifetime of the object, so that a copy meets files of
// another owner without root rights to make them.
class ScopedOwner {
public:
    explicit ScopedOwner(Owner owner);
    ~ScopedOwner();
    ScopedOwner(const ScopedOwner&) = delete;
    ScopedOwner& operator=(const ScopedOwner&) = delete;
};

} // namespace faults

} // namespace plat::posix
