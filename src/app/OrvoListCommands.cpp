// Rename, batch rename, new folders and text documents, open and quick view from the main window's menus.
#include "app/Orvo.h"
#include "filelist/ListNames.h"
#include "filelist/LsFilelistView28.h"
#include "fileops/DialogsPrompter.h"
#include "foldertree/ShellTree.h"
#include "platform/Path.h"
#include "tools/search/window/Findfiles.h"
#include "ui/Dialogs.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <optional>

namespace {

bool hasSelection(const TLsFilelistView28* list)
{
    return !list->selectedRows().isEmpty();
}

// One list's round of batch rename: its own questions and input boxes, then the renames.
void batchRenameList(TOrvo& w, TLsFilelistView28* list, bool listTwo)
{
    ui::Dialogs& dialogs = ui::Dialogs::get();
    if (dialogs.question(&w, QStringLiteral("重命名所有选择的文件?"), QStringLiteral("文件改名")) != ui::Dialogs::Yes)
        return;
    list->setUpdatesEnabled(false);
    const QString base = dialogs.input(&w, QStringLiteral("改文件名"),
                                       QStringLiteral("全部改名为（后加序号1;2;3...）") + QString(19, u' '),
                                       QStringLiteral("all"));
    std::optional<QString> ext;
    if (dialogs.question(&w,
                         QStringLiteral("   选择的全部文件的扩展名改为同一扩展名吗？\r\n"
                                        "（注意：修改扩展名可能会导致文件关联错误而打不开或打开错误！）"),
                         QStringLiteral("修改文件扩展名")) == ui::Dialogs::Yes) {
        ext = dialogs.input(&w, QStringLiteral("改扩展名"),
                            QStringLiteral("全部扩展名改为:") + QString(listTwo ? 20 : 16, u' '), QStringLiteral("ext"));
    }
    fileops::DialogsPrompter prompter(&w);
    filelist::batchRename(list->selectedItems(), base, ext, prompter);
    list->setUpdatesEnabled(true);
    TLsFilelistView28* other = w.otherList(list);
    if (plat::path::samePath(other->Directory(), list->Directory()))
        other->UpdateFileList();
    list->UpdateFileList();
}

// A new folder in `list`; the other list follows when it shows the same folder.
void newFolderIn(TOrvo& w, TLsFilelistView28* list)
{
    if (!list)
        return;
    list->NewFolder();
    TLsFilelistView28* other = w.otherList(list);
    if (plat::path::samePath(other->Directory(), list->Directory())) {
        other->UpdateFileList();
        w.pathbox->setEditText(list->Directory());
    }
}

// A new empty text document in `list`'s folder, then the main window's refresh.
void newTextDocumentIn(TOrvo& w, TLsFilelistView28* list)
{
    if (!list || !plat::path::isDirectory(list->Directory()))
        return;
    filelist::createNewTextDocument(list->Directory());
    w.RefreshClick();
}

} // namespace

// The lists' find opens a search window on the list's folder. Called once the lists exist.
void orvoWireListCommands(TOrvo& w)
{
    const QPointer<TOrvo> self(&w);
    for (TLsFilelistView28* list : {w.LsFilelistView281, w.LsFilelistView282}) {
        list->OnFindInFolder = [self](QObject*, const QString& folder) {
            auto* f = new Tfindfiles;
            if (!folder.isEmpty())
                f->Location->setText(folder);
            f->onShowInMainWindow = [self](const QString& shown) {
                if (self && self->treeDrivenList())
                    self->treeDrivenList()->setDirectory(shown);
            };
            TOrvo::showToolWindow(f);
        };
    }
}

void TOrvo::EditFClick()
{
    if (!ShellTree1->ReadOnly() && ShellTree1->Selected()) {
        ShellTree1->setFocus();
        ShellTree1->EditSelected();
    }
    remClick();
}

void TOrvo::remClick()
{
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
        if (hasSelection(list))
            list->RenameSelected();
    }
}

void TOrvo::ASRClick()
{
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
        if (hasSelection(list))
            batchRenameList(*this, list, list == LsFilelistView282);
    }
}

void TOrvo::xjwjjClick()
{
    newFolderIn(*this, activeList() ? activeList() : LsFilelistView281);
    treeRepaint();
}

void TOrvo::N37Click()
{
    newFolderIn(*this, treeDrivesListTwo() ? LsFilelistView282 : LsFilelistView281);
    treeRepaint();
}

void TOrvo::N16Click()
{
    newTextDocumentIn(*this, popupList() == LsFilelistView281 ? LsFilelistView281 : LsFilelistView282);
}

void TOrvo::B6Click()
{
    newTextDocumentIn(*this, treeDrivesListTwo() ? LsFilelistView282 : LsFilelistView281);
}

void TOrvo::Open1_oldClick()
{
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
        if (!hasSelection(list))
            continue;
        list->OpenItem();
        list->setStopa(true);
    }
}

void TOrvo::QuickView1_oldClick()
{
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
        if (hasSelection(list))
            list->ViewFile();
    }
}
