// Cut, copy, paste and delete between the panes; the transfer list box `dirbox`.
#include "app/Orvo.h"
#include "filelist/LsFilelistView28.h"
#include "fileops/DialogsPrompter.h"
#include "fileops/engine/Delete.h"
#include "fileops/engine/Transfer.h"
#include "platform/Path.h"
#include "ui/WaitCursor.h"
#include <QComboBox>

void TOrvo::cutCopy(int mode)
{
    fileops::DialogsPrompter ui(this);
    const QString hint = mode == fileops::TTransferList::kMove ? fileops::dirboxHintCut() : fileops::dirboxHintCopy();
    // List one first, then list two: with both selected, list two's items end up pending.
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
        if (list->selectedRows().isEmpty())
            continue;
        list->Transfer.CutCopy(list->selectedItems(), mode, ui);
        dirbox->setToolTip(hint);
        dirbox->clear();
        dirbox->addItems(list->Transfer.ClipList);
        otherList(list)->Transfer.ClipList.clear();
        m_transferSource = list == LsFilelistView281 ? TransferSource::ListOne : TransferSource::ListTwo;
    }
    SetBtnMenuState();
}

void TOrvo::Cut0Click()
{
    cutCopy(fileops::TTransferList::kMove);
}

void TOrvo::Copy0Click()
{
    cutCopy(fileops::TTransferList::kCopy);
}

void TOrvo::Paste0Click()
{
    if (m_transferSource == TransferSource::None) {
        SetBtnMenuState();
        return;
    }
    const bool listTwo = m_transferSource == TransferSource::ListTwo;
    TLsFilelistView28* list = listTwo ? LsFilelistView282 : LsFilelistView281;
    fileops::DialogsPrompter ui(this);
    const fileops::PasteOutcome o = fileops::pasteCommand(list->Transfer, listTwo, pathbox->currentText(),
                                                          dirbox->toolTip(), !replaceOnNameClash(), ui);
    if (o.step == fileops::PasteOutcome::Declined)
        return;   // nothing else runs, not even the command state
    if (o.step == fileops::PasteOutcome::Pasted) {
        if (o.pendingEmpty) {
            m_transferSource = TransferSource::None;
            dirbox->clear();
        }
        if (o.transferred)
            RefreshClick();
    }
    SetBtnMenuState();
}

void TOrvo::DeleteF_oldClick()
{
    TLsFilelistView28* list = nullptr;
    if (!LsFilelistView281->selectedRows().isEmpty())
        list = LsFilelistView281;
    else if (!LsFilelistView282->selectedRows().isEmpty())
        list = LsFilelistView282;
    fileops::DialogsPrompter ui(this);
    const QList<fileops::ListItem> items = list ? list->selectedItems() : QList<fileops::ListItem>();
    if (items.isEmpty() || items.first().isDriveOrParent()) {
        fileops::askEmptyRecycleBin(ui);
        return;
    }
    const fileops::DeleteOutcome o = fileops::deleteSelection(items, ui);
    if (!o.changed)
        return;
    list->UpdateFileList();
    TLsFilelistView28* other = otherList(list);
    if (!plat::path::isDirectory(other->Directory()) || plat::path::samePath(other->Directory(), list->Directory()))
        other->UpdateFileList();
    pathbox->setEditText(list->Directory());
}

void TOrvo::delFMouseDown()
{
    fileops::openRecycleBin();
}

void TOrvo::dirboxClick(int index)
{
    pathbox->setEditText(plat::path::folderPart(dirbox->itemText(index)));
}
