#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include "fileops/engine/ListItem.h"
#include <QList>
#include <QStringList>

namespace fileops {

// A file list's DeleteItems: deletes the selected items permanently or into the recycle bin in one
// operation; drive rows and ".." are skipped, a missing item is reported. True when anything changed
// (an item was missing or went away), so the list re-lists.
bool DeleteItems(const QList<ListItem>& selected, bool permanent, FileOpPrompter& ui);

struct DeleteOutcome {
    bool cancelled = false;   // Esc or the close button: nothing was deleted
    bool changed = false;     // DeleteItems returned true: refresh the views
};

// The delete command on a list whose first selected item is deletable: tells the folder tree of every
// running instance to let go of folders (when the selection holds one), asks
// "按“是”直接删除！按“否”放入回收站。" (是 permanent, 否 recycle bin, Esc cancels), deletes, and tells
// the trees to resume whatever happened.
DeleteOutcome deleteSelection(const QList<ListItem>& selected, FileOpPrompter& ui);

// Asks "清空回收站？" captioned "回收站"; on Yes empties every trash folder. True when emptied.
bool askEmptyRecycleBin(FileOpPrompter& ui);

// Opens the recycle bin in the user's file manager.
void openRecycleBin();

// The thumbnail page's delete: asks "按“是”直接删除图片\r\n按“否”放入回收站。"; 否 trashes each file on
// its own, 是 removes each file for good, Esc cancels. True when anything changed.
bool deletePictures(const QStringList& files, FileOpPrompter& ui);

} // namespace fileops
