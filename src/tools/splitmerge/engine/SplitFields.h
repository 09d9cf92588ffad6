#pragma once
#include <QString>

namespace splitmerge {

// The pieces count, piece size and remainder of a split over `available` bytes. A change of the count
// recomputes the size and a change of the size recomputes the count, each written only when it differs,
// until neither changes; the result always covers the bytes exactly: count * size + remainder = available
// (for available > 0).
struct SplitFields {
    qint64 count = 2;
    qint64 size = 0;
    qint64 remainder = 0;
    bool operator==(const SplitFields&) const = default;
};

// `current` holds the fields before the change; its count (or size) is replaced by the new value.
SplitFields settleFromCount(qint64 available, qint64 count, SplitFields current);
SplitFields settleFromSize(qint64 available, qint64 size, SplitFields current);

// Pieces a split of `available` bytes into pieces of `pieceSize` bytes writes.
qint64 piecesFor(qint64 available, qint64 pieceSize);

// Piece k of base B: B followed by k in decimal ("movie.avi" -> "movie.avi1", …, "movie.avi10").
QString pieceName(const QString& base, qint64 k);

// The pieces' base of any piece of a set: its name without the last character (the set a file among
// pieces 1 to 9 belongs to).
QString mergeBase(const QString& piece);

// Parses a decimal field of the split window (digits only, 64-bit). Empty or anything else is invalid.
bool parseField(const QString& text, qint64* value);

} // namespace splitmerge
