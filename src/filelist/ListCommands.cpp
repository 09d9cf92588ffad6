// The list's own commands: open, quick view, find, new folder, delete, transfer, properties, the keys,
// double click and the built-in popup menu.
#include "filelist/engine/ListLaunch.h"
#include "filelist/engine/ListNames.h"
#include "filelist/ListShell.h"
#include "filelist/FileListView.h"
#include "filelist/FileListPopup.h"
#include "fileops/DialogsPrompter.h"
#include "fileops/engine/Delete.h"
#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/NumberFormat.h"
#include "platform/Services.h"
#include "platform/Times.h"
#include "platform/Volumes.h"
#include "ui/Dialogs.h"
#include "ui/WaitCursor.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPointer>
#include <QUrl>

namespace path = plat::path;
using filelist::FileLister;

namespace {

bool isRemovableRoot(const QString& root)
{
    plat::IVolumes* volumes = plat::services().volumes;
    if (!volumes)
        return false;
    for (const plat::Volume& v : volumes->list()) {
        if (path::samePath(v.root, root))
            return v.type == plat::DriveType::Removable;
    }
    return false;
}

} // namespace

QWidget* TLsFilelistView28::dialogOwner()
{
    return window();
}

void TLsFilelistView28::linkSelect(const QString& folder)
{
    if (m_dirTreeCombo)
        m_dirTreeCombo->SelectPath(folder);
    if (m_dirTree)
        m_dirTree->SelectPath(folder);
}

// After new or deleted folders the combo rebuilds first; after a renamed folder the tree does.
void TLsFilelistView28::linkRebuild(bool comboFirst)
{
    FileListLink* first = comboFirst ? m_dirTreeCombo : m_dirTree;
    FileListLink* second = comboFirst ? m_dirTree : m_dirTreeCombo;
    if (first)
        first->RebuildTree(comboFirst);
    else if (second)
        second->RebuildTree(!comboFirst);
}

void TLsFilelistView28::OneLevelUp()
{
    const QString before = Directory();
    m_lister.OneLevelUp();
    const QString now = Directory();
    if (!FileLister::isDrivesWord(now) && now != before)
        linkSelect(now);
}

void TLsFilelistView28::OpenItem()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    const int row = rows.first();
    const QString kind = subItem(row, 5);
    const QString p = subItem(row, 4);
    if (caption(row) == QLatin1String("..")) {
        ui::WaitCursor busy;
        setStopa(true);
        OneLevelUp();
        return;
    }
    if (kind == QLatin1String("file")) {
        ui::WaitCursor busy;
        filelist::ExecuteFile(dialogOwner(), QStringLiteral("open"), p, {}, path::folderPart(p));
        return;
    }
    if (kind != QLatin1String("dir") && kind != QLatin1String("drv"))
        return;
    setStopa(true);
    const QString target = path::withTrailingSep(p);
    if (kind == QLatin1String("drv") && isRemovableRoot(target) && !filelist::DriveReady(dialogOwner(), target))
        return;
    ui::WaitCursor busy;
    setDirectory(target);
    linkSelect(target);
}

void TLsFilelistView28::ViewFile()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || subItem(rows.first(), 5) != QLatin1String("file"))
        return;
    const QString p = subItem(rows.first(), 4);
    const int index = filelist::quickViewIndex(p);
    if (index < 0)
        return;
    if (const std::optional<filelist::ViewerCommand> viewer = filelist::quickViewer(index)) {
        filelist::ExecuteFile(dialogOwner(), QStringLiteral("Open"), viewer->program, viewer->args + QStringList{p},
                              path::folderPart(p));
        return;
    }
    // No viewer installed: the user's own handler for the type.
    plat::ILauncher* launcher = plat::services().launcher;
    if (!launcher || !launcher->openUrl(QUrl::fromLocalFile(p)))
        filelist::ShowOpenError(dialogOwner(), p);
}

void TLsFilelistView28::FindInFolder()
{
    QWidget* focus = window()->focusWidget();
    if (!focus || (focus != this && !isAncestorOf(focus)))
        return;
    if (OnFindInFolder)
        OnFindInFolder(this, FileLister::isDrivesWord(Directory()) ? QString() : Directory());
}

void TLsFilelistView28::NewFolder()
{
    if (FileLister::isDrivesWord(Directory()))
        return;
    const QString created = filelist::createNewFolder(Directory());
    UpdateFileList();
    clearSelection();
    if (!created.isEmpty()) {
        for (int row = 0; row < rowCount(); ++row) {
            if (subItem(row, 4) == created) {
                selectRow(row);
                editRow(row);
                break;
            }
        }
    }
    linkRebuild(true);
}

bool TLsFilelistView28::DeleteItems(bool permanent)
{
    bool changed = false;
    {
        fileops::DialogsPrompter prompter(dialogOwner());
        changed = fileops::DeleteItems(selectedItems(), permanent, prompter);
    }
    if (changed) {
        UpdateFileList();
        linkRebuild(true);
    }
    return changed;
}

void TLsFilelistView28::CutCopy(int operation)
{
    fileops::DialogsPrompter prompter(dialogOwner());
    Transfer.CutCopy(selectedItems(), operation, prompter);
}

bool TLsFilelistView28::PasteFiles(const QString& folder, bool renameOnCollision)
{
    fileops::DialogsPrompter prompter(dialogOwner());
    return Transfer.PasteFiles(folder, renameOnCollision, prompter);
}

void TLsFilelistView28::ShowProperties()
{
    plat::IFileSystem* fs = plat::services().fs;
    for (int row : selectedRows()) {
        const QString p = path::withoutTrailingSep(subItem(row, 4));
        if (p.isEmpty())
            break;
        const int code = filelist::propertiesError(p);
        const std::optional<plat::FindData> fd = code == 0 && fs ? fs->find(p) : std::nullopt;
        if (!fd) {
            const QString text = filelist::shellErrorText(code ? code : 2);
            ui::Dialogs::get().error(dialogOwner(), text);
            continue;
        }
        // The desktop's file manager shows its own properties when it offers them.
        if (plat::ILauncher* l = plat::services().launcher; l && l->showItemProperties(QUrl::fromLocalFile(p)))
            continue;
        QStringList lines;
        lines << path::namePart(p);
        lines << QStringLiteral("类型: ") + subItem(row, subItem(row, 5) == QLatin1String("drv") ? 0 : 1);
        lines << QStringLiteral("位置: ") + path::folderPart(p);
        lines << QStringLiteral("大小: ") + plat::formatPicture(fd->size, u"#,##0") + QStringLiteral(" 字节");
        lines << QStringLiteral("创建时间: ") + plat::localTimeText(fd->creationNs);
        lines << QStringLiteral("修改时间: ") + plat::localTimeText(fd->writeNs);
        lines << QStringLiteral("访问时间: ") + plat::localTimeText(fd->accessNs);
        lines << QStringLiteral("属性: ") + plat::attributeLetters(fd->attributes);
        ui::Dialogs::get().info(dialogOwner(), lines.join(u'\n'), QStringLiteral("属性"));
    }
}

bool TLsFilelistView28::handleKey(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const bool selected = !selectedRows().isEmpty();
    if (mods == Qt::ControlModifier) {
        switch (e->key()) {
        case Qt::Key_A:
            if (rowCount() > 0) {
                QAbstractItemModel* m = model();
                m_selection->select(QItemSelection(m->index(0, 0), m->index(rowCount() - 1, m->columnCount() - 1)),
                                    QItemSelectionModel::ClearAndSelect);
            }
            return true;
        case Qt::Key_C:
            if (selected)
                CutCopy(fileops::TransferList::kCopy);
            return true;
        case Qt::Key_X:
            if (selected)
                CutCopy(fileops::TransferList::kMove);
            return true;
        case Qt::Key_F:
            if (selected)
                ViewFile();
            return true;
        case Qt::Key_O:
            if (selected)
                OpenItem();
            return true;
        case Qt::Key_N:
            if (!FileLister::isDrivesWord(Directory()))
                NewFolder();
            return true;
        case Qt::Key_V:
            if (!Transfer.ClipList.isEmpty())
                PasteFiles(Directory(), false);
            return true;
        default:
            return false;
        }
    }
    if (mods != Qt::NoModifier || isEditingCaption())
        return false;
    switch (e->key()) {
    case Qt::Key_Backspace:
        OneLevelUp();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (selected)
            OpenItem();
        return true;
    case Qt::Key_Escape:
        if (m_dirTreeCombo && m_dirTreeCombo->DroppedDown())
            m_dirTreeCombo->DropDown();
        return false;
    case Qt::Key_Delete:
        if (selected)
            DeleteItems(false);
        return true;
    case Qt::Key_F2:
        if (selected)
            RenameSelected();
        return true;
    case Qt::Key_F3:
        FindInFolder();
        return true;
    case Qt::Key_F4:
        if (m_dirTreeCombo)
            m_dirTreeCombo->DropDown();
        return true;
    case Qt::Key_F5:
        UpdateFileList();
        return true;
    default:
        return false;
    }
}

void TLsFilelistView28::handleDoubleClick()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty() || caption(rows.first()).isEmpty())
        return;
    const QPointer<TLsFilelistView28> self(this);
    if (m_dblClickToOpen)
        OpenItem();
    else if (caption(rows.first()) == QLatin1String(".."))
        OneLevelUp();
    if (self)
        Q_EMIT doubleClicked();
}

void TLsFilelistView28::showBuiltInPopup(const QPoint& globalPos)
{
    m_popup->popupAt(globalPos);
}
