#pragma once
#include "fileops/engine/ErrorTexts.h"
#include "platform/posix/Fd.h"
#include "platform/posix/FileId.h"
#include "platform/posix/FileTime.h"
#include <QByteArray>
#include <QString>
#include <functional>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace fileops {

class FileOpProgress;

// How one step on an item ended; a failure keeps what failed.
struct StepResult {
    enum State { Done, Failed, Cancelled };
    State state = Done;
    ItemError error;

    static StepResult done() { return {}; }
    static StepResult failed(const ItemError& e) { return {Failed, e}; }
    static StepResult cancelled() { return {Cancelled, {}}; }
};

// How an item takes its final name in the target folder.
enum class Place {
    Exclusive,   // its own name, never replacing anything
    FirstFree,   // its own name, else the first free "复件 " name
    CopyName,    // the first free "复件 " name
    Replace,     // its own name, replacing what is there
};

// Gives the entry `from` of `fromDirFd` its name `name` in `dstFd` as `mode` says (a rename, so both
// must be on one file system). `placed` receives the name it took. Returns 0 or an errno value.
int placeEntry(int fromDirFd, const QByteArray& from, int dstFd, const QString& name, Place mode,
               QString* placed = nullptr);

// Source entries copied by a move across file systems, by identity, with their state when copied.
class CopiedSet {
public:
    void add(const struct stat& st);
    // Copied and not changed since; a folder's entries are checked one by one.
    bool unchanged(const struct stat& st) const;
    // Copied without what a move keeps (owner, extended attributes) because the target cannot hold it.
    void addPartial(const struct stat& st);
    bool partial(const struct stat& st) const;

private:
    struct State {
        qint64 size;
        plat::posix::FileTime mtime;
    };
    std::map<plat::posix::FileId, State> m_entries;
    std::set<plat::posix::FileId> m_partial;
};

// The one copier: one file, link or folder (with everything below it) into a target folder. The copy is
// made under a temporary name in the target folder and takes its final name only when it is complete,
// so a failure or a stop leaves nothing behind. Files keep their permission bits (set-user/group-ID only
// for the same owner) and times, links stay links, folder modes are set last so that read-only folders
// could be filled. Failures name the source entry that failed and report with the copier's verb.
class TreeCopier {
public:
    TreeCopier(Verb verb, FileOpProgress& progress, CopiedSet* record = nullptr)
        : m_verb(verb), m_progress(progress), m_record(record)
    {
    }

    // Copies `src` (whose lstat record is `ss`) into the folder `dstDirFd` as `name`, placed as `mode` says.
    StepResult copyEntry(const QString& src, const struct stat& ss, int dstDirFd, const QString& name, Place mode);

    // The temporary name of the n-th attempt at a copy of `name`: ".<name>.orvo-part", then numbered.
    static QByteArray tempName(const QString& name, int n);

    // A copy holds an exclusive lock on its temporary entry until the entry has its final name. Temporary
    // entries of `name` in `dirFd` that nobody holds are left over from a copy that was killed: removed.
    static void removeStaleParts(int dirFd, const QString& name);

private:
    // The name a new entry is created under: the real name below the copy's top, temporary names for the top.
    struct Naming {
        QByteArray fixed;
        QString temporaryFor;
    };

    bool copyNode(int srcDirFd, const char* srcName, const QString& srcPath, const struct stat& st, int dstDirFd,
                  const Naming& naming, const QByteArray& rel, QByteArray& created);
    bool copyChildren(int srcFd, const QString& srcPath, int dstFd, const QByteArray& rel);
    bool copyFileData(const QString& srcPath, int in, int out, qint64 size);
    bool create(const Naming& naming, const QString& srcPath, QByteArray& created,
                const std::function<int(const char*)>& make);
    bool failed(int code, const char* op, const QString& path);
    bool refused(ItemError::Reason reason, const QString& path);
    void lockPart(int fd);
    // A move keeps what a copy drops: the owner and group and the user.* extended attributes of `st`'s
    // entry, open as `from`, on the new entry open as `to`. False when the target cannot hold them: the
    // entry is then not recorded as copied, so its source stays.
    bool keepOwnerAndAttributes(int from, int to, const struct stat& st, mode_t& mode);
    // A second name of a file already copied within this tree: linked to that copy; false when it is the first.
    bool linkAgain(const struct stat& st, int dstDirFd, const QByteArray& name, const QByteArray& rel);

    Verb m_verb;
    FileOpProgress& m_progress;
    CopiedSet* m_record;
    ItemError m_error;
    struct DirState {
        QByteArray rel;        // below the top (empty: the top)
        mode_t mode;
        struct timespec times[2];
    };
    std::vector<DirState> m_dirModes;   // set last, deepest first
    plat::posix::Fd m_topFd;                           // the copy's top folder (a move keeps hard links in it)
    std::map<plat::posix::FileId, QByteArray> m_linked; // files with several names: the first copy's path below the top
    plat::posix::Fd m_partLock;   // holds the lock on the temporary entry of the copy in progress
};

} // namespace fileops
