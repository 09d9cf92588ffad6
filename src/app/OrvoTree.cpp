// The folder tree in the main window: its commands, its events and how the other panes follow it.
#include "app/Commands.h"
#include "app/Orvo.h"
#include "app/PathBar.h"
#include "app/SpecialFolders.h"
#include "filelist/FileListView.h"
#include "foldertree/TreeSettingsWindow.h"
#include "foldertree/ShellTree.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

struct SpecialFolder {
    const char* name;
    const char* caption;
    TPidls pidl;
};

constexpr SpecialFolder kSpecialFolders[] = {
    {"L5", "我的文档&L", PIDL_PERSONAL}, {"M5", "桌面&M", PIDL_DESKTOPDIRECTORY}, {"N39", "控制面板&N", PIDL_CONTROLS},
    {"O3", "回收站&O", PIDL_BITBUCKET},  {"P7", "程序菜单&P", PIDL_PROGRAMS},      {"Q1", "我的电脑&Q", PIDL_DRIVES},
    {"R4", "网上邻居&R", PIDL_NETWORK},  {"S5", "共享文档&S", PIDL_NETHOOD},       {"T3", "收藏夹&T", PIDL_FAVORITES},
    {"U2", "最近文档&U", PIDL_RECENT},
};

} // namespace

// --- The tree as the other panes see it ---

QString TOrvo::treePath() const
{
    const QString p = ShellTree1->Path();
    return p.isEmpty() ? QString() : plat::path::withTrailingSep(p);
}

void TOrvo::setTreePath(const QString& path)
{
    ShellTree1->setPath(path);
}

bool TOrvo::treeFoldersShown() const
{
    return ShellTree1->Options() & TF_FOLDERS;
}

bool TOrvo::treeHasSelection() const
{
    return ShellTree1->Selected() != nullptr;
}

void TOrvo::treeSetFileMask(const QString& mask)
{
    ShellTree1->setFileMaskUse(true);
    fmu->setChecked(true);
    ShellTree1->setFileMask(mask);
}

void TOrvo::treeRepaint()
{
    ShellTree1->viewport()->update();
}

void TOrvo::treeClearSelection()
{
    ShellTree1->clearSelection();
    ShellTree1->setCurrentItem(nullptr);
}

// --- Controls ---

void TOrvo::buildTreeControls()
{
    L8 = command("L8", QStringLiteral("目录树设置&L"), &TOrvo::treesetClick);
    A6 = command("A6", QStringLiteral("不展示文件夹&A"), &TOrvo::ffClick, true);
    ff = command("ff", QStringLiteral("目录树隐藏或展示文件夹&K"), &TOrvo::ffClick, true);
    B5 = command("B5", QStringLiteral("展示文件&B"), &TOrvo::CustomItem8Click, true);
    CustomItem8 = command("CustomItem8", QStringLiteral("目录树展示或隐藏文件&Y"), &TOrvo::CustomItem8Click, true);
    D7 = command("D7", QStringLiteral("展示隐藏的&D"), &TOrvo::CustomItem9Click, true);
    CustomItem9 = command("CustomItem9", QStringLiteral("目录树展示或隐藏隐形文件(夹)&N"), &TOrvo::CustomItem9Click, true);
    fmu = command("fmu", QStringLiteral("文件展示使用扩展名过滤&C"), &TOrvo::fmuClick, true);
    J3 = command("J3", QStringLiteral("改名&J"), &TOrvo::CustomItem10Click);
    R5 = command("R5", QStringLiteral("刷新&R"), &TOrvo::R5Click);
    C9 = command("C9", QStringLiteral("设当前目录为根目录&C(目录树)"), &TOrvo::CalculateTreeClick);
    G3 = command("G3", QStringLiteral("还原根目录&G        (目录树)"), &TOrvo::GetRootDir1Click);
    F4 = command("F4", QStringLiteral("资源管理器&F"), &TOrvo::F4Click);
    const auto sortItem = [this](const char* name, const QString& caption, int type) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, type] { setTreeSortType(type); });
        return a;
    };
    C6 = sortItem("C6", QStringLiteral("名  称&C"), so_Name);
    D8 = sortItem("D8", QStringLiteral("大  小&D"), so_Size);
    E5 = sortItem("E5", QStringLiteral("类  型&E"), so_Type);
    F3 = sortItem("F3", QStringLiteral("日  期&F"), so_Date);
    // "正序" lists files A to Z, which the tree's inverted file order calls descending.
    G2 = new QAction(QStringLiteral("正  序&G"), this);
    G2->setObjectName(QStringLiteral("G2"));
    connect(G2, &QAction::triggered, this, [this] { setTreeSortOrder(so_Descending); });
    H4 = new QAction(QStringLiteral("反  序&H"), this);
    H4->setObjectName(QStringLiteral("H4"));
    connect(H4, &QAction::triggered, this, [this] { setTreeSortOrder(so_Ascending); });

    PopupMenu7 = new QMenu(this);
    PopupMenu7->setObjectName(QStringLiteral("PopupMenu7"));
    for (QAction* a : {A6, B5, D7, fmu}) PopupMenu7->addAction(a);
    wjpx = PopupMenu7->addMenu(QStringLiteral("文件排序&I"));
    wjpx->setObjectName(QStringLiteral("wjpx"));
    for (QAction* a : {C6, D8, E5, F3}) wjpx->addAction(a);
    wjpx->addSeparator();
    wjpx->addAction(G2);
    wjpx->addAction(H4);
    wjpx->setEnabled(false);
    PopupMenu7->addSeparator();
    K3 = PopupMenu7->addMenu(QStringLiteral("至特定路径&K"));
    K3->setObjectName(QStringLiteral("K3"));
    for (const SpecialFolder& f : kSpecialFolders) {
        QAction* a = K3->addAction(QString::fromUtf8(f.caption));
        a->setObjectName(QLatin1String(f.name));
        const TPidls pidl = f.pidl;
        connect(a, &QAction::triggered, this, [this, pidl] { app::SpecialFolders::gotoInTree(*this, pidl); });
    }
    for (QAction* a : {J3, R5, C9, G3, F4}) PopupMenu7->addAction(a);
    connect(PopupMenu7, &QMenu::aboutToShow, this, &TOrvo::PopupMenu7Popup);

    treeset = new QToolButton;
    treeset->setObjectName(QStringLiteral("treeset"));
    treeset->setText(QStringLiteral("目录树"));
    treeset->setToolTip(QStringLiteral("目录树设置，右键..."));
    treeset->setMenu(PopupMenu7);
    treeset->setPopupMode(QToolButton::MenuButtonPopup);
    ToolBar1->addWidget(treeset);
    app::onClicked(this, treeset, this, &TOrvo::treesetClick);
    app::onRightClickMenu(treeset, PopupMenu7);
    TreeSize = new QToolButton;
    TreeSize->setObjectName(QStringLiteral("TreeSize"));
    TreeSize->setText(QStringLiteral("根目录"));
    TreeSize->setToolTip(QStringLiteral("设当前目录为根目录"));
    TreeSize->setCheckable(true);
    ToolBar1->addWidget(TreeSize);
    app::onClicked(this, TreeSize, this, &TOrvo::TreeSizeClick);

    if (V2) {
        QAction* first = V2->actions().value(0);
        for (QAction* a : {L8, ff, CustomItem8, CustomItem9}) V2->insertAction(first, a);
        V2->insertSeparator(first);
    }

    // The tree's own events.
    connect(ShellTree1, &TShellTree::changed, this, [this] { app::guarded(this, [this] { ShellTree1Change(); }); });
    connect(ShellTree1, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        app::guarded(this, [&] { ShellTree1Click(static_cast<TShellnode*>(item)); });
    });
    ShellTree1->OnEdited = [this](QObject*, TShellnode*, QString&) { ShellTree1Edited(); };
    ShellTree1->viewport()->installEventFilter(this);
}

// --- Commands ---

void TOrvo::treesetClick()
{
    ShellTreeSetHost host;
    host.foldersShown = [this](bool on) { A6->setChecked(!on); ff->setChecked(!on); };
    host.filesShown = [this](bool on) {
        B5->setChecked(on);
        CustomItem8->setChecked(on);
        wjpx->setEnabled(on);
        writeFlag(QStringLiteral("yf"), on);
    };
    host.hiddenShown = [this](bool on) {
        D7->setChecked(on);
        CustomItem9->setChecked(on);
        writeFlag(QStringLiteral("hd"), on);
    };
    host.fileMaskUseChanged = [this](bool on) { fmu->setChecked(on); };
    host.maskText = [this](const QString& text) { Mask1->setEditText(text); };
    TShellTreeSet::open(ShellTree1, host);
}

void TOrvo::treeOptionFlip(quint32 option)
{
    ShellTree1->setOptions(ShellTree1->Options() ^ TVisOption(option));
    PopupMenu7Popup();
}

void TOrvo::ffClick()
{
    treeOptionFlip(TF_FOLDERS);
}

void TOrvo::CustomItem8Click()
{
    treeOptionFlip(TF_NONFOLDERS);
}

void TOrvo::CustomItem9Click()
{
    treeOptionFlip(TF_HIDDEN);
}

void TOrvo::fmuClick()
{
    ShellTree1->setFileMaskUse(!ShellTree1->FileMaskUse());
    PopupMenu7Popup();
}

void TOrvo::setTreeSortType(int type)
{
    ShellTree1->setFileSortType(TFileSortType(type));
}

void TOrvo::setTreeSortOrder(int order)
{
    ShellTree1->setFileSortOrder(TFileSortOrder(order));
}

void TOrvo::CustomItem10Click()
{
    if (treeHasSelection())
        ShellTree1->EditSelected();
}

void TOrvo::R5Click()
{
    ShellTree1->Refresh();
    treeRepaint();
}

void TOrvo::setTreeRoot(bool userDefined)
{
    if (userDefined) {
        TShellnode* node = ShellTree1->Selected();
        if (!node)
            return;
        ShellTree1->SetUserDefinedRoot(node->Item());
        ShellTree1->setRootPIDL(PIDL_USERDEFINED);
        TreeSize->setToolTip(QStringLiteral("还原目录树根目录"));
    } else {
        ShellTree1->setRootPIDL(PIDL_DESKTOP);
        setTreePath(treeDrivenList()->Directory());
        TreeSize->setToolTip(QStringLiteral("设当前目录为根目录"));
    }
}

void TOrvo::TreeSizeClick()
{
    setTreeRoot(TreeSize->isChecked());
}

void TOrvo::CalculateTreeClick()
{
    TreeSize->setChecked(true);
    setTreeRoot(true);
}

void TOrvo::GetRootDir1Click()
{
    TreeSize->setChecked(false);
    setTreeRoot(false);
}

void TOrvo::PopupMenu7Popup()
{
    const TVisOptions o = ShellTree1->Options();
    A6->setChecked(!(o & TF_FOLDERS));
    ff->setChecked(!(o & TF_FOLDERS));
    B5->setChecked(o & TF_NONFOLDERS);
    CustomItem8->setChecked(o & TF_NONFOLDERS);
    wjpx->setEnabled(o & TF_NONFOLDERS);
    D7->setChecked(o & TF_HIDDEN);
    CustomItem9->setChecked(o & TF_HIDDEN);
    fmu->setChecked(ShellTree1->FileMaskUse());
}

void TOrvo::ShellTree1MouseDown(QPoint globalPos)
{
    m_mousePressed = true;
    m_pressPoint = globalPos;
}

void TOrvo::ShellTree1MouseUp()
{
    m_mousePressed = false;
}

void TOrvo::F4Click()
{
    plat::exploreFolder(treePath());
}

// --- Events ---

void TOrvo::ShellTree1Change()
{
    TLsFilelistView28* driven = treeDrivenList();
    const QString dir = driven->Directory();
    if (dir.toUpper() == QLatin1String("DRIVES") || plat::path::isDirectory(dir))
        return;
    // The driven list's folder has gone: it follows the tree.
    driven->setDirectory(treePath());
    otherList(driven)->UpdateFileList();
    rebuildCombos(true, true);
    pathbox->setEditText(driven->Directory());
}

void TOrvo::ShellTree1Click(TShellnode* node)
{
    if (!node)
        return;
    const QString text = node->text(0);
    if ((node->Path().isEmpty() && text == QStringLiteral("我的电脑")) || text == QStringLiteral("计算机")) {
        PrevLevelClick();
        node->setExpanded(true);
        return;
    }
    if (node->Path().isEmpty())
        return;
    if (!plat::path::isDirectory(node->Path())) {
        // Files are shown by the preview, which is not part of the window yet: the status bar says so.
        StatusBar1->showMessage(QStringLiteral("预览") + app::notAvailableText(), 5000);
        return;
    }
    const QString folder = plat::path::withTrailingSep(node->Path());
    TLsFilelistView28* driven = treeDrivenList();
    if (driven->Directory() == folder)
        return;
    m_pathBar->addHistoryOnce(folder);
    if (driven == LsFilelistView281)
        ScrollBox1->hide();
    driven->show();
    driven->setStopa(true);
    driven->setDirectory(folder);
    m_targetFolder = pathbox->currentText();
}

void TOrvo::ShellTree1Edited()
{
    // Raised before the rename: when the tree's folder is already gone the lists catch up 50 ms later.
    if (!plat::path::isDirectory(treePath()))
        Timer4.start();
}
