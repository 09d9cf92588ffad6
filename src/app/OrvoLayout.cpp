// Panes, tool bars and menus of the main window.
#include "app/Orvo.h"
#include "filelist/LsFilelistView28.h"
#include "foldertree/ShellTree.h"
#include "ui/Dialogs.h"
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <exception>

namespace {

QToolBar* fixedToolBar(const QString& objectName, QWidget* parent)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(objectName);
    bar->setMovable(false);
    bar->setFloatable(false);
    return bar;
}

// A button of the path bar whose command is not part of the program yet: shown, but disabled.
QToolButton* inertButton(const QString& objectName, const QString& text, const QString& hint)
{
    auto* b = new QToolButton;
    b->setObjectName(objectName);
    b->setText(text);
    b->setToolTip(hint);
    b->setEnabled(false);
    return b;
}

// A tool bar button with a command on each mouse button.
QToolButton* toolButton(const QString& objectName, const QString& text, const QString& hint)
{
    auto* b = new QToolButton;
    b->setObjectName(objectName);
    b->setText(text);
    b->setToolTip(hint);
    b->setContextMenuPolicy(Qt::CustomContextMenu);
    return b;
}

// Runs a command; an error it raises is shown instead of crossing the event loop.
void guarded(TOrvo* w, void (TOrvo::*f)())
{
    try {
        (w->*f)();
    } catch (const std::exception& e) {
        ui::Dialogs::get().error(w, QString::fromUtf8(e.what()));
    }
}

QComboBox* inertCombo(const QString& objectName, bool editable, int width)
{
    auto* c = new QComboBox;
    c->setObjectName(objectName);
    c->setEditable(editable);
    c->setMinimumWidth(width);
    c->setEnabled(false);
    return c;
}

} // namespace

void TOrvo::buildPanes()
{
    // Top: the command bar, then the path bar with its buttons and the two folder combos.
    ToolBar1 = fixedToolBar(QStringLiteral("ToolBar1"), this);
    addToolBar(Qt::TopToolBarArea, ToolBar1);
    ToolButton29 = toolButton(QStringLiteral("ToolButton29"), QStringLiteral("进程"),
                              QStringLiteral("进程管理(Ctrl+F1)，右键：文件压缩/解压缩"));
    ToolButton30 = toolButton(QStringLiteral("ToolButton30"), QStringLiteral("查找"),
                              QStringLiteral("快速查找文件(Ctrl+F2)，右键：文件比较"));
    ToolButton31 = toolButton(QStringLiteral("ToolButton31"), QStringLiteral("分割"),
                              QStringLiteral("文件分割或合并，右键：MD5校验(Alt+F5)"));
    const struct {
        QToolButton* button;
        void (TOrvo::*left)();
        void (TOrvo::*right)();
    } toolButtons[] = {
        {ToolButton29, &TOrvo::ToolButton29Click, &TOrvo::ToolButton29RightClick},
        {ToolButton30, &TOrvo::ToolButton30Click, &TOrvo::ToolButton30RightClick},
        {ToolButton31, &TOrvo::ToolButton31Click, &TOrvo::md5WithSelection},
    };
    for (const auto& t : toolButtons) {
        connect(t.button, &QToolButton::clicked, this, [this, f = t.left] { guarded(this, f); });
        connect(t.button, &QWidget::customContextMenuRequested, this, [this, f = t.right] { guarded(this, f); });
        ToolBar1->addWidget(t.button);
    }
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
    pathbox->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pathbox->lineEdit(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu2->popup(pathbox->lineEdit()->mapToGlobal(pos)); });
    ToolBar2->addWidget(pathbox);
    ToolButton3 = inertButton(QStringLiteral("ToolButton3"), QStringLiteral("→"), QStringLiteral("转到路径栏当前路径"));
    up1 = inertButton(QStringLiteral("up1"), QStringLiteral("▲"), QStringLiteral("后退至路径栏列表上一条路径"));
    down1 = inertButton(QStringLiteral("down1"), QStringLiteral("▼"), QStringLiteral("前进至路径栏列表下一条路径"));
    ToolBar2->addWidget(ToolButton3);
    ToolBar2->addWidget(up1);
    ToolBar2->addWidget(down1);
    LsDirTreeCombo281 = inertCombo(QStringLiteral("LsDirTreeCombo281"), false, 150);
    LsDirTreeCombo282 = inertCombo(QStringLiteral("LsDirTreeCombo282"), false, 150);
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
    SpinEdit1->setEnabled(false);   // read by the thumbnail page, which is not part of the program yet
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
    StatusBar1->addWidget(StatusPanel0, 1);
    StatusBar1->addWidget(StatusPanel1, 2);
    bottom->addWidget(StatusBar1);
    column->addWidget(Panel3);

    setCentralWidget(central);
    buildViewControls();
}

QAction* TOrvo::command(const QString& caption, void (TOrvo::*handler)(), bool checkable)
{
    auto* a = new QAction(caption, this);
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, handler] {
        try {
            (this->*handler)();
        } catch (const std::exception& e) {
            ui::Dialogs::get().error(this, QString::fromUtf8(e.what()));
        }
    });
    return a;
}

void TOrvo::buildMenus()
{
    const QString restartCaption = QStringLiteral("关闭并重新打开Orvo文件管理器&M");
    X2 = command(QStringLiteral("退出&X"), &TOrvo::Exit1_oldClick);
    S3 = command(QStringLiteral("缩小/还原&S"), &TOrvo::S3Click);
    S3->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    OrvoM1 = command(restartCaption, &TOrvo::OrvoM2Click);
    OrvoM2 = command(restartCaption, &TOrvo::OrvoM2Click);
    OrvoM2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    OrvoF1 = command(QStringLiteral("Orvo文件管理器&F"), &TOrvo::orvowjClick);
    orvowj = command(QStringLiteral("Orvo文件管理器&F"), &TOrvo::orvowjClick);
    OrvoE1 = command(QStringLiteral("Orvo文件管理器&E"), &TOrvo::orvowjClick);
    // Checkable items mirror state kept by the window; each handler sets their marks itself.
    kauto = command(QStringLiteral("开机自动运行&J"), &TOrvo::kautoClick, true);
    kau = command(QStringLiteral("开机自动运行&J"), &TOrvo::kautoClick, true);
    addzy = command(QStringLiteral("增加到资源管理器右键菜单&I"), &TOrvo::addzyClick, true);
    addz = command(QStringLiteral("增加到资源管理器右键菜单&K"), &TOrvo::addzyClick, true);
    zdl = command(QStringLiteral("自动载入和保存列表&Z"), &TOrvo::zdlClick, true);
    th = command(QStringLiteral("替换同名文件&S"), &TOrvo::ztfClick, true);
    fj = command(QStringLiteral("复件同名文件&A"), &TOrvo::ztfClick, true);
    ztf = command(QStringLiteral("粘贴-同名文件前加“复件”；否则替换同名文件&M"), &TOrvo::ztfClick, true);
    dragbl = command(QStringLiteral("拖放用复制；否则拖放用剪切&F"), &TOrvo::dragbl_oldClick, true);
    tfcopy = command(QStringLiteral("拖放用复制&A"), &TOrvo::dragbl_oldClick, true);
    tfcut = command(QStringLiteral("拖放用剪切&B"), &TOrvo::dragbl_oldClick, true);
    tfkjfs = command(QStringLiteral("往外拖放快捷方式&C"), &TOrvo::tfkjfsClick, true);
    N2 = command(QStringLiteral("还原本程序初始默认设置&L"), &TOrvo::N2Click);
    L3 = command(QStringLiteral("还原本程序初始默认设置&L"), &TOrvo::N2Click);

    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("文件&F"));
    file->addAction(orvowj);
    file->addAction(OrvoM1);
    file->addSeparator();
    file->addAction(X2);
    QMenu* edit = bar->addMenu(QStringLiteral("编辑"));
    edit->addAction(ztf);
    edit->addAction(fj);
    edit->addAction(th);
    edit->addSeparator();
    edit->addAction(dragbl);
    edit->addAction(tfcopy);
    edit->addAction(tfcut);
    edit->addAction(tfkjfs);
    QMenu* view = bar->addMenu(QStringLiteral("查看&V"));
    view->addAction(S3);
    A13 = command(QStringLiteral("快速查找文件&A"), &TOrvo::ToolButton30Click);
    H8 = command(QStringLiteral("文件分割或合并&H"), &TOrvo::ToolButton31Click);
    MD52 = command(QStringLiteral("MD5校验&M"), &TOrvo::md5WithSelection);
    P12 = command(QStringLiteral("进程管理&P"), &TOrvo::P12Click);
    PAK1 = command(QStringLiteral("文件压缩/解压缩&K"), &TOrvo::PAK1Click);
    B9 = command(QStringLiteral("文件比较&B"), &TOrvo::B9Click);
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

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    buildCommandControls();
}
