#include "app/ListActions.h"
#include "app/AttributeCommands.h"
#include "app/Commands.h"
#include "app/Orvo.h"
#include "filelist/engine/ListNames.h"
#include "filelist/FileListView.h"
#include "fileops/DialogsPrompter.h"
#include "fileops/engine/Delete.h"
#include "fileops/engine/ErrorTexts.h"
#include "fileops/engine/Transfer.h"
#include "foldertree/ShellTree.h"
#include "platform/Path.h"
#include "ui/Dialogs.h"
#include "ui/UpdatesSuspended.h"
#include <QComboBox>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>
#include <QTreeView>
#include <optional>
#include <vector>

namespace app {

const QStringList ListActions::kQuickViewExtensions = {
    QStringLiteral(".TXT"), QStringLiteral(".BMP"), QStringLiteral(".GIF"), QStringLiteral(".JPG"),
    QStringLiteral(".REG"), QStringLiteral(".INI"), QStringLiteral(".RTF"), QStringLiteral(".C"),
    QStringLiteral(".CPP"), QStringLiteral(".DPK"), QStringLiteral(".DPR"), QStringLiteral(".H"),
    QStringLiteral(".INF"), QStringLiteral(".PAS"), QStringLiteral(".WRI"),
};

namespace {

bool hasSelection(const TLsFilelistView28* list)
{
    return !list->selectedRows().isEmpty();
}

// The selected item of a list: its first selected row, or -1.
int selectedRow(const TLsFilelistView28* list)
{
    const QList<int> rows = list->selectedRows();
    return rows.isEmpty() ? -1 : rows.first();
}

bool folderExists(const QString& dir)
{
    return !dir.isEmpty() && plat::path::isDirectory(dir);
}

// One list's round of batch rename: its own questions and input boxes, then the renames.
void batchRenameList(TOrvo& w, TLsFilelistView28* list, bool listTwo)
{
    ui::Dialogs& dialogs = ui::Dialogs::get();
    if (dialogs.question(&w, QStringLiteral("重命名所有选择的文件?"), QStringLiteral("文件改名")) != ui::Dialogs::Yes)
        return;
    std::optional<ui::UpdatesSuspended> frozen(std::in_place, list);
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
    frozen.reset();
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

ListActions::ListActions(TOrvo& window) : m_w(window) {}

void ListActions::createCommands()
{
    const auto command = [this](const char* name, const QString& caption, void (ListActions::*handler)()) {
        return newCommand(&m_w, this, name, caption, handler);
    };
    // The state-only commands' work comes with the properties and viewers; until then they are unavailable.
    const auto stateOnly = [this](const char* name, const QString& caption) {
        QAction* a = newStateCommand(&m_w, name, caption);
        markNotAvailable(a);
        return a;
    };
    m_w.paste3 = command("paste3", QStringLiteral("(复制/剪贴的文件)粘贴到当前路径&P"), &ListActions::Paste0Click);
    m_w.SelectAll1 = command("SelectAll1", QStringLiteral("选择全部&L"), &ListActions::SelectAll1_oldClick);
    m_w.Paste1 = command("Paste1", QStringLiteral("粘贴&P"), &ListActions::Paste0Click);
    m_w.paste2 = command("paste2", QStringLiteral("粘贴&V"), &ListActions::Paste0Click);
    m_w.fsd = stateOnly("fsd", QStringLiteral("发送到&A"));
    m_w.fsd1 = stateOnly("fsd1", QStringLiteral("发送到&S"));
    m_w.rem = command("rem", QStringLiteral("改名&M"), &ListActions::remClick);
    m_w.ReA = command("ReA", QStringLiteral("重命名所有选择的&A "), &ListActions::ASRClick);
    m_w.RenameF = command("RenameF", QStringLiteral("重命名&R"), &ListActions::EditFClick);
    m_w.Cut1 = command("Cut1", QStringLiteral("剪切&X"), &ListActions::Cut0Click);
    m_w.Copy1 = command("Copy1", QStringLiteral("复制&C"), &ListActions::Copy0Click);
    m_w.cut2 = command("cut2", QStringLiteral("剪切&X"), &ListActions::Cut0Click);
    m_w.copy2 = command("copy2", QStringLiteral("复制&C"), &ListActions::Copy0Click);
    m_w.copytocb = stateOnly("copytocb", QStringLiteral("复制到剪贴板&Y"));
    m_w.del2 = command("del2", QStringLiteral("删除&D"), &ListActions::DeleteF_oldClick);
    m_w.DeleteF = command("DeleteF", QStringLiteral("删除文件(夹)或者是清空回收站&D "), &ListActions::DeleteF_oldClick);
    m_w.attributeCommands().createCommands();   // sx2, sxxg, G5, RewriteTime, Properties
    m_w.h16 = command("h16", QStringLiteral("十六进制查看&H"), &ListActions::h16Click);
    m_w.hexv = command("hexv", QStringLiteral("十六进制查看&H"), &ListActions::h16Click);
    m_w.N37 = command("N37", QStringLiteral("新建文件夹&N"), &ListActions::N37Click);
    m_w.B6 = command("B6", QStringLiteral("新建文本文档&B"), &ListActions::B6Click);
    m_w.xjwjj = command("xjwjj", QStringLiteral("新建文件夹&N"), &ListActions::xjwjjClick);
    m_w.N16 = command("N16", QStringLiteral("新建文本文档&B"), &ListActions::N16Click);
    m_w.Open1 = command("Open1", QStringLiteral("打开&O"), &ListActions::Open1_oldClick);
    m_w.dakai = command("dakai", QStringLiteral("打开&O"), &ListActions::Open1_oldClick);
    m_w.QuickView1 = command("QuickView1", QStringLiteral("快速查看（部分文件）&K "), &ListActions::QuickView1_oldClick);
    m_w.ksll = command("ksll", QStringLiteral("快速查看&T"), &ListActions::QuickView1_oldClick);
    m_w.R3 = command("R3", QStringLiteral("刷新&R"), &ListActions::R3Click);

    QMenu* menu = m_w.PopupMenu6 = new QMenu(&m_w);
    menu->setObjectName(QStringLiteral("PopupMenu6"));
    for (QAction* a : {m_w.dakai, m_w.ksll}) menu->addAction(a);
    menu->addSeparator();
    for (QAction* a : {m_w.cut2, m_w.copy2, m_w.paste2, m_w.del2, m_w.rem, m_w.fsd1}) menu->addAction(a);
    menu->addSeparator();
    for (QAction* a : {m_w.xjwjj, m_w.N16, m_w.G5, m_w.h16, m_w.stop2, m_w.R3, m_w.sx2}) menu->addAction(a);
}

void ListActions::connectControls()
{
    for (QToolButton* b : {m_w.Paste0, m_w.cut0, m_w.copy0, m_w.ASR})
        b->setEnabled(false);
    m_w.attributeCommands().connectControls();   // rwtime, Attribute, Timer2
    onClicked(&m_w, m_w.Paste0, this, &ListActions::Paste0Click);
    onClicked(&m_w, m_w.cut0, this, &ListActions::Cut0Click);
    onClicked(&m_w, m_w.ASR, this, &ListActions::ASRClick);
    onClicked(&m_w, m_w.copy0, this, &ListActions::Copy0Click);
    onClicked(&m_w, m_w.del1, this, &ListActions::DeleteF_oldClick);
    onClicked(&m_w, m_w.ToolButton15, this, &ListActions::SelectAll1_oldClick);
    // The right button on Paste0 offers the name-clash policy.
    auto* PopupMenu10 = new QMenu(m_w.Paste0);
    PopupMenu10->setObjectName(QStringLiteral("PopupMenu10"));
    PopupMenu10->addAction(m_w.fj);
    PopupMenu10->addAction(m_w.th);
    m_w.Paste0->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_w.Paste0, &QWidget::customContextMenuRequested, this,
            [this, PopupMenu10](const QPoint& pos) { PopupMenu10->popup(m_w.Paste0->mapToGlobal(pos)); });
    onRightClicked(&m_w, m_w.del1, this, &ListActions::delFMouseDown);

    m_w.dirbox->setEnabled(true);
    m_w.dirbox->setEditable(true);
    m_w.dirbox->setToolTip(fileops::dirboxHintStart());
    connect(m_w.dirbox, &QComboBox::activated, this, [this](int index) { dirboxClick(index); });

    // The lists' pop-up menu remembers the list it opened on.
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282}) {
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        for (QWidget* view : {static_cast<QWidget*>(list->detailsView()), static_cast<QWidget*>(list->iconView())}) {
            view->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(view, &QWidget::customContextMenuRequested, this, [this, list, view](const QPoint& pos) {
                m_popupList = list;
                PopupMenu6Popup(list);
                m_w.PopupMenu6->popup(view->mapToGlobal(pos));
            });
        }
    }
}

// --- The command-enable table ---

bool ListActions::transferPending() const
{
    return !m_w.LsFilelistView281->Transfer.ClipList.isEmpty() || !m_w.LsFilelistView282->Transfer.ClipList.isEmpty();
}

void ListActions::SetBtnMenuState()
{
    struct Sel {
        const TLsFilelistView28* list;
        int row;
        QString kind() const { return list->subItem(row, 5); }
        QString caption() const { return list->caption(row); }
        QString path() const { return list->subItem(row, 4); }
    };
    std::optional<Sel> s1, s2;
    if (const int r = selectedRow(m_w.LsFilelistView281); r >= 0)
        s1 = Sel{m_w.LsFilelistView281, r};
    if (const int r = selectedRow(m_w.LsFilelistView282); r >= 0)
        s2 = Sel{m_w.LsFilelistView282, r};
    // Each test looks at list one's selection when there is one, else at list two's.
    const auto test = [&](auto pred) { return s1 ? pred(*s1) : (s2 ? pred(*s2) : false); };

    const bool pending = transferPending();
    const bool real = test([](const Sel& s) { return s.kind() != QLatin1String("drv") && s.caption() != QLatin1String(".."); });
    const bool nonDrive = test([](const Sel& s) { return s.kind() != QLatin1String("drv"); });
    const bool file = test([](const Sel& s) { return s.kind() == QLatin1String("file"); });
    const bool folderOpen = folderExists(m_w.treeDrivenList()->Directory());
    const bool any = s1 || s2;
    // Only files are viewed: a folder named like a text file is not.
    const bool quick = test([](const Sel& s) {
        if (s.kind() != QLatin1String("file"))
            return false;
        const QString ext = plat::path::extOf(s.path()).toUpper();
        return !ext.isEmpty() && kQuickViewExtensions.contains(ext);
    });

    const auto enable = [](std::initializer_list<QObject*> controls, bool on) {
        for (QObject* c : controls) {
            if (isNotAvailable(c))
                continue;
            if (auto* a = qobject_cast<QAction*>(c))
                a->setEnabled(on);
            else if (auto* w = qobject_cast<QWidget*>(c))
                w->setEnabled(on);
        }
    };
    TOrvo& w = m_w;
    enable({w.Paste0, w.Paste1, w.paste2, w.paste3}, pending);
    enable({w.fsd, w.fsd1, w.rem, w.ReA}, real);
    enable({w.RenameF}, real || w.treeHasSelection());
    enable({w.cut0, w.copy0, w.ASR, w.rwtime, w.Attribute, w.Cut1, w.Copy1, w.cut2, w.copy2, w.copytocb, w.del2,
            w.sx2, w.sxxg, w.G5, w.RewriteTime, w.Properties},
           nonDrive);
    enable({w.h16, w.hexv}, file);
    enable({w.N37, w.B6, w.SelectAll1, w.ToolButton15}, folderOpen);
    enable({w.Open1, w.dakai}, any);
    enable({w.QuickView1, w.ksll}, quick);
}

void ListActions::PopupMenu6Popup(TLsFilelistView28* list)
{
    const bool open = folderExists(list->Directory());
    m_w.xjwjj->setEnabled(open);
    m_w.N16->setEnabled(open);
    m_w.paste2->setEnabled(open && transferPending());
    m_active = list;
    m_w.pathbox->setEditText(list->Directory());
}

// --- Rename, new items, open, quick view, select all ---

void ListActions::EditFClick()
{
    TShellTree* tree = m_w.ShellTree1;
    if (!tree->ReadOnly() && tree->Selected()) {
        tree->setFocus();
        tree->EditSelected();
    }
    remClick();
}

void ListActions::remClick()
{
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282}) {
        if (hasSelection(list))
            list->RenameSelected();
    }
}

void ListActions::ASRClick()
{
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282}) {
        if (hasSelection(list))
            batchRenameList(m_w, list, list == m_w.LsFilelistView282);
    }
}

void ListActions::xjwjjClick()
{
    newFolderIn(m_w, m_active ? m_active : m_w.LsFilelistView281);
    m_w.treeRepaint();
}

void ListActions::N37Click()
{
    newFolderIn(m_w, m_w.treeDrivenList());
    m_w.treeRepaint();
}

void ListActions::N16Click()
{
    newTextDocumentIn(m_w, m_popupList == m_w.LsFilelistView281 ? m_w.LsFilelistView281 : m_w.LsFilelistView282);
}

void ListActions::B6Click()
{
    newTextDocumentIn(m_w, m_w.treeDrivenList());
}

void ListActions::Open1_oldClick()
{
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282}) {
        if (!hasSelection(list))
            continue;
        list->OpenItem();
        list->setStopa(true);
    }
}

void ListActions::QuickView1_oldClick()
{
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282}) {
        if (hasSelection(list))
            list->ViewFile();
    }
}

void ListActions::SelectAll1_oldClick()
{
    TLsFilelistView28* driven = m_w.treeDrivenList();
    m_w.otherList(driven)->clearSelection();
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

void ListActions::R3Click()
{
    if (m_popupList)
        m_popupList->UpdateFileList();
}

// --- Transfer list and delete ---

void ListActions::cutCopy(int mode)
{
    fileops::DialogsPrompter ui(&m_w);
    const QString hint = mode == fileops::TransferList::kMove ? fileops::dirboxHintCut() : fileops::dirboxHintCopy();
    // List one first, then list two: with both selected, list two's items end up pending.
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282}) {
        if (!hasSelection(list))
            continue;
        list->Transfer.CutCopy(list->selectedItems(), mode, ui);
        m_w.dirbox->setToolTip(hint);
        m_w.dirbox->clear();
        m_w.dirbox->addItems(list->Transfer.ClipList);
        m_w.otherList(list)->Transfer.ClipList.clear();
        m_transferSource = list == m_w.LsFilelistView281 ? TransferSource::ListOne : TransferSource::ListTwo;
    }
    SetBtnMenuState();
}

void ListActions::Cut0Click()
{
    cutCopy(fileops::TransferList::kMove);
}

void ListActions::Copy0Click()
{
    cutCopy(fileops::TransferList::kCopy);
}

void ListActions::Paste0Click()
{
    // The target is checked first, whichever list holds the pending items.
    const QString target = m_w.pathbox->currentText();
    const bool noTarget = target.isEmpty();
    if (noTarget || target.toUpper() == QLatin1String("DRIVES")) {
        fileops::DialogsPrompter(&m_w).error(noTarget ? fileops::texts::pasteTargetEmpty()
                                                       : fileops::texts::pasteIntoDrives());
        SetBtnMenuState();
        return;
    }
    if (m_transferSource == TransferSource::None) {
        SetBtnMenuState();
        return;
    }
    const bool listTwo = m_transferSource == TransferSource::ListTwo;
    TLsFilelistView28* list = listTwo ? m_w.LsFilelistView282 : m_w.LsFilelistView281;
    fileops::DialogsPrompter ui(&m_w);
    const fileops::PasteOutcome o = fileops::pasteCommand(list->Transfer, listTwo, m_w.pathbox->currentText(),
                                                          m_w.dirbox->toolTip(), !m_w.replaceOnNameClash(), ui);
    if (o.step == fileops::PasteOutcome::Declined)
        return;   // nothing else runs, not even the command state
    if (o.step == fileops::PasteOutcome::Pasted) {
        if (o.pendingEmpty) {
            m_transferSource = TransferSource::None;
            m_w.dirbox->clear();
        }
        if (o.transferred)
            m_w.RefreshClick();
    }
    SetBtnMenuState();
}

void ListActions::DeleteF_oldClick()
{
    TLsFilelistView28* list = nullptr;
    if (hasSelection(m_w.LsFilelistView281))
        list = m_w.LsFilelistView281;
    else if (hasSelection(m_w.LsFilelistView282))
        list = m_w.LsFilelistView282;
    fileops::DialogsPrompter ui(&m_w);
    const QList<fileops::ListItem> items = list ? list->selectedItems() : QList<fileops::ListItem>();
    if (items.isEmpty() || items.first().isDriveOrParent()) {
        fileops::askEmptyRecycleBin(ui);
        return;
    }
    const fileops::DeleteOutcome o = fileops::deleteSelection(items, ui);
    if (!o.changed)
        return;
    list->UpdateFileList();
    TLsFilelistView28* other = m_w.otherList(list);
    if (!plat::path::isDirectory(other->Directory()) || plat::path::samePath(other->Directory(), list->Directory()))
        other->UpdateFileList();
    m_w.pathbox->setEditText(list->Directory());
    m_w.rebuildCombos(true, true);
}

void ListActions::delFMouseDown()
{
    fileops::openRecycleBin();
}

void ListActions::dirboxClick(int index)
{
    m_w.pathbox->setEditText(plat::path::folderPart(m_w.dirbox->itemText(index)));
}

} // namespace app
