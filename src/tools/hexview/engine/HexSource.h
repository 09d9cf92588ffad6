#pragma once
#include "platform/posix/Fd.h"
#include "tools/hexview/engine/ByteRanges.h"
#include <QString>
#include <array>
#include <deque>
#include <vector>

namespace hexview {

// The bytes the hex grid shows and edits. The file is opened read-only and never written; edits are a piece
// table over it: the content is a list of pieces, each a run of the original file or of the working file,
// which holds every byte added by an edit (a private ".MPHT" file, created exclusively with mode 0600 and
// removed with the source). Reads go through a 64 KiB cache; changed bytes are kept as ranges; the undo log
// keeps at most 100 records; ten markers hold a row each. Offsets are 64-bit throughout.
class HexSource {
public:
    enum class Origin { File, Added };
    struct Piece {
        Origin origin;
        qint64 start;    // offset in its origin
        qint64 length;
        bool operator==(const Piece&) const = default;
    };

    static constexpr qint64 kCacheSize = 65536;
    static constexpr int kMaxUndo = 100;
    static constexpr int kMarkerCount = 10;
    static const QString kNoUndo;              // "No Undo"
    static const QString kByteChanged;         // "Byte changed"
    static const QString kBytesRemoved;        // "Byte(s) removed"
    static const QString kInsertBuffer;        // "Insert buffer"

    // Creates the working file (see workingFilePath()); a view-only source (`editable` false) makes none
    // and refuses edits.
    explicit HexSource(bool editable = true);
    ~HexSource();
    HexSource(const HexSource&) = delete;
    HexSource& operator=(const HexSource&) = delete;

    // Shows the regular file `path`. False, with the previous content kept, when it cannot be opened for
    // reading. The change marks and the undo log are emptied.
    bool loadFromFile(const QString& path);
    QString fileName() const { return m_fileName; }
    // Whether the current user could open the shown file for writing.
    bool sourceWritable() const { return m_sourceWritable; }
    // The private working file, or empty when it could not be made (edits then fail).
    QString workingFilePath() const { return m_workPath; }

    qint64 size() const { return m_size; }
    // The byte at `pos`: 0..255, or -1 past the end or where the file can no longer be read (it shrank).
    int byteAt(qint64 pos);
    const std::vector<Piece>& pieces() const { return m_pieces; }

    // Change marks.
    bool isChanged(qint64 pos) const { return m_changes.contains(pos); }
    const ByteRanges& changes() const { return m_changes; }
    void clearChanges() { m_changes.clear(); }

    // Writes `value` at `pos` (below size()). False when it would not change the byte; else an undo record
    // "Byte changed" is added and the byte marked. Throws EHexEditorError when the working file fails.
    bool overwrite(qint64 pos, quint8 value);
    // Removes `count` bytes from `pos` (clamped to the content): an undo record "Byte(s) removed"; the
    // bytes after move up and the change marks from `pos` on are dropped. False when nothing was removed.
    bool remove(qint64 pos, qint64 count);
    // Inserts `bytes` at `pos` (0..size()): an undo record "Insert buffer"; the marks from `pos` on are
    // dropped and the new bytes marked.
    bool insert(qint64 pos, const QByteArray& bytes);

    // The description of the newest undo record, or "No Undo".
    QString undoDescription() const;
    int undoCount() const { return int(m_undo.size()); }
    // Takes back the newest record. False when the log is empty.
    bool undo();

    // Markers 0..9: a row, or -1 when unset. Index outside 0..9: EHexEditorError "SetMarker : Invalid marker index".
    qint64 marker(int index) const;
    void setMarker(int index, qint64 row);
    // The lowest marker digit on `row`, or -1.
    int markerOnRow(qint64 row) const;

private:
    struct UndoRecord {
        QString description;
        qint64 pos;
        qint64 newLength;                 // logical length that replaced the old pieces
        std::vector<Piece> oldPieces;     // what [pos, pos + newLength) was before
        qint64 marksEnd;                  // the edit touched the marks of [pos, marksEnd)
        ByteRanges oldMarks;              // those marks before the edit
    };

    // Replaces the content [pos, pos + length) by `with`; returns the pieces that were there.
    std::vector<Piece> replaceRange(qint64 pos, qint64 length, const std::vector<Piece>& with);
    // Makes a piece boundary at `pos` and returns the index of the piece starting there.
    std::size_t splitAt(qint64 pos);
    std::size_t pieceIndexOf(qint64 pos) const;
    void rebuildStarts();
    void mergeAround(std::size_t first, std::size_t last);
    void pushUndo(UndoRecord record);
    Piece appendAdded(const QByteArray& bytes);
    void fillCache(qint64 pos);
    qint64 readOrigin(Origin origin, qint64 at, char* out, qint64 count);

    QString m_fileName = QStringLiteral("Untitled");
    bool m_sourceWritable = false;
    plat::posix::Fd m_file;
    plat::posix::Fd m_work;
    QString m_workPath;
    qint64 m_addedEnd = 0;

    std::vector<Piece> m_pieces;
    std::vector<qint64> m_starts;      // logical start of each piece
    qint64 m_size = 0;

    std::vector<qint16> m_cache;       // -1 for a byte that could not be read
    qint64 m_cacheStart = -1;

    ByteRanges m_changes;
    std::deque<UndoRecord> m_undo;
    std::array<qint64, kMarkerCount> m_markers;
};

} // namespace hexview
