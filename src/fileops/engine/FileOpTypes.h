#pragma once
#include <QString>
#include <QStringList>

namespace fileops {

// Operation codes of the file operation.
enum FileOpCode : int { FO_MOVE = 1, FO_COPY = 2, FO_DELETE = 3, FO_RENAME = 4 };

// Flag bits of the file operation (their numeric values are part of the callers' contracts).
enum FileOpFlag : unsigned {
    FOF_MULTIDESTFILES = 0x0001,      // targets[i] is the full target name of sources[i]
    FOF_SILENT = 0x0004,              // no progress window
    FOF_RENAMEONCOLLISION = 0x0008,   // store beside an existing item under a "复件 " name
    FOF_NOCONFIRMATION = 0x0010,      // no questions: replace, delete
    FOF_ALLOWUNDO = 0x0040,           // deletes go to the recycle bin
    FOF_NOCONFIRMMKDIR = 0x0200,      // create missing target folders without asking
};

// The list's own operation numbers (0 copy, 1 delete, 2 move, 3 rename) mapped to the operation codes.
int platformOp(int listOperation);

struct FileOpRequest {
    int op = FO_COPY;
    unsigned flags = 0;
    QStringList sources;
    QStringList targets;   // full names with FOF_MULTIDESTFILES, else one target folder
};

struct FileOpResult {
    bool ok = true;             // no error occurred
    bool anyAborted = false;    // some item was skipped by an answer, or the user cancelled
    bool userCancelled = false; // Cancel in the progress window or a question
    QStringList problems;       // one line per failed or skipped item, for callers without windows
    bool success() const { return ok && !anyAborted; }
};

} // namespace fileops
