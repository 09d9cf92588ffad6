#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include "fileops/engine/ListItem.h"
#include <QList>
#include <QStringList>
#include <functional>

namespace fileops {

// Hints of the main window's transfer-list box; the hint is part of the paste question.
QString dirboxHintStart();   // "要剪切或复制的文件列表"
QString dirboxHintCut();     // "要剪切的文件"
QString dirboxHintCopy();    // "要复制的文件"

// A file list's transfer list: Cut and Copy mark items as pending, Paste copies or moves them into a folder.
class TransferList {
public:
    static constexpr int kCopy = 0;
    static constexpr int kMove = 2;
    static constexpr int kCollecting = -1;

    QStringList ClipList;          // full paths of the pending items, in list order
    int ClipOperation = kCopy;     // 0 copy, 2 move, -1 while CutCopy collects
    std::function<void()> OnRelist;   // the list re-lists its folder

    // Replaces ClipList with the selected items (mode 0 copy, 2 cut); drive rows and ".." are reported and skipped.
    void CutCopy(const QList<ListItem>& selected, int mode, FileOpPrompter& ui);
    // Copies or moves every pending item into `destination`, one operation per item. True when any item was
    // transferred; then the list re-lists, and after a move exactly the moved items leave ClipList.
    bool PasteFiles(const QString& destination, bool renameOnCollision, FileOpPrompter& ui);
};

// The paste command for the list that holds the pending transfer.
struct PasteOutcome {
    enum Step { Refused, Declined, Pasted };
    Step step = Refused;
    bool transferred = false;    // PasteFiles returned true: refresh the window
    bool pendingEmpty = false;   // ClipList is empty now: no transfer source, the box is cleared
};

// "确定" + hint + "到" + quoted path + "吗？"; list one quotes with '"', list two with “ ”.
QString pasteQuestion(const QString& hint, const QString& path, bool listTwo);

// Refuses DRIVES and an empty path, asks the paste question captioned "粘贴", then pastes into `pathText`.
// Declined: nothing else may run (not even the command-state update).
PasteOutcome pasteCommand(TransferList& list, bool listTwo, const QString& pathText, const QString& hint,
                          bool renameOnCollision, FileOpPrompter& ui);

} // namespace fileops
