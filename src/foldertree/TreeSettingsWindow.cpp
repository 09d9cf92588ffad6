#include "foldertree/TreeSettingsWindow.h"
#include "foldertree/MovePanel.h"
#include "ui/RadioGroup.h"
#include "foldertree/ShellTree.h"
#include "foldertree/engine/TreeMask.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "platform/Volumes.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QPointer<TShellTreeSet>& theWindow()
{
    static QPointer<TShellTreeSet> w;
    return w;
}

QCheckBox* box(const QString& name, const QString& caption, QWidget* parent)
{
    auto* b = new QCheckBox(caption, parent);
    b->setObjectName(name);
    return b;
}

QGroupBox* group(const QString& name, const QString& caption, QWidget* parent)
{
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(name);
    return g;
}

QGridLayout* tightGrid(QWidget* w)
{
    auto* l = new QGridLayout(w);
    l->setContentsMargins(4, 2, 4, 2);
    l->setSpacing(1);
    return l;
}

} // namespace

const QList<TPidls>& TShellTreeSet::pidlOrder()
{
    static const QList<TPidls> order = {
        PIDL_DESKTOP, PIDL_CONTROLS, PIDL_PERSONAL, PIDL_FAVORITES, PIDL_PROGRAMS, PIDL_STARTUP,
        PIDL_RECENT, PIDL_PRINTERS, PIDL_SENDTO, PIDL_DRIVES, PIDL_NETWORK, PIDL_NETHOOD,
        PIDL_TEMPLATES, PIDL_STARTMENU, PIDL_DESKTOPDIRECTORY, PIDL_FONTS, PIDL_BITBUCKET, PIDL_USERDEFINED,
    };
    return order;
}

TShellTreeSet::TShellTreeSet(TShellTree* tree, ShellTreeSetHost host, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_tree(tree), m_host(std::move(host))
{
    setObjectName(QStringLiteral("ShellTreeSet"));
    setWindowTitle(QStringLiteral("目录树设置"));
    setFixedSize(278, 304);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    buildControls();
    FormCreate();
}

TShellTreeSet::~TShellTreeSet() = default;

TShellTreeSet* TShellTreeSet::open(TShellTree* tree, ShellTreeSetHost host)
{
    QPointer<TShellTreeSet>& w = theWindow();
    if (!w) {
        w = new TShellTreeSet(tree, std::move(host));
        w->setAttribute(Qt::WA_DeleteOnClose);
    }
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

TShellTreeSet* TShellTreeSet::current()
{
    return theWindow();
}

void TShellTreeSet::buildControls()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    MovePanel1 = new TMovePanel(this);
    MovePanel1->setObjectName(QStringLiteral("MovePanel1"));
    outer->addWidget(MovePanel1);
    auto* main = new QVBoxLayout(MovePanel1);
    main->setContentsMargins(4, 4, 4, 4);
    main->setSpacing(3);

    Pages = new QTabWidget(MovePanel1);
    Pages->setObjectName(QStringLiteral("Pages"));
    main->addWidget(Pages, 1);

    // Page "一般选项&A"
    Standard = new QWidget;
    Standard->setObjectName(QStringLiteral("Standard"));
    auto* std = tightGrid(Standard);
    Options = group(QStringLiteral("Options"), QStringLiteral("选项"), Standard);
    auto* ol = tightGrid(Options);
    CB_TF_FOLDERS = box(QStringLiteral("CB_TF_FOLDERS"), QStringLiteral("展示文件夹"), Options);
    CB_TF_NONFOLDERS = box(QStringLiteral("CB_TF_NONFOLDERS"), QStringLiteral("展示文件"), Options);
    CB_TF_HIDDEN = box(QStringLiteral("CB_TF_HIDDEN"), QStringLiteral("展示隐藏的"), Options);
    ol->addWidget(CB_TF_FOLDERS, 0, 0);
    ol->addWidget(CB_TF_NONFOLDERS, 1, 0);
    ol->addWidget(CB_TF_HIDDEN, 2, 0);
    UpdateMode = group(QStringLiteral("UpdateMode"), QStringLiteral("更新方式"), Standard);
    auto* ul = tightGrid(UpdateMode);
    UpdAutoThread = box(QStringLiteral("UpdAutoThread"), QStringLiteral("自动在线"), UpdateMode);
    UpdAuto = box(QStringLiteral("UpdAuto"), QStringLiteral("自动在扩展"), UpdateMode);
    UpdAutoRec = box(QStringLiteral("UpdAutoRec"), QStringLiteral("自动在收缩"), UpdateMode);
    ul->addWidget(UpdAutoThread, 0, 0);
    ul->addWidget(UpdAuto, 1, 0);
    ul->addWidget(UpdAutoRec, 2, 0);
    ShowOptions = group(QStringLiteral("ShowOptions"), QStringLiteral("展示选项"), Standard);
    auto* sl_ = tightGrid(ShowOptions);
    ShowSharedOverlay = box(QStringLiteral("ShowSharedOverlay"), QStringLiteral("共享图标"), ShowOptions);
    ShowLinkOverlay = box(QStringLiteral("ShowLinkOverlay"), QStringLiteral("LinkOverlay"), ShowOptions);
    ShowVirtualFolders = box(QStringLiteral("ShowVirtualFolders"), QStringLiteral("特殊文件夹"), ShowOptions);
    ShowIcons = box(QStringLiteral("ShowIcons"), QStringLiteral("图标"), ShowOptions);
    ShowMessages = box(QStringLiteral("ShowMessages"), QStringLiteral("Messages"), ShowOptions);
    sr = box(QStringLiteral("sr"), QStringLiteral("根节点"), ShowOptions);
    sl = box(QStringLiteral("sl"), QStringLiteral("连线"), ShowOptions);
    pmm = box(QStringLiteral("pmm"), QStringLiteral("  右键菜单是定制菜单/系统菜单"), ShowOptions);
    pmm->setVisible(false);
    sl_->addWidget(ShowSharedOverlay, 0, 0);
    sl_->addWidget(ShowLinkOverlay, 1, 0);
    sl_->addWidget(ShowVirtualFolders, 2, 0);
    sl_->addWidget(ShowIcons, 3, 0);
    sl_->addWidget(ShowMessages, 0, 1);
    sl_->addWidget(sr, 1, 1);
    sl_->addWidget(sl, 2, 1);
    GroupBox1 = group(QStringLiteral("GroupBox1"), QStringLiteral("自定盘目录"), Standard);
    auto* gl = new QHBoxLayout(GroupBox1);
    gl->setContentsMargins(4, 2, 4, 2);
    RootUsePidl = box(QStringLiteral("RootUsePidl"), QStringLiteral("默认根目录"), GroupBox1);
    DriveComboBox1 = new QComboBox(GroupBox1);
    DriveComboBox1->setObjectName(QStringLiteral("DriveComboBox1"));
    if (plat::services().volumes)
        for (const plat::Volume& v : plat::services().volumes->list())
            DriveComboBox1->addItem(v.root, v.root);
    gl->addWidget(RootUsePidl);
    gl->addWidget(DriveComboBox1, 1);
    std->addWidget(Options, 0, 0);
    std->addWidget(UpdateMode, 0, 1);
    std->addWidget(ShowOptions, 1, 0, 1, 2);
    std->addWidget(GroupBox1, 2, 0, 1, 2);
    Pages->addTab(Standard, QStringLiteral("一般选项&A"));

    // Page "根目录选项&R"
    RootOptions = new QWidget;
    RootOptions->setObjectName(QStringLiteral("RootOptions"));
    auto* rl = new QVBoxLayout(RootOptions);
    rl->setContentsMargins(4, 2, 4, 2);
    PidlRoot = new RadioGroup(QStringLiteral("特定路径"),
                               {QStringLiteral("桌面"), QStringLiteral("控制面板"), QStringLiteral("我的文档"),
                                QStringLiteral("收藏夹"), QStringLiteral("程序菜单"), QStringLiteral("启动"),
                                QStringLiteral("最近文档"), QStringLiteral("打印机"), QStringLiteral("发送到"),
                                QStringLiteral("我的电脑"), QStringLiteral("网上邻居"), QStringLiteral("NETHOOD"),
                                QStringLiteral("TEMPLATES"), QStringLiteral("开始菜单"), QStringLiteral("桌面"),
                                QStringLiteral("字体"), QStringLiteral("回收站"), QStringLiteral("自定义")},
                               2, RootOptions);
    PidlRoot->setObjectName(QStringLiteral("PidlRoot"));
    rd = new QPushButton(QStringLiteral("特定路径为根目录  "), RootOptions);
    rd->setObjectName(QStringLiteral("rd"));
    rl->addWidget(PidlRoot, 1);
    rl->addWidget(rd);
    Pages->addTab(RootOptions, QStringLiteral("根目录选项&R"));

    // Page "文件选项&F"
    FileOptions = new QWidget;
    FileOptions->setObjectName(QStringLiteral("FileOptions"));
    auto* fl = tightGrid(FileOptions);
    GroupBox2 = group(QStringLiteral("GroupBox2"), QStringLiteral("扩展名"), FileOptions);
    auto* g2 = tightGrid(GroupBox2);
    FileMaskUse = box(QStringLiteral("FileMaskUse"), QStringLiteral("文件展示使用扩展名过滤"), GroupBox2);
    g2->addWidget(FileMaskUse, 0, 0);
    FileSortOrder = new RadioGroup(QStringLiteral("排序"), {QStringLiteral("    反 序"), QStringLiteral("    正 序")}, 1, FileOptions);
    FileSortOrder->setObjectName(QStringLiteral("FileSortOrder"));
    FileSorttype = new RadioGroup(QStringLiteral("分类"),
                                   {QStringLiteral("  名 称"), QStringLiteral("  大 小"), QStringLiteral("  类 型"),
                                    QStringLiteral("  日 期")},
                                   1, FileOptions);
    FileSorttype->setObjectName(QStringLiteral("FileSorttype"));
    Misc = group(QStringLiteral("Misc"), QStringLiteral("名称"), FileOptions);
    auto* ml = tightGrid(Misc);
    ReadOnly = box(QStringLiteral("ReadOnly"), QStringLiteral("只 读"), Misc);
    EditST = new QPushButton(QStringLiteral("改名"), Misc);
    EditST->setObjectName(QStringLiteral("EditST"));
    ml->addWidget(ReadOnly, 0, 0);
    ml->addWidget(EditST, 0, 1);
    fl->addWidget(GroupBox2, 0, 0, 1, 2);
    fl->addWidget(FileSortOrder, 1, 0);
    fl->addWidget(FileSorttype, 1, 1);
    fl->addWidget(Misc, 2, 0, 1, 2);
    Pages->addTab(FileOptions, QStringLiteral("文件选项&F"));

    auto* buttons = new QHBoxLayout;
    Update = new QPushButton(QStringLiteral("刷新&U"), MovePanel1);
    Update->setObjectName(QStringLiteral("Update"));
    Quit = new QPushButton(QStringLiteral("关闭&C"), MovePanel1);
    Quit->setObjectName(QStringLiteral("Quit"));
    buttons->addStretch(1);
    buttons->addWidget(Update);
    buttons->addWidget(Quit);
    main->addLayout(buttons);

    connect(CB_TF_FOLDERS, &QCheckBox::clicked, this, &TShellTreeSet::CB_TF_FOLDERSClick);
    connect(CB_TF_NONFOLDERS, &QCheckBox::clicked, this, &TShellTreeSet::CB_TF_NONFOLDERSClick);
    connect(CB_TF_HIDDEN, &QCheckBox::clicked, this, &TShellTreeSet::CB_TF_HIDDENClick);
    connect(UpdAutoThread, &QCheckBox::clicked, this, &TShellTreeSet::UpdAutoThreadClick);
    connect(UpdAuto, &QCheckBox::clicked, this, &TShellTreeSet::UpdAutoClick);
    connect(UpdAutoRec, &QCheckBox::clicked, this, &TShellTreeSet::UpdAutoRecClick);
    connect(ShowSharedOverlay, &QCheckBox::clicked, this, &TShellTreeSet::ShowSharedOverlayClick);
    connect(ShowLinkOverlay, &QCheckBox::clicked, this, &TShellTreeSet::ShowLinkOverlayClick);
    connect(ShowVirtualFolders, &QCheckBox::clicked, this, &TShellTreeSet::ShowVirtualFoldersClick);
    connect(ShowIcons, &QCheckBox::clicked, this, &TShellTreeSet::ShowIconsClick);
    connect(ShowMessages, &QCheckBox::clicked, this, &TShellTreeSet::ShowMessagesClick);
    connect(sr, &QCheckBox::clicked, this, &TShellTreeSet::srClick);
    connect(sl, &QCheckBox::clicked, this, &TShellTreeSet::slClick);
    connect(pmm, &QCheckBox::clicked, this, &TShellTreeSet::pmmClick);
    connect(RootUsePidl, &QCheckBox::clicked, this, &TShellTreeSet::RootUsePidlClick);
    connect(DriveComboBox1, &QComboBox::activated, this, &TShellTreeSet::DriveComboBox1Change);
    connect(PidlRoot, &RadioGroup::clicked, this, &TShellTreeSet::PidlRootClick);
    connect(rd, &QPushButton::clicked, this, &TShellTreeSet::rdClick);
    connect(FileMaskUse, &QCheckBox::clicked, this, &TShellTreeSet::FileMaskUseClick);
    connect(FileSortOrder, &RadioGroup::clicked, this, &TShellTreeSet::FileSortOrderClick);
    connect(FileSorttype, &RadioGroup::clicked, this, &TShellTreeSet::FileSorttypeClick);
    connect(ReadOnly, &QCheckBox::clicked, this, &TShellTreeSet::ReadOnlyClick);
    connect(EditST, &QPushButton::clicked, this, &TShellTreeSet::EditSTClick);
    connect(Update, &QPushButton::clicked, this, &TShellTreeSet::UpdateClick);
    connect(Quit, &QPushButton::clicked, this, &TShellTreeSet::QuitClick);
}

// The controls take the tree's current state; only the files option is applied once more so that the
// main window's items and the "yf" flag agree with it.
void TShellTreeSet::FormCreate()
{
    Pages->setCurrentWidget(Standard);
    if (!m_tree)
        return;
    TShellTree* t = m_tree;
    RootUsePidl->setChecked(t->RootUsePIDL());
    UpdAutoThread->setChecked(t->UpdAutoThread());
    UpdAuto->setChecked(t->UpdAuto());
    UpdAutoRec->setChecked(t->UpdAutoRec());
    CB_TF_FOLDERS->setChecked(t->Options() & TF_FOLDERS);
    CB_TF_NONFOLDERS->setChecked(t->Options() & TF_NONFOLDERS);
    CB_TF_HIDDEN->setChecked(t->Options() & TF_HIDDEN);
    if (m_host.filesShown)
        m_host.filesShown(CB_TF_NONFOLDERS->isChecked());
    PidlRoot->setItemIndex(int(pidlOrder().indexOf(t->RootPIDL())));
    ShowSharedOverlay->setChecked(t->ShowSharedOverlay());
    ShowLinkOverlay->setChecked(t->ShowLinkOverlay());
    ShowVirtualFolders->setChecked(t->ShowVirtualFolders());
    ShowIcons->setChecked(t->ShowIcons());
    ShowMessages->setChecked(t->ShowMessages());
    FileMaskUse->setChecked(t->FileMaskUse());
    FileSortOrder->setItemIndex(int(t->FileSortOrder()));
    FileSorttype->setItemIndex(int(t->FileSortType()));
    ReadOnly->setChecked(t->ReadOnly());
    pmm->setChecked(t->PopupMenuMode() == pmm_PopupMenu);
    sl->setChecked(t->ShowLines());
    sr->setChecked(t->ShowRoot());
    for (int i = 0; i < DriveComboBox1->count(); ++i)
        if (plat::path::samePath(DriveComboBox1->itemData(i).toString(), t->RootDir()))
            DriveComboBox1->setCurrentIndex(i);
    if (m_host.maskText)
        m_host.maskText(foldertree::TreeMask(t->FileMask()).joined());
    connect(t, &TShellTree::changed, this, &TShellTreeSet::updateEditST);
    updateEditST();
}

void TShellTreeSet::setOption(TVisOption option, bool on)
{
    if (!m_tree)
        return;
    TVisOptions o = m_tree->Options();
    o.setFlag(option, on);
    m_tree->setOptions(o);
}

void TShellTreeSet::updateEditST()
{
    EditST->setEnabled(m_tree && m_tree->CanEdit(m_tree->Selected()));
}

void TShellTreeSet::CB_TF_FOLDERSClick()
{
    const bool on = CB_TF_FOLDERS->isChecked();
    setOption(TF_FOLDERS, on);
    if (m_host.foldersShown)
        m_host.foldersShown(on);
}

void TShellTreeSet::CB_TF_NONFOLDERSClick()
{
    const bool on = CB_TF_NONFOLDERS->isChecked();
    setOption(TF_NONFOLDERS, on);
    if (m_host.filesShown)
        m_host.filesShown(on);
}

void TShellTreeSet::CB_TF_HIDDENClick()
{
    const bool on = CB_TF_HIDDEN->isChecked();
    setOption(TF_HIDDEN, on);
    if (m_host.hiddenShown)
        m_host.hiddenShown(on);
}

void TShellTreeSet::UpdAutoThreadClick()
{
    if (m_tree)
        m_tree->setUpdAutoThread(UpdAutoThread->isChecked());
}

void TShellTreeSet::UpdAutoClick()
{
    if (m_tree)
        m_tree->setUpdAuto(UpdAuto->isChecked());
}

void TShellTreeSet::UpdAutoRecClick()
{
    if (m_tree)
        m_tree->setUpdAutoRec(UpdAutoRec->isChecked());
}

void TShellTreeSet::ShowSharedOverlayClick()
{
    if (m_tree)
        m_tree->setShowSharedOverlay(ShowSharedOverlay->isChecked());
}

void TShellTreeSet::ShowLinkOverlayClick()
{
    if (m_tree)
        m_tree->setShowLinkOverlay(ShowLinkOverlay->isChecked());
}

void TShellTreeSet::ShowVirtualFoldersClick()
{
    if (m_tree)
        m_tree->setShowVirtualFolders(ShowVirtualFolders->isChecked());
}

void TShellTreeSet::ShowIconsClick()
{
    if (m_tree)
        m_tree->setShowIcons(ShowIcons->isChecked());
}

void TShellTreeSet::ShowMessagesClick()
{
    if (m_tree)
        m_tree->setShowMessages(ShowMessages->isChecked());
}

void TShellTreeSet::srClick()
{
    if (m_tree)
        m_tree->setShowRoot(sr->isChecked());
}

void TShellTreeSet::slClick()
{
    if (m_tree)
        m_tree->setShowLines(sl->isChecked());
}

void TShellTreeSet::pmmClick()
{
    if (m_tree)
        m_tree->setPopupMenuMode(pmm->isChecked() ? pmm_PopupMenu : pmm_System);
}

void TShellTreeSet::RootUsePidlClick()
{
    if (m_tree)
        m_tree->setRootUsePIDL(RootUsePidl->isChecked());
}

void TShellTreeSet::DriveComboBox1Change(int index)
{
    if (m_tree && index >= 0)
        m_tree->setRootDir(DriveComboBox1->itemData(index).toString());
}

void TShellTreeSet::PidlRootClick(int index)
{
    if (!m_tree || index < 0 || index >= pidlOrder().size())
        return;
    m_tree->setRootPIDL(PIDL_DESKTOP);
    m_tree->GotoSpecialFolder(pidlOrder()[index]);
}

void TShellTreeSet::rdClick()
{
    const int index = PidlRoot->ItemIndex();
    if (m_tree && index >= 0 && index < pidlOrder().size())
        m_tree->setRootPIDL(pidlOrder()[index]);
}

void TShellTreeSet::FileMaskUseClick()
{
    const bool on = FileMaskUse->isChecked();
    if (m_tree)
        m_tree->setFileMaskUse(on);
    if (m_host.fileMaskUseChanged)
        m_host.fileMaskUseChanged(on);
}

void TShellTreeSet::FileSortOrderClick(int index)
{
    if (m_tree && index >= 0)
        m_tree->setFileSortOrder(TFileSortOrder(index));
}

void TShellTreeSet::FileSorttypeClick(int index)
{
    if (m_tree && index >= 0)
        m_tree->setFileSortType(TFileSortType(index));
}

void TShellTreeSet::ReadOnlyClick()
{
    if (m_tree)
        m_tree->setReadOnly(ReadOnly->isChecked());
    updateEditST();
}

void TShellTreeSet::EditSTClick()
{
    if (m_tree)
        m_tree->EditSelected();
}

void TShellTreeSet::UpdateClick()
{
    if (!m_tree)
        return;
    m_tree->Refresh();
    m_tree->viewport()->update();
}

void TShellTreeSet::QuitClick()
{
    close();
}
