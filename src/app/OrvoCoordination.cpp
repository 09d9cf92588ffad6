// Keeping the panes in step: which list the tree drives, the active list, the status texts, the list events,
// the rename timers, refresh and stop.
#include "app/Commands.h"
#include "app/ListActions.h"
#include "app/Orvo.h"
#include "app/PaneLayout.h"
#include "app/PathBar.h"
#include "app/StatusTexts.h"
#include "filelist/FileListView.h"
#include "filelist/FolderCombo.h"
#include "platform/Path.h"
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>

namespace {

bool folderExists(const QString& dir)
{
    return !dir.isEmpty() && plat::path::isDirectory(dir);
}

// The selected item of a list: its first selected row, or -1.
int selectedRow(const TLsFilelistView28* list)
{
    const QList<int> rows = list->selectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

} // namespace

TLsFilelistView28* TOrvo::otherList(TLsFilelistView28* list) const
{
    return list == LsFilelistView281 ? LsFilelistView282 : LsFilelistView281;
}

bool TOrvo::treeDrivesListTwo() const
{
    return fv && fv->isChecked();
}

TLsFilelistView28* TOrvo::treeDrivenList() const
{
    return treeDrivesListTwo() ? LsFilelistView282 : LsFilelistView281;
}

void TOrvo::connectLists()
{
    m_listActions->setActiveList(LsFilelistView281);
    const auto guard = [this](auto f) {
        return [this, f] { app::guarded(this, f); };
    };
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
        connect(list, &TLsFilelistView28::changed, this, guard([this, list] { listChanged(list); }));
        connect(list, &TLsFilelistView28::itemClicked, this, guard([this, list] { listClicked(list); }));
        connect(list, &TLsFilelistView28::doubleClicked, this, guard([this, list] { listDblClicked(list); }));
        connect(list, &TLsFilelistView28::mousePressed, this, [this, list](QPoint globalPos) {
            app::guarded(this, [&] { listMouseDown(list, globalPos); });
        });
        connect(list, &TLsFilelistView28::mouseReleased, this, guard([this, list] { listMouseUp(list); }));
        connect(list, &TLsFilelistView28::keyPressed, this, guard([this, list] { listKeyDown(list); }));
        connect(list, &TLsFilelistView28::mouseMoved, this, guard([this, list] { listMouseMove(list); }));
        connect(list, &TLsFilelistView28::edited, this, guard([this, list] { listEdited(list); }));
    }
    LsDirTreeCombo281->OnPathChange = [this](QObject*, const QString&) { app::guarded(this, [this] { LsDirTreeCombo281PathChange(); }); };
    LsDirTreeCombo282->OnPathChange = [this](QObject*, const QString&) { app::guarded(this, [this] { LsDirTreeCombo282PathChange(); }); };
    LsDirTreeCombo281->OnDblClick = [this](QObject*) { app::guarded(this, [this] { LsDirTreeCombo281DblClick(); }); };
    LsDirTreeCombo282->OnDblClick = [this](QObject*) { app::guarded(this, [this] { LsDirTreeCombo282DblClick(); }); };
    connect(&Timer1, &QTimer::timeout, this, guard([this] { Timer1Timer(); }));
    connect(&Timer3, &QTimer::timeout, this, guard([this] { Timer3Timer(); }));
    connect(&Timer4, &QTimer::timeout, this, guard([this] { Timer4Timer(); }));
}

// --- Status ---

void TOrvo::showStatistics()
{
    TLsFilelistView28* active = m_listActions->activeList();
    TLsFilelistView28* list = active ? active : LsFilelistView281;
    app::ListFigures f;
    f.itemCount = list->rowCount();
    f.hasSelection = !list->selectedRows().isEmpty();
    f.listTwo = list == LsFilelistView282;
    if (f.hasSelection) {
        f.selectedNumber = list->SelectedNumber();
        f.selectedSize = list->SelectedSize();
        f.freeKB = list->DriveFreeSpace();
    } else {
        f.folderTotal = list->TotalSize();
    }
    StatusPanel0->setText(app::statusPanel0(f));
    StatusPanel1->setText(app::statusPanel1(f));
}

// --- List events ---

void TOrvo::listChanged(TLsFilelistView28* list)
{
    m_listActions->SetBtnMenuState();
    pathbox->setEditText(list->Directory());
    if (!list->isHidden())   // a hidden list never becomes the active one
        m_listActions->setActiveList(list);
    showStatistics();
}

void TOrvo::listClicked(TLsFilelistView28* list)
{
    treeClearSelection();
    const int row = selectedRow(list);
    if (row >= 0)
        dirbox->setEditText(list->subItem(row, 4));
}

void TOrvo::listDblClicked(TLsFilelistView28* list)
{
    list->setStopa(true);
    m_pathBar->addHistoryOnce(list->Directory());
}

void TOrvo::listMouseDown(TLsFilelistView28* list, QPoint globalPos)
{
    m_mousePressed = true;
    m_pressPoint = globalPos;
    otherList(list)->clearSelection();
    pathbox->setEditText(list->Directory());
}

void TOrvo::listMouseUp(TLsFilelistView28*)
{
    m_mousePressed = false;
}

void TOrvo::listKeyDown(TLsFilelistView28* list)
{
    otherList(list)->clearSelection();
    m_listActions->SetBtnMenuState();   // the list's own Ctrl+C/X may have left items to paste
}

void TOrvo::listMouseMove(TLsFilelistView28* list)
{
    if (m_listActions->activeList() != list) {
        m_listActions->setActiveList(list);
        showStatistics();
    }
    const bool bothStopped = LsFilelistView281->stopa() && LsFilelistView282->stopa();
    stop1->setEnabled(!bothStopped);
    stop2->setEnabled(!bothStopped);
}

void TOrvo::listEdited(TLsFilelistView28* list)
{
    (list == LsFilelistView281 ? Timer1 : Timer3).start();
}

// --- Rename timers ---

void TOrvo::timerRelist(TLsFilelistView28* renamed)
{
    TLsFilelistView28* other = otherList(renamed);
    if (folderExists(other->Directory())) {
        other->UpdateFileList();
        if (plat::path::samePath(other->Directory(), renamed->Directory()))
            pathbox->setEditText(renamed->Directory());
    } else {
        other->UpdateFileList();
        pathbox->setEditText(renamed->Directory());
    }
    // Re-listing made the other list active; a hidden one must not take the path bar, status and commands.
    if (other->isHidden())
        listChanged(renamed);
    treeRepaint();
}

void TOrvo::Timer1Timer()
{
    Timer1.stop();
    timerRelist(LsFilelistView281);
    rebuildCombos(false, true);
}

void TOrvo::Timer3Timer()
{
    Timer3.stop();
    timerRelist(LsFilelistView282);
    rebuildCombos(true, false);
}

void TOrvo::Timer4Timer()
{
    Timer4.stop();
    const QString parent = plat::path::withTrailingSep(plat::path::folderPart(plat::path::withoutTrailingSep(treePath())));
    TLsFilelistView28* driven = treeDrivenList();
    for (TLsFilelistView28* list : {driven, otherList(driven)}) {
        if (plat::path::samePath(list->Directory(), parent))
            list->UpdateFileList();
    }
    pathbox->setEditText(driven->Directory());
    rebuildCombos(true, true);
}

// --- Commands ---

void TOrvo::RefreshClick()
{
    for (QTimer* t : {&Timer1, &Timer3, &Timer4})
        t->stop();
    TLsFilelistView28* driven = treeDrivenList();
    for (TLsFilelistView28* list : {driven, otherList(driven)}) {
        if (list->isVisible() || list == driven)
            list->UpdateFileList();
    }
    pathbox->setEditText(driven->Directory());
    treeRepaint();
    rebuildCombos(true, true);
}

void TOrvo::rebuildCombos(bool rebuildOne, bool rebuildTwo)
{
    for (auto [combo, rebuild] : {std::pair{LsDirTreeCombo281, rebuildOne}, std::pair{LsDirTreeCombo282, rebuildTwo}}) {
        if (rebuild)
            combo->RebuildTree(true);
        else
            combo->expandFirstNode();
    }
}

// --- Folder combos ---

void TOrvo::LsDirTreeCombo281PathChange()
{
    // The tree now drives the combo's list.
    ScrollBox1->hide();
    m_paneLayout->setFv(false);
    m_paneLayout->fvClick();
}

void TOrvo::LsDirTreeCombo282PathChange()
{
    ScrollBox1->hide();
    m_paneLayout->setFv(true);
    m_paneLayout->fvClick();
}

void TOrvo::LsDirTreeCombo281DblClick()
{
    LsDirTreeCombo281PathChange();
    LsFilelistView281->setDirectory(LsDirTreeCombo281->SelectedPath());
    pathbox->setEditText(LsDirTreeCombo281->SelectedPath());
}

void TOrvo::LsDirTreeCombo282DblClick()
{
    LsDirTreeCombo282PathChange();
    LsFilelistView282->setDirectory(LsDirTreeCombo282->SelectedPath());
    pathbox->setEditText(LsDirTreeCombo282->SelectedPath());
}

void TOrvo::PrevLevelClick()
{
    treeDrivenList()->setDirectory(QStringLiteral("DRIVES"));
}

void TOrvo::stop1Click()
{
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282})
        list->setStopa(true);
    for (QTimer* t : {&Timer1, &Timer2, &Timer3, &Timer4})
        t->stop();
}

void TOrvo::BtnSearchClick()
{
    if (QWidget* view = LsFilelistView281->currentView())
        view->setFocus();
    LsFilelistView281->FindInFolder();
}
