// Keeping the panes in step: the active list, the status texts, the rename timers, refresh and the command state.
#include "app/Orvo.h"
#include "app/StatusTexts.h"
#include "filelist/LsFilelistView28.h"
#include "platform/Path.h"
#include "ui/Dialogs.h"
#include <QAction>
#include <QComboBox>
#include <QListView>
#include <QTreeView>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QToolButton>
#include <exception>
#include <optional>
#include <vector>

const QStringList TOrvo::kQuickViewExtensions = {
    QStringLiteral(".TXT"), QStringLiteral(".BMP"), QStringLiteral(".GIF"), QStringLiteral(".JPG"),
    QStringLiteral(".REG"), QStringLiteral(".INI"), QStringLiteral(".RTF"), QStringLiteral(".C"),
    QStringLiteral(".CPP"), QStringLiteral(".DPK"), QStringLiteral(".DPR"), QStringLiteral(".H"),
    QStringLiteral(".INF"), QStringLiteral(".PAS"), QStringLiteral(".WRI"),
};

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

void TOrvo::connectLists()
{
    m_active = LsFilelistView281;
    const auto guard = [this](auto f) {
        return [this, f] {
            try {
                f();
            } catch (const std::exception& e) {
                ui::Dialogs::get().error(this, QString::fromUtf8(e.what()));
            }
        };
    };
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
        connect(list, &TLsFilelistView28::changed, this, guard([this, list] { listChanged(list); }));
        connect(list, &TLsFilelistView28::itemClicked, this, guard([this, list] { listClicked(list); }));
        connect(list, &TLsFilelistView28::doubleClicked, this, guard([this, list] { listDblClicked(list); }));
        connect(list, &TLsFilelistView28::mousePressed, this, guard([this, list] { listMouseDown(list); }));
        connect(list, &TLsFilelistView28::mouseReleased, this, guard([this, list] { listMouseUp(list); }));
        connect(list, &TLsFilelistView28::keyPressed, this, guard([this, list] { listKeyDown(list); }));
        connect(list, &TLsFilelistView28::mouseMoved, this, guard([this, list] { listMouseMove(list); }));
        connect(list, &TLsFilelistView28::edited, this, guard([this, list] { listEdited(list); }));
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        for (QWidget* view : {static_cast<QWidget*>(list->detailsView()), static_cast<QWidget*>(list->iconView())}) {
            view->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(view, &QWidget::customContextMenuRequested, this, [this, list, view](const QPoint& pos) {
                m_popupList = list;
                PopupMenu6Popup(list);
                PopupMenu6->popup(view->mapToGlobal(pos));
            });
        }
    }
    connect(R3, &QAction::triggered, this, guard([this] { R3Click(); }));
    orvoWireListCommands(*this);
    connect(&Timer1, &QTimer::timeout, this, guard([this] { Timer1Timer(); }));
    connect(&Timer3, &QTimer::timeout, this, guard([this] { Timer3Timer(); }));
    connect(&Timer4, &QTimer::timeout, this, guard([this] { Timer4Timer(); }));
}

// --- Status ---

void TOrvo::showStatistics()
{
    TLsFilelistView28* list = m_active ? m_active : LsFilelistView281;
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
    SetBtnMenuState();
    pathbox->setEditText(list->Directory());
    m_active = list;
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
    addHistoryOnce(list->Directory());
}

void TOrvo::listMouseDown(TLsFilelistView28* list)
{
    m_mousePressed = true;
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
}

void TOrvo::listMouseMove(TLsFilelistView28* list)
{
    if (m_active != list) {
        m_active = list;
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

void TOrvo::PopupMenu6Popup(TLsFilelistView28* list)
{
    const bool open = folderExists(list->Directory());
    xjwjj->setEnabled(open);
    N16->setEnabled(open);
    paste2->setEnabled(open && transferPending());
    m_active = list;
    pathbox->setEditText(list->Directory());
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
    treeRepaint();
}

void TOrvo::Timer1Timer()
{
    Timer1.stop();
    timerRelist(LsFilelistView281);
}

void TOrvo::Timer3Timer()
{
    Timer3.stop();
    timerRelist(LsFilelistView282);
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

void TOrvo::SelectAll1_oldClick()
{
    TLsFilelistView28* driven = treeDrivenList();
    otherList(driven)->clearSelection();
    // One selection change for the whole list: the status texts are computed once, not once per row.
    QItemSelectionModel* selection = driven->detailsView()->selectionModel();
    const QAbstractItemModel* model = driven->model();
    const QModelIndexList before = selection->selectedRows();
    const auto fixed = [driven](int row) {
        return driven->subItem(row, 5) == QLatin1String("drv") || driven->caption(row) == QLatin1String("..");
    };
    std::vector<bool> chosen(size_t(driven->rowCount()));
    for (int row = 0; row < driven->rowCount(); ++row)
        chosen[size_t(row)] = !fixed(row);
    for (const QModelIndex& i : before)
        chosen[size_t(i.row())] = true;   // drive rows and ".." keep their state
    // Contiguous runs make few ranges even for a very long list.
    QItemSelection all;
    const int last = model->columnCount() - 1;
    for (int row = 0; row < int(chosen.size());) {
        if (!chosen[size_t(row)]) {
            ++row;
            continue;
        }
        const int first = row;
        while (row < int(chosen.size()) && chosen[size_t(row)])
            ++row;
        all.select(model->index(first, 0), model->index(row - 1, last));
    }
    selection->select(all, QItemSelectionModel::ClearAndSelect);
}

void TOrvo::R3Click()
{
    if (m_popupList)
        m_popupList->UpdateFileList();
}

// --- Command state ---

bool TOrvo::transferPending() const
{
    return !LsFilelistView281->Transfer.ClipList.isEmpty() || !LsFilelistView282->Transfer.ClipList.isEmpty();
}

void TOrvo::SetBtnMenuState()
{
    struct Sel {
        const TLsFilelistView28* list;
        int row;
        QString kind() const { return list->subItem(row, 5); }
        QString caption() const { return list->caption(row); }
        QString path() const { return list->subItem(row, 4); }
    };
    std::optional<Sel> s1, s2;
    if (const int r = selectedRow(LsFilelistView281); r >= 0)
        s1 = Sel{LsFilelistView281, r};
    if (const int r = selectedRow(LsFilelistView282); r >= 0)
        s2 = Sel{LsFilelistView282, r};
    // Each test looks at list one's selection when there is one, else at list two's.
    const auto test = [&](auto pred) { return s1 ? pred(*s1) : (s2 ? pred(*s2) : false); };

    const bool pending = transferPending();
    const bool real = test([](const Sel& s) { return s.kind() != QLatin1String("drv") && s.caption() != QLatin1String(".."); });
    const bool nonDrive = test([](const Sel& s) { return s.kind() != QLatin1String("drv"); });
    const bool file = test([](const Sel& s) { return s.kind() == QLatin1String("file"); });
    const bool folderOpen = folderExists(treeDrivenList()->Directory());
    const bool any = s1 || s2;
    const bool quick = test([](const Sel& s) {
        const QString ext = plat::path::extOf(s.path()).toUpper();
        return !ext.isEmpty() && kQuickViewExtensions.contains(ext);
    });

    const auto enable = [](std::initializer_list<QObject*> controls, bool on) {
        for (QObject* c : controls) {
            if (auto* a = qobject_cast<QAction*>(c))
                a->setEnabled(on);
            else if (auto* w = qobject_cast<QWidget*>(c))
                w->setEnabled(on);
        }
    };
    enable({Paste0, Paste1, paste2, paste3}, pending);
    enable({fsd, fsd1, rem, ReA}, real);
    enable({RenameF}, real || treeHasSelection());
    enable({cut0, copy0, ASR, rwtime, Attribute, Cut1, Copy1, cut2, copy2, copytocb, del2, sx2, sxxg, G5, RewriteTime,
            Properties},
           nonDrive);
    enable({h16, hexv}, file);
    enable({N37, B6, SelectAll1, ToolButton15}, folderOpen);
    enable({Open1, dakai}, any);
    enable({QuickView1, ksll}, quick);
}
