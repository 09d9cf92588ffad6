#pragma once
#include "tools/splitmerge/engine/SplitMergeFiles.h"
#include <QString>
#include <functional>

namespace splitmerge {

// The opened file of the split/merge window: one file held open (at most one), whose position is where
// a split starts. It is cut into numbered pieces, and another file's bytes are written into it at a
// position. Failures raise ESplitMergeError; no output is ever the file being read.
class FileSplitter {
public:
    enum class Outcome { Completed, Stopped };

    FileSplitter() = default;
    FileSplitter(const FileSplitter&) = delete;
    FileSplitter& operator=(const FileSplitter&) = delete;

    // Opens for reading and writing (`writable`) or for reading only; closes the previous file first.
    void Open(const QString& path, bool writable = true);
    void Close();                             // releases the file; failures are not reported
    bool IsOpen() const { return m_fd.valid(); }
    QString FileName() const { return m_fd.path(); }
    qint64 Size() const;                      // current size; 0 while none is open
    qint64 Position() const { return m_position; }
    // A position at or past the end (or negative) becomes 0, as the window's start field does.
    void SetPosition(qint64 position);
    qint64 Available() const { return qMax<qint64>(Size() - m_position, 0); }

    // Writes base1, base2, … of `pieceSize` bytes each (the last one takes what is left) from Position()
    // to the end. An existing piece is replaced only when OnReplace answers true; false stops the split
    // (pieces already written stay). A piece that is the opened file is refused before anything is
    // written; a failing piece is removed and the pieces before it stay.
    Outcome Split(const QString& base, qint64 pieceSize);

    // "备份" + name, in the opened file's folder.
    static QString BackupName(const QString& path);

    // Writes the whole of `source` into the opened file at `position` (past the end: at the end),
    // replacing the bytes there and growing the file as needed. With a non-empty `backup` the opened
    // file is first copied there; an existing backup is replaced only when OnReplace answers true,
    // false returns false with nothing changed. Every refusal comes before anything is written. A
    // completed insertion closes the opened file.
    bool Insert(const QString& source, qint64 position, const QString& backup = QString());

    // Asked before an existing output is replaced (the split's pieces, the backup).
    std::function<bool(FileSplitter* sender, const QString& path)> OnReplace;
    // After each copied block: bytes done and total of the running step.
    std::function<void(FileSplitter* sender, qint64 done, qint64 total)> OnProgress;

private:
    bool askReplace(const QString& path);
    io::Progress progressFor(qint64 before, qint64 total);
    void refuseIfOpened(const QString& path, const QString& text) const;

    io::Fd m_fd;
    bool m_writable = false;
    qint64 m_position = 0;
};

// Joins base1, base2, … up to the first missing number into one output. The output is written beside
// its target and renamed over it only when every piece was appended.
class PieceMerger {
public:
    PieceMerger(const QString& base, const QString& output) : m_base(base), m_output(output) {}

    // The number of pieces present (1, 2, … up to the first gap).
    int CountPieces() const;
    // Refusals, raised before anything is written: no first piece, an output that is a piece or
    // `alsoReading` (the window's opened file), a read-only output.
    void Check(const QString& alsoReading = QString()) const;
    // Checks again, then merges; returns the number of pieces joined.
    int Execute(const QString& alsoReading = QString());

    std::function<void(PieceMerger* sender, qint64 done)> OnProgress;

private:
    QString m_base;
    QString m_output;
};

// Merge is offered for a file when base1 and base2 of its set both exist.
bool mergeAvailable(const QString& openedPath);

} // namespace splitmerge
