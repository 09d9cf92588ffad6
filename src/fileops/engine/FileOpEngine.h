#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include "fileops/engine/FileOpTypes.h"
#include <QMutex>
#include <atomic>
#include <functional>
#include <vector>
#include <sys/stat.h>

namespace fileops {

struct CopiedSet;

// Counters a running operation shares with the progress window; the stop flag is the window's Cancel.
class FileOpProgress {
public:
    std::atomic<qint64> itemsDone{0};
    std::atomic<qint64> itemsTotal{0};
    std::atomic<qint64> bytesDone{0};
    std::atomic<bool> stop{false};
    void setCurrent(const QString& name);
    ProgressSnapshot snapshot(int op) const;
private:
    mutable QMutex m_mutex;
    QString m_current;
};

// Fault points for tests: a copy that fails part way and a move that must cross file systems.
struct FileOpHooks {
    // Called after each copied chunk with the source file and the offset reached; a non-zero errno fails the copy.
    static std::function<int(const QString& source, qint64 offset)> copyFault;
    // Moves behave as if source and target were on different file systems.
    static std::atomic<bool> forceCrossDevice;
    // Called before an item goes to the recycle bin; a non-zero errno makes trashing fail.
    static std::function<int(const QString& path)> trashFault;
    static void reset();
};

// Carries out one file operation synchronously on the calling thread. Questions and errors go to the
// prompter; the caller runs it on a worker and hands those over (see runFileOperation).
class FileOpEngine {
public:
    FileOpEngine(const FileOpRequest& request, FileOpPrompter& prompter, FileOpProgress& progress);
    FileOpResult run();

private:
    enum class Done { Ok, Skipped, Failed, Cancelled };
    // How an item takes its final name in the target folder.
    enum class Place { Exclusive, FirstFree, CopyName, Replace };
    struct IoError {
        int code = 0;
        QString path;
        QString reason;
    };

    void runTransfer(bool move);
    void runDelete();
    void runRename();

    Done transferTop(const QString& src, const QString& dst, bool move);
    Done transferItem(const QString& src, const QString& dstDir, const QString& name, bool move);
    Done mergeFolder(const QString& src, const QString& dst, bool move);
    Done moveEntry(const QString& src, const struct stat& ss, const QString& dstDir, const QString& name, Place mode);
    Done copyEntry(const QString& src, const struct stat& ss, const QString& dstDir, const QString& name, Place mode,
                   bool forMove);
    Done deleteOne(const QString& path, bool permanent);

    // Creates the copy of `src` under a temporary name in `dstFd`; `temp` receives that name.
    bool copyToTemp(const QString& src, const struct stat& ss, int dstFd, const QString& name, QByteArray& temp,
                    IoError& err);
    bool copyFileData(const QString& src, int in, int out, qint64 size, IoError& err);
    bool copyTreeContents(const QString& src, int srcFd, int dstFd, IoError& err);
    int place(int fromDirFd, const QByteArray& from, int dstFd, const QString& name, Place mode, QString* placed);

    Done fail(const QString& verb, const QString& path, const QString& reason);
    Done failIo(const QString& verb, const IoError& err);
    Done skip(const QString& path, const QString& reason);
    Done cancel();
    bool stopped() const;
    QString verb(bool move) const;

    // Notes a copied source entry while a move across file systems records them.
    void record(const struct stat& st);

    FileOpRequest m_req;
    FileOpPrompter& m_prompter;
    FileOpProgress& m_progress;
    FileOpResult m_result;
    bool m_halt = false;
    CopiedSet* m_recording = nullptr;                               // copied entries of a cross-device move
    std::vector<std::pair<QByteArray, mode_t>>* m_dirModes = nullptr; // folder modes, set after placing
    QByteArray m_rel;                                               // folder being filled, below the copy's top
};

// "复件 " + name for the first copy, "复件 (n) " + name for the n-th.
QString collisionName(const QString& name, int n);

} // namespace fileops
