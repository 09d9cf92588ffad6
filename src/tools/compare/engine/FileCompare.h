#pragma once
#include "tools/compare/engine/LineSource.h"
#include <QByteArrayView>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QStringDecoder;

// Compares two text files line by line into a grid of three columns: column 0 holds a marker (' ' equal,
// 'x' different) and the line number of file 1, columns 1 and 2 the lines of file 1 and file 2, with empty
// gap rows inserted so that equal passages stand on the same row. Row 0 holds the file names.
//
// The run advances over equal rows; at a difference it looks for the first pair of consecutive equal lines,
// growing the two sides in turn, and pads the other side with gap rows so the pair lines up. Lines are
// compared through their hashes; bytes are compared only to confirm a hash match.
class FileCompare {
public:
    static constexpr int kTailLines = 30000;      // lines read after the run stops
    static constexpr int kProgressEvery = 4096;   // steps between OnProgress calls

    FileCompare();
    ~FileCompare();
    FileCompare(const FileCompare&) = delete;
    FileCompare& operator=(const FileCompare&) = delete;

    // Called every kProgressEvery steps of a run; the handler may call Abort().
    std::function<void(FileCompare* sender)> OnProgress;

    // Compares file1 (column 1) with file2 (column 2). Returns false when aborted, leaving the grid empty.
    // Throws EFileCompareError when a file cannot be opened or read.
    bool Execute(const QString& file1, const QString& file2);
    void Abort() { m_abort.store(true, std::memory_order_relaxed); }
    void Clear();

    int RowCount() const;   // row 0 included; 0 before a run
    QString Cells(int col, int row) const;
    // First character of column 0: ' ' for an equal row, 'x' for a differing one, null when the cell is empty.
    QChar Marker(int row) const;
    bool IsGap(int col, int row) const;   // column 1 or 2 has no line on that row
    qint64 LineNumber(int row) const;     // line number of file 1 on that row, 0 for none
    // The bytes shown in column 1 or 2 (a leading UTF-8 byte-order mark left out); empty for a gap.
    QByteArrayView LineBytes(int col, int row) const;
    bool IsUtf8(int col) const;           // column texts decode as UTF-8, else as GB18030
    bool HasDifferences() const;

    // From row `from`: skip a block of 'x' rows, then equal rows; the next differing row, or -1.
    int NextDifference(int from) const;
    // The same upwards; the previous differing row, or 0 when there is none.
    int PreviousDifference(int from) const;

private:
    struct Aborted {};
    class PairIndex;

    void run();
    bool resync();
    void readTail();
    bool need(int side, int row);
    bool ended(int side, int p);
    fc::Line lineAt(int side, int row) const;
    bool rowEqual(int row) const;
    quint64 pairKey(int side, int s);
    void insertGaps(int side, int at, int count);
    void markRows(int from, int to);
    void syncMarks();
    void tick();
    void detectEncodings();
    int loaded(int side) const { return int(m_col[side].size()) - 1; }

    std::unique_ptr<fc::LineSource> m_src[2];
    std::vector<qint32> m_col[2];   // per row (index 0 unused): line index, -1 for a gap
    std::vector<std::uint8_t> m_mark;   // per row: 1 when marked 'x'
    QString m_name[2];
    bool m_utf8[2] = {true, true};
    bool m_bom[2] = {false, false};
    mutable std::unique_ptr<QStringDecoder> m_gb;
    int m_c = 0;   // the synchronised row
    qint64 m_steps = 0;
    std::atomic<bool> m_abort{false};
};
