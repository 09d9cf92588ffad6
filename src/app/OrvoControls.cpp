// Builds the main window's controls: the menus, tool bars, panes, the filter and status bars; each part then
// creates its own commands and connects the controls it serves.
#include "app/Commands.h"
#include "app/FilterBar.h"
#include "app/ListActions.h"
#include "app/Orvo.h"
#include "app/PaneLayout.h"
#include "app/PathBar.h"
#include "app/SpecialFolders.h"
#include "app/ToolLauncher.h"
#include "filelist/FileListView.h"
#include "filelist/FolderCombo.h"
#include "foldertree/ShellTree.h"
#include "ui/IconTheme.h"
#include "ui/WindowMover.h"
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {

QToolBar* fixedToolBar(const QString& objectName, QWidget* parent)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(objectName);
    bar->setMovable(false);
    bar->setFloatable(false);
    // The bars are fixed: no right-click menu offers to hide them.
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->toggleViewAction()->setVisible(false);
    return bar;
}

QToolButton* toolButton(const QString& objectName, const QString& text, const QString& hint,
                        bool checkable = false)
{
    auto* b = new QToolButton;
    b->setObjectName(objectName);
    b->setText(text);
    b->setToolTip(hint);
    b->setCheckable(checkable);
    return b;
}

QToolButton* barButton(QToolBar* bar, const QString& name, const QString& text, const QString& hint,
                       bool checkable = false)
{
    QToolButton* b = toolButton(name, text, hint, checkable);
    bar->addWidget(b);
    return b;
}

// The freedesktop icon of each tool button; its caption stays beside or under it and its hint is the tooltip.
struct ButtonIcon {
    const char* button;
    const char* icon;
};

constexpr ButtonIcon kButtonIcons[] = {
    {"ToolButton29", "applications-utilities"}, {"ToolButton30", "system-search"},
    {"ToolButton31", "edit-cut"},               {"Paste0", "edit-paste"},
    {"cut0", "edit-cut"},                       {"copy0", "edit-copy"},
    {"del1", "edit-delete"},                    {"ASR", "document-edit"},
    {"rwtime", "document-open-recent"},         {"Attribute", "document-properties"},
    {"ToolButton11", "view-refresh"},           {"ToolButton13", "drive-harddisk"},
    {"ToolButton14", "folder"},                 {"ToolButton15", "edit-select-all"},
    {"fv", "go-next"},                          {"shfv", "view-dual"},
    {"Icond", "view-list"},                     {"phint", "view-more"},
    {"treeset", "view-sort-ascending"},         {"ToolButton3", "go-next"},
    {"up1", "go-up"},                           {"down1", "go-down"},
    {"ToolButton8", "applications-graphics"},
};

QComboBox* inertCombo(const QString& objectName, bool editable, int width)
{
    auto* c = new QComboBox;
    c->setObjectName(objectName);
    c->setEditable(editable);
    c->setMinimumWidth(width);
    c->setEnabled(false);
    return c;
}

struct NamedColor {
    const char* name;
    QRgb rgb;
};

constexpr NamedColor kColors[] = {
    {"黑色", 0x000000}, {"栗色", 0x800000}, {"绿色", 0x008000}, {"橄榄色", 0x808000},
    {"藏青色", 0x000080}, {"紫色", 0x800080}, {"蓝绿色", 0x008080}, {"灰色", 0x808080},
    {"银色", 0xC0C0C0}, {"红色", 0xFF0000}, {"酸橙色", 0x00FF00}, {"黄色", 0xFFFF00},
    {"蓝色", 0x0000FF}, {"紫红色", 0xFF00FF}, {"浅绿色", 0x00FFFF}, {"白色", 0xFFFFFF},
    {"奶油色", 0xFFFBF0}, {"天蓝色", 0xA6CAF0}, {"钱绿色", 0xC0DCC0}, {"中灰色", 0xA4A0A0},
};

} // namespace

QAction* TOrvo::command(const char* name, const QString& caption, void (TOrvo::*handler)(), bool checkable)
{
    return app::newCommand(this, this, name, caption, handler, checkable);
}

void TOrvo::buildMenus()
{
    const QString restartCaption = QStringLiteral("关闭并重新打开Orvo文件管理器&M");
    X2 = command("X2", QStringLiteral("退出&X"), &TOrvo::Exit1_oldClick);
    S3 = command("S3", QStringLiteral("缩小/还原&S"), &TOrvo::S3Click);
    S3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    OrvoM1 = command("OrvoM1", restartCaption, &TOrvo::OrvoM2Click);
    OrvoM2 = command("OrvoM2", restartCaption, &TOrvo::OrvoM2Click);
    OrvoM2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    OrvoF1 = command("OrvoF1", QStringLiteral("Orvo文件管理器&F"), &TOrvo::orvowjClick);
    orvowj = command("orvowj", QStringLiteral("Orvo文件管理器&F"), &TOrvo::orvowjClick);
    OrvoE1 = command("OrvoE1", QStringLiteral("Orvo文件管理器&E"), &TOrvo::orvowjClick);
    // Checkable items mirror state kept by the window; each handler sets their marks itself.
    kauto = command("kauto", QStringLiteral("开机自动运行&J"), &TOrvo::kautoClick, true);
    kau = command("kau", QStringLiteral("开机自动运行&J"), &TOrvo::kautoClick, true);
    addzy = command("addzy", QStringLiteral("增加到资源管理器右键菜单&I"), &TOrvo::addzyClick, true);
    addz = command("addz", QStringLiteral("增加到资源管理器右键菜单&K"), &TOrvo::addzyClick, true);
    zdl = command("zdl", QStringLiteral("自动载入和保存列表&Z"), &TOrvo::zdlClick, true);
    th = command("th", QStringLiteral("替换同名文件&S"), &TOrvo::ztfClick, true);
    fj = command("fj", QStringLiteral("复件同名文件&A"), &TOrvo::ztfClick, true);
    ztf = command("ztf", QStringLiteral("粘贴-同名文件前加“复件”；否则替换同名文件&M"), &TOrvo::ztfClick, true);
    dragbl = command("dragbl", QStringLiteral("拖放用复制；否则拖放用剪切&F"), &TOrvo::dragbl_oldClick, true);
    tfcopy = command("tfcopy", QStringLiteral("拖放用复制&A"), &TOrvo::dragbl_oldClick, true);
    tfcut = command("tfcut", QStringLiteral("拖放用剪切&B"), &TOrvo::dragbl_oldClick, true);
    tfkjfs = command("tfkjfs", QStringLiteral("往外拖放快捷方式&C"), &TOrvo::tfkjfsClick, true);
    N2 = command("N2", QStringLiteral("还原本程序初始默认设置&L"), &TOrvo::N2Click);
    L3 = command("L3", QStringLiteral("还原本程序初始默认设置&L"), &TOrvo::N2Click);
    J4 = command("J4", QStringLiteral("刷新&J"), &TOrvo::RefreshClick);
    I2 = command("I2", QStringLiteral("浏览至盘目录&I    (浏览列表)"), &TOrvo::PrevLevelClick);
    stop1 = command("stop1", QStringLiteral("停止&P     (浏览列表)"), &TOrvo::stop1Click);
    stop2 = command("stop2", QStringLiteral("停止&P"), &TOrvo::stop1Click);
    F9 = command("F9", QStringLiteral("查找文件&F "), &TOrvo::BtnSearchClick);

    // The parts' commands and pop-up menus; the path bar's menu lists paste3, zdl and OrvoF1, the lists'
    // pop-up menu lists stop2.
    m_toolLauncher->createCommands();
    m_listActions->createCommands();
    m_pathBar->createCommands();
    m_filterBar->createCommands();
    m_paneLayout->createCommands();

    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("文件&F"));
    file->addAction(orvowj);
    file->addAction(OrvoM1);
    file->addSeparator();
    file->addAction(X2);

    QMenu* edit = bar->addMenu(QStringLiteral("编辑"));
    for (QAction* a : {Open1, QuickView1, Cut1, Copy1, Paste1, copytocb, DeleteF, rem, RenameF, ReA, fsd, N37, B6,
                       SelectAll1, sxxg, RewriteTime, Properties, hexv})
        edit->addAction(a);
    edit->addSeparator();
    edit->addAction(ztf);   // fj and th sit in the Paste button's menu only
    edit->addSeparator();
    for (QAction* a : {dragbl, tfcopy, tfcut, tfkjfs}) edit->addAction(a);

    // The View menu; the tree's items go on top when the tree's controls are built.
    V2 = bar->addMenu(QStringLiteral("查看&V"));
    V2->setObjectName(QStringLiteral("V2"));
    for (QAction* a : {N112, N211, FLVSH1, HFListV2}) V2->addAction(a);
    V2->addSeparator();
    for (QAction* a : {B8, M7, L7, D10}) V2->addAction(a);
    V2->addSeparator();
    for (QAction* a : {F8, U3, E6, H7, S7, ftr, fta}) V2->addAction(a);
    V2->addSeparator();
    for (QAction* a : {J4, I2, stop1, F9, zkl}) V2->addAction(a);
    V2->addSeparator();
    V2->addAction(S3);
    connect(V2, &QMenu::aboutToShow, m_paneLayout.get(), &app::PaneLayout::V2Click);

    QMenu* tools = bar->addMenu(QStringLiteral("工具&T"));
    tools->setObjectName(QStringLiteral("T4"));
    for (QAction* a : {A13, H8, MD52, P12, PAK1, B9})
        tools->addAction(a);
    tools->addSeparator();
    tools->addAction(OrvoE1);
    tools->addAction(OrvoM2);
    QMenu* options = bar->addMenu(QStringLiteral("选项"));
    options->addAction(kauto);
    options->addAction(addzy);
    options->addAction(zdl);
    options->addSeparator();
    options->addAction(N2);
    QMenu* help = bar->addMenu(QStringLiteral("帮助"));
    help->addAction(kau);
    help->addAction(addz);
    help->addAction(L3);
    app::createExtensionCommands(*this, bar, options, help);
}

void TOrvo::buildPanes()
{
    // Top: the command bar, then the path bar with its buttons and the two folder combos.
    ToolBar1 = fixedToolBar(QStringLiteral("ToolBar1"), this);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    ToolButton29 = barButton(ToolBar1, QStringLiteral("ToolButton29"), QStringLiteral("进程"),
                             QStringLiteral("进程管理(Ctrl+F1)，右键：文件压缩/解压缩"));
    ToolButton30 = barButton(ToolBar1, QStringLiteral("ToolButton30"), QStringLiteral("查找"),
                             QStringLiteral("快速查找文件(Ctrl+F2)，右键：文件比较"));
    ToolButton31 = barButton(ToolBar1, QStringLiteral("ToolButton31"), QStringLiteral("分割"),
                             QStringLiteral("文件分割或合并，右键：MD5校验(Alt+F5)"));
    addToolBarBreak(Qt::TopToolBarArea);
    ToolBar2 = fixedToolBar(QStringLiteral("ToolBar2"), this);
    addToolBar(Qt::TopToolBarArea, ToolBar2);

    pathbox = new QComboBox;
    pathbox->setObjectName(QStringLiteral("pathbox"));
    pathbox->setEditable(true);
    pathbox->setInsertPolicy(QComboBox::NoInsert);   // the history grows only by its own commands
    pathbox->setMaxVisibleItems(38);
    pathbox->setCompleter(nullptr);
    pathbox->setToolTip(QStringLiteral("路径栏，右键..."));
    pathbox->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    pathbox->setMinimumWidth(200);
    ToolBar2->addWidget(pathbox);
    ToolButton3 = barButton(ToolBar2, QStringLiteral("ToolButton3"), QStringLiteral("→"),
                            QStringLiteral("转到路径栏当前路径"));
    up1 = barButton(ToolBar2, QStringLiteral("up1"), QStringLiteral("▲"), QStringLiteral("后退至路径栏列表上一条路径"));
    down1 = barButton(ToolBar2, QStringLiteral("down1"), QStringLiteral("▼"),
                      QStringLiteral("前进至路径栏列表下一条路径"));
    LsDirTreeCombo281 = new TLsDirTreeCombo28;
    LsDirTreeCombo281->setObjectName(QStringLiteral("LsDirTreeCombo281"));
    LsDirTreeCombo282 = new TLsDirTreeCombo28;
    LsDirTreeCombo282->setObjectName(QStringLiteral("LsDirTreeCombo282"));
    for (TLsDirTreeCombo28* combo : {LsDirTreeCombo281, LsDirTreeCombo282}) {
        combo->setMinimumWidth(150);
        combo->setTreeHeight(550);
    }
    ToolBar2->addWidget(LsDirTreeCombo281);
    ToolBar2->addWidget(LsDirTreeCombo282);

    auto* central = new QWidget;
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Left: the folder tree panel; centre: the lists and the preview.
    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    Panel2 = new QFrame;
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setMinimumWidth(3);
    auto* treeBox = new QVBoxLayout(Panel2);
    treeBox->setContentsMargins(0, 0, 0, 0);
    ShellTree1 = new TShellTree;
    ShellTree1->setObjectName(QStringLiteral("ShellTree1"));
    ShellTree1->setAutoFillBackground(true);
    treeBox->addWidget(ShellTree1);

    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* centre = new QHBoxLayout(Panel1);
    centre->setContentsMargins(0, 0, 0, 0);
    centre->setSpacing(0);
    Splitter2 = new QSplitter(Qt::Horizontal);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    LsFilelistView281 = new TLsFilelistView28;
    LsFilelistView281->setObjectName(QStringLiteral("LsFilelistView281"));
    LsFilelistView282 = new TLsFilelistView28;
    LsFilelistView282->setObjectName(QStringLiteral("LsFilelistView282"));
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
        list->setWidth_Name(215);
        list->setWidth_Size(78);
        list->setWidth_Mod(118);
        list->setWidth_Attr(50);
        list->setFileType(ftReadOnly | ftHidden | ftSystem | ftArchive | ftNormal);
        list->setMask(QStringLiteral("*.*"));
        Splitter2->addWidget(list);
    }
    LsFilelistView282->hide();     // the splitter hides its handle with it
    LsDirTreeCombo281->setFileList(LsFilelistView281);
    LsDirTreeCombo282->setFileList(LsFilelistView282);
    // List two keeps its width when the window is resized; list one takes the change.
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    centre->addWidget(Splitter2, 1);
    ScrollBox1 = new QScrollArea;
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->hide();
    centre->addWidget(ScrollBox1, 1);

    Splitter1->addWidget(Panel2);
    Splitter1->addWidget(Panel1);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({249, kClientWidth - 249});
    column->addWidget(Splitter1, 1);

    // Bottom: the status extension panel with the filter bar and the status bar.
    Panel3 = new QWidget;
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto* bottom = new QVBoxLayout(Panel3);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    ToolBar3 = fixedToolBar(QStringLiteral("ToolBar3"), Panel3);
    ColorBox = inertCombo(QStringLiteral("ColorBox"), false, 100);
    SpinEdit1 = new QSpinBox;
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setRange(10, 800);
    SpinEdit1->setValue(100);
    SpinEdit1->setToolTip(QStringLiteral("设置缩略图大小"));
    app::markNotAvailable(SpinEdit1);   // read by the thumbnail page, which is not part of the program yet
    Mask1 = inertCombo(QStringLiteral("Mask1"), true, 120);
    dirbox = inertCombo(QStringLiteral("dirbox"), false, 250);
    ToolBar3->addWidget(ColorBox);
    ToolBar3->addWidget(SpinEdit1);
    ToolBar3->addWidget(Mask1);
    ToolBar3->addWidget(dirbox);
    bottom->addWidget(ToolBar3);
    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel;
    StatusPanel1 = new QLabel;
    // Two panels, 200 and 800 pixels wide; the second gives way in a narrower window.
    StatusPanel0->setFixedWidth(200);
    StatusPanel1->setMaximumWidth(800);
    StatusPanel1->setMinimumWidth(0);
    StatusBar1->addWidget(StatusPanel0);
    StatusBar1->addWidget(StatusPanel1, 1);
    bottom->addWidget(StatusBar1);
    column->addWidget(Panel3);

    setCentralWidget(central);
    buildViewControls();
}

void TOrvo::buildViewControls()
{
    // The command buttons of the first tool bar, after the tool buttons.
    Paste0 = barButton(ToolBar1, QStringLiteral("Paste0"), QStringLiteral("粘贴"), QStringLiteral("粘贴"));
    cut0 = barButton(ToolBar1, QStringLiteral("cut0"), QStringLiteral("剪切"), QStringLiteral("剪切"));
    copy0 = barButton(ToolBar1, QStringLiteral("copy0"), QStringLiteral("复制"), QStringLiteral("复制"));
    del1 = barButton(ToolBar1, QStringLiteral("del1"), QStringLiteral("删除"),
                     QStringLiteral("删除文件(夹)或者是清空回收站，右键：打开回收站"));
    ASR = barButton(ToolBar1, QStringLiteral("ASR"), QStringLiteral("改名"), QStringLiteral("重命名所有选择的 "));
    rwtime = barButton(ToolBar1, QStringLiteral("rwtime"), QStringLiteral("时间"), QStringLiteral("修改文件时间"));
    Attribute = barButton(ToolBar1, QStringLiteral("Attribute"), QStringLiteral("属性"), QStringLiteral("属性修改"));
    ToolButton11 = barButton(ToolBar1, QStringLiteral("ToolButton11"), QStringLiteral("刷新"), QStringLiteral("刷新"));
    ToolButton13 = barButton(ToolBar1, QStringLiteral("ToolButton13"), QStringLiteral("盘"),
                             QStringLiteral("浏览至盘目录"));
    ToolButton14 = barButton(ToolBar1, QStringLiteral("ToolButton14"), QStringLiteral("文件夹"),
                             QStringLiteral("展示或隐藏文件夹，右键：隐藏或展示^向上"));
    ToolButton15 = barButton(ToolBar1, QStringLiteral("ToolButton15"), QStringLiteral("全选"), QStringLiteral("选择全部"));
    fv = barButton(ToolBar1, QStringLiteral("fv"), QStringLiteral("树→一"), QStringLiteral("目录树-->浏览列表一或浏览列表二"),
                   true);
    shfv = barButton(ToolBar1, QStringLiteral("shfv"), QStringLiteral("双列表"),
                     QStringLiteral("展示或隐藏浏览列表二，右键..."), true);
    Icond = barButton(ToolBar1, QStringLiteral("Icond"), QStringLiteral("查看"), QStringLiteral("浏览列表查看方式，右键..."));
    phint = barButton(ToolBar1, QStringLiteral("phint"), QStringLiteral("扩展栏"),
                      QStringLiteral("展示或隐藏状态扩展栏，右键菜单..."), true);
    app::onClicked(this, ToolButton11, this, &TOrvo::RefreshClick);
    app::onClicked(this, ToolButton13, this, &TOrvo::PrevLevelClick);

    // Colours.
    ToolButton8 = toolButton(QStringLiteral("ToolButton8"), QStringLiteral("背景"),
                             QStringLiteral("改变背景颜色，按下后在颜色框里选择颜色"), true);
    ToolBar3->insertWidget(ToolBar3->actions().value(0), ToolButton8);
    app::onClicked(this, ToolButton8, this, &TOrvo::ToolButton8Click);
    ColorBox->setEnabled(true);
    ColorBox->setToolTip(QStringLiteral("颜色框，改变背景颜色，先选择要改变的目录树或浏览列表..."));
    for (const NamedColor& c : kColors) {
        QPixmap swatch(12, 12);
        swatch.fill(QColor(c.rgb));
        ColorBox->addItem(QIcon(swatch), QString::fromUtf8(c.name), QColor(c.rgb));
    }
    // The custom item: its colour is chosen in the colour dialog and kept on the item.
    ColorBox->addItem(QIcon(), QStringLiteral("自定义..."));
    ColorBox->setCurrentIndex(-1);
    connect(ColorBox, &QComboBox::activated, this, [this](int index) { app::guarded(this, [&] { ColorBoxActivated(index); }); });
    ui::WindowMover::install(StatusBar1);   // dragging the status bar moves the window

    m_toolLauncher->connectControls();
    m_listActions->connectControls();
    m_paneLayout->connectControls();
    m_pathBar->connectControls();
    m_filterBar->connectControls();
    app::connectExtensionControls(*this);
    buildTreeControls();
    connectLists();
    // Icons on the tool buttons: the command bar puts the caption under the icon, the others beside it.
    for (const ButtonIcon& b : kButtonIcons) {
        auto* button = findChild<QToolButton*>(QLatin1String(b.button));
        if (!button)
            continue;
        button->setIcon(ui::themeIcon(QLatin1String(b.icon)));
        const bool commandBar = button->parentWidget() == ToolBar1;
        button->setToolButtonStyle(commandBar ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonTextBesideIcon);
        button->setIconSize(commandBar ? QSize(22, 22) : QSize(16, 16));
    }
    // Menus show the tooltips of commands that are not available yet.
    for (QMenu* menu : findChildren<QMenu*>())
        menu->setToolTipsVisible(true);
}

QMenu* TOrvo::createPopupMenu()
{
    return nullptr;   // no menu to hide the tool bars
}

bool TOrvo::eventFilter(QObject* watched, QEvent* event)
{
    // The tree's press and release keep the pressed flag and the press point for dragging.
    if (watched == ShellTree1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            ShellTree1MouseDown(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        else if (event->type() == QEvent::MouseButtonRelease)
            ShellTree1MouseUp();
    }
    return QMainWindow::eventFilter(watched, event);
}
