#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include <QStringList>

namespace fileops {

// Drag and drop's transfer component: checks a list of items against a destination folder, reports each
// problem, then copies or moves all acceptable items in one operation.
class TFlyingOp {
public:
    QStringList FileList;            // full paths of the items
    QString SourceDirectory;         // filled with the first item's folder when empty
    QString DestinationDirectory;    // must end with '/'
    bool CreateDirectory = false;    // create missing folders without asking
    bool Aborted = false;            // the last operation failed or was cancelled
    // Where its messages and the operation's questions go; null = no windows (questions answer No).
    FileOpPrompter* Prompter = nullptr;

    bool CopyFiles(bool renameOnCollision);
    bool MoveFiles(bool renameOnCollision);

private:
    bool run(int op, bool renameOnCollision);
};

} // namespace fileops
