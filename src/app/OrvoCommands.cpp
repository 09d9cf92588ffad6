// The main window's command controls: the menus and tool buttons of the path bar, the filter box, the view
// options and the commands whose state follows the selection.
#include "app/Orvo.h"
#include "filelist/LsFilelistView28.h"
#include "fileops/engine/Transfer.h"
#include "ui/Dialogs.h"
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <exception>

namespace {

QToolButton* barButton(QToolBar* bar, const QString& name, const QString& text, const QString& hint,
                       bool checkable = false)
{
    auto* b = new QToolButton;
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setCheckable(checkable);
    bar->addWidget(b);
    return b;
}

// A command whose work belongs to a later part of the program: it exists so its state follows the selection.
QAction* stateOnly(QObject* owner, const QString& caption)
{
    return new QAction(caption, owner);
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

void TOrvo::buildCommandControls()
{
    QMenuBar* bar = menuBar();
    QMenu* edit = nullptr;
    for (QAction* a : bar->actions()) {
        if (a->menu() && a->text() == QStringLiteral("编辑"))
            edit = a->menu();
    }

    // Path bar menu.
    N110 = command(QStringLiteral("浏览列表一至路径&1"), &TOrvo::openpath1Click);
    N22 = command(QStringLiteral("浏览列表二至路径&2"), &TOrvo::CustomItem41Click);
    M3 = command(QStringLiteral("目录树至路径&M"), &TOrvo::ComboBox2Click);
    paste3 = command(QStringLiteral("(复制/剪贴的文件)粘贴到当前路径&P"), &TOrvo::Paste0Click);
    J1 = command(QStringLiteral("粘贴从剪贴板&J"), &TOrvo::J1Click);
    A2 = command(QStringLiteral("增加当前路径&A"), &TOrvo::Addpath1_oldClick);
    D3 = command(QStringLiteral("删除当前路径&D"), &TOrvo::Deletepath1_oldClick);
    C1 = command(QStringLiteral("删除全部路径&C"), &TOrvo::cls1_oldClick);
    S2 = command(QStringLiteral("保存列表&S"), &TOrvo::save1_oldClick);
    L2 = command(QStringLiteral("载入列表&L"), &TOrvo::load1_oldClick);
    B3 = command(QStringLiteral("编辑列表&B"), &TOrvo::CustomItem15Click);
    N8 = command(QStringLiteral("删除列表&I"), &TOrvo::N8Click);
    E2 = command(QStringLiteral("资源管理器&E"), &TOrvo::CustomItem44Click);
    PopupMenu2->clear();
    for (QAction* a : {N110, N22, M3}) PopupMenu2->addAction(a);
    PopupMenu2->addSeparator();
    for (QAction* a : {paste3, J1}) PopupMenu2->addAction(a);
    PopupMenu2->addSeparator();
    for (QAction* a : {A2, D3, C1}) PopupMenu2->addAction(a);
    PopupMenu2->addSeparator();
    for (QAction* a : {zdl, S2, L2, B3, N8}) PopupMenu2->addAction(a);
    PopupMenu2->addSeparator();
    for (QAction* a : {OrvoF1, E2}) PopupMenu2->addAction(a);

    // Filter box menu.
    N17 = command(QStringLiteral("目录树扩展名过滤(&0)"), &TOrvo::N17Click);
    N18 = command(QStringLiteral("浏览列表一扩展名过滤(&1)"), &TOrvo::N18Click);
    N19 = command(QStringLiteral("浏览列表二扩展名过滤(&2)"), &TOrvo::N19Click);
    N3 = command(QStringLiteral("保存列表(&S)"), &TOrvo::N3Click);
    N4 = command(QStringLiteral("载入列表(&L)"), &TOrvo::N4Click);
    B1 = command(QStringLiteral("编辑列表(&B)"), &TOrvo::B1Click);
    N7 = command(QStringLiteral("删除列表(&D)"), &TOrvo::N7Click);
    PopupMenu4 = new QMenu(this);
    PopupMenu4->setObjectName(QStringLiteral("PopupMenu4"));
    for (QAction* a : {N17, N18, N19}) PopupMenu4->addAction(a);
    PopupMenu4->addSeparator();
    for (QAction* a : {N3, N4, B1, N7}) PopupMenu4->addAction(a);

    // Which list the tree drives, which lists are shown.
    N112 = command(QStringLiteral("目录树-->浏览列表一&1"), &TOrvo::DirtreeFlist1_oldClick);
    N211 = command(QStringLiteral("目录树-->浏览列表二&2"), &TOrvo::DirTreeFList2_oldClick);
    FLVSH1 = command(QStringLiteral("隐藏浏览列表一&O"), &TOrvo::FLVSH1_oldClick, true);
    yc1 = command(QStringLiteral("隐藏浏览列表一&1"), &TOrvo::FLVSH1_oldClick, true);
    HFListV2 = command(QStringLiteral("隐藏浏览列表二&T"), &TOrvo::HFListV2_oldClick, true);
    yc2 = command(QStringLiteral("隐藏浏览列表二&2"), &TOrvo::HFListV2_oldClick, true);
    PopupMenu9 = new QMenu(this);
    PopupMenu9->setObjectName(QStringLiteral("PopupMenu9"));
    PopupMenu9->addAction(yc1);
    PopupMenu9->addAction(yc2);

    // View style and show/hide of the driven list.
    const auto style = [this](const QString& caption, int s) {
        auto* a = new QAction(caption, this);
        connect(a, &QAction::triggered, this, [this, s] { setDrivenViewStyle(s); });
        return a;
    };
    B2 = style(QStringLiteral("大图标&B"), vsIcon);
    B8 = style(QStringLiteral("大图标&B"), vsIcon);
    M1 = style(QStringLiteral("小图标&M"), vsSmallIcon);
    M7 = style(QStringLiteral("小图标&M"), vsSmallIcon);
    L1 = style(QStringLiteral("列表&L"), vsList);
    L7 = style(QStringLiteral("列表&L"), vsList);
    D2 = style(QStringLiteral("详细信息&D"), vsReport);
    D10 = style(QStringLiteral("详细信息&D"), vsReport);
    N21 = command(QStringLiteral("展示或隐藏文件夹&F"), &TOrvo::HideFolderClick, true);
    F8 = command(QStringLiteral("浏览列表隐藏或展示文件夹&F"), &TOrvo::HideFolderClick, true);
    U1 = command(QStringLiteral("隐藏或展示^向上&U"), &TOrvo::syjClick, true);
    U3 = command(QStringLiteral("浏览列表隐藏或展示上一级文件夹\\&U"), &TOrvo::syjClick, true);
    E1 = command(QStringLiteral("展示或隐藏扩展名&E"), &TOrvo::he_oldClick, true);
    E6 = command(QStringLiteral("浏览列表隐藏或展示扩展名&E"), &TOrvo::he_oldClick, true);
    H1 = command(QStringLiteral("展示或隐藏隐形文件(夹)&H"), &TOrvo::hha_oldClick, true);
    H7 = command(QStringLiteral("浏览列表展示或隐藏隐形文件(夹)&H"), &TOrvo::hha_oldClick, true);
    S1 = command(QStringLiteral("展示或隐藏系统文件(夹)&S"), &TOrvo::sr_oldClick, true);
    S7 = command(QStringLiteral("浏览列表展示或隐藏系统文件(夹)&S"), &TOrvo::sr_oldClick, true);
    R1 = command(QStringLiteral("隐藏或展示只读文件&R"), &TOrvo::ftrClick, true);
    ftr = command(QStringLiteral("浏览列表隐藏或展示只读文件&R"), &TOrvo::ftrClick, true);
    A1 = command(QStringLiteral("隐藏或展示存档文件(夹)&A"), &TOrvo::ftaClick, true);
    fta = command(QStringLiteral("浏览列表隐藏或展示存档文件(夹)&A"), &TOrvo::ftaClick, true);
    zkl = command(QStringLiteral("隐藏或展示状态扩展栏&K"), &TOrvo::phintClick, true);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    for (QAction* a : {B2, M1, L1, D2}) PopupMenu1->addAction(a);
    PopupMenu1->addSeparator();
    for (QAction* a : {N21, U1, E1, H1, S1, R1, A1}) PopupMenu1->addAction(a);
    connect(PopupMenu1, &QMenu::aboutToShow, this, &TOrvo::V2Click);

    // Coordination commands.
    J4 = command(QStringLiteral("刷新&J"), &TOrvo::RefreshClick);
    I2 = command(QStringLiteral("浏览至盘目录&I    (浏览列表)"), &TOrvo::PrevLevelClick);
    stop1 = command(QStringLiteral("停止&P     (浏览列表)"), &TOrvo::stop1Click);
    stop2 = command(QStringLiteral("停止&P"), &TOrvo::stop1Click);
    F9 = command(QStringLiteral("查找文件&F "), &TOrvo::BtnSearchClick);
    SelectAll1 = command(QStringLiteral("选择全部&L"), &TOrvo::SelectAll1_oldClick);

    // Commands of the enable table; their work comes with the file operations, rename, properties and viewers.
    Paste1 = command(QStringLiteral("粘贴&P"), &TOrvo::Paste0Click);
    paste2 = command(QStringLiteral("粘贴&V"), &TOrvo::Paste0Click);
    fsd = stateOnly(this, QStringLiteral("发送到&A"));
    fsd1 = stateOnly(this, QStringLiteral("发送到&S"));
    rem = command(QStringLiteral("改名&M"), &TOrvo::remClick);
    ReA = command(QStringLiteral("重命名所有选择的&A "), &TOrvo::ASRClick);
    RenameF = command(QStringLiteral("重命名&R"), &TOrvo::EditFClick);
    Cut1 = command(QStringLiteral("剪切&X"), &TOrvo::Cut0Click);
    Copy1 = command(QStringLiteral("复制&C"), &TOrvo::Copy0Click);
    cut2 = command(QStringLiteral("剪切&X"), &TOrvo::Cut0Click);
    copy2 = command(QStringLiteral("复制&C"), &TOrvo::Copy0Click);
    copytocb = stateOnly(this, QStringLiteral("复制到剪贴板&Y"));
    del2 = command(QStringLiteral("删除&D"), &TOrvo::DeleteF_oldClick);
    DeleteF = command(QStringLiteral("删除文件(夹)或者是清空回收站&D "), &TOrvo::DeleteF_oldClick);
    sx2 = stateOnly(this, QStringLiteral("属性&A"));
    sxxg = stateOnly(this, QStringLiteral("属性修改&S"));
    G5 = stateOnly(this, QStringLiteral("属性修改&G"));
    RewriteTime = stateOnly(this, QStringLiteral("修改文件时间&W"));
    Properties = stateOnly(this, QStringLiteral("属性&P"));
    h16 = stateOnly(this, QStringLiteral("十六进制查看&H"));
    hexv = stateOnly(this, QStringLiteral("十六进制查看&H"));
    N37 = command(QStringLiteral("新建文件夹&N"), &TOrvo::N37Click);
    B6 = command(QStringLiteral("新建文本文档&B"), &TOrvo::B6Click);
    xjwjj = command(QStringLiteral("新建文件夹&N"), &TOrvo::xjwjjClick);
    N16 = command(QStringLiteral("新建文本文档&B"), &TOrvo::N16Click);
    Open1 = command(QStringLiteral("打开&O"), &TOrvo::Open1_oldClick);
    dakai = command(QStringLiteral("打开&O"), &TOrvo::Open1_oldClick);
    QuickView1 = command(QStringLiteral("快速查看（部分文件）&K "), &TOrvo::QuickView1_oldClick);
    ksll = command(QStringLiteral("快速查看&T"), &TOrvo::QuickView1_oldClick);

    if (edit) {
        QAction* first = edit->actions().value(0);
        for (QAction* a : {Open1, QuickView1, Cut1, Copy1, Paste1, copytocb, DeleteF, rem, RenameF, ReA, fsd, N37, B6,
                           SelectAll1, sxxg, RewriteTime, Properties, hexv})
            edit->insertAction(first, a);
        edit->insertSeparator(first);
    }

    // The View menu.
    V2 = nullptr;
    for (QAction* a : bar->actions()) {
        if (a->menu() && a->text() == QStringLiteral("查看&V"))
            V2 = a->menu();
    }
    if (V2) {
        V2->setObjectName(QStringLiteral("V2"));
        QAction* first = V2->actions().value(0);
        for (QAction* a : {N112, N211, FLVSH1, HFListV2}) V2->insertAction(first, a);
        V2->insertSeparator(first);
        for (QAction* a : {B8, M7, L7, D10}) V2->insertAction(first, a);
        V2->insertSeparator(first);
        for (QAction* a : {F8, U3, E6, H7, S7, ftr, fta}) V2->insertAction(first, a);
        V2->insertSeparator(first);
        for (QAction* a : {J4, I2, stop1, F9, zkl}) V2->insertAction(first, a);
        V2->insertSeparator(first);
        connect(V2, &QMenu::aboutToShow, this, &TOrvo::V2Click);
    }

    // The lists' pop-up menu.
    R3 = new QAction(QStringLiteral("刷新&R"), this);
    PopupMenu6 = new QMenu(this);
    PopupMenu6->setObjectName(QStringLiteral("PopupMenu6"));
    for (QAction* a : {dakai, ksll}) PopupMenu6->addAction(a);
    PopupMenu6->addSeparator();
    for (QAction* a : {cut2, copy2, paste2, del2, rem, fsd1}) PopupMenu6->addAction(a);
    PopupMenu6->addSeparator();
    for (QAction* a : {xjwjj, N16, G5, h16, stop2, R3, sx2}) PopupMenu6->addAction(a);
}

void TOrvo::buildViewControls()
{
    // Command buttons of the first tool bar.
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
    for (QToolButton* b : {Paste0, cut0, copy0, ASR, rwtime, Attribute})
        b->setEnabled(false);
    const auto on = [this](QToolButton* b, void (TOrvo::*f)()) {
        connect(b, &QToolButton::clicked, this, [this, f] {
            try {
                (this->*f)();
            } catch (const std::exception& e) {
                ui::Dialogs::get().error(this, QString::fromUtf8(e.what()));
            }
        });
    };
    on(Paste0, &TOrvo::Paste0Click);
    on(cut0, &TOrvo::Cut0Click);
    on(ASR, &TOrvo::ASRClick);
    on(copy0, &TOrvo::Copy0Click);
    on(del1, &TOrvo::DeleteF_oldClick);
    // The right button on Paste0 offers the name-clash policy.
    auto* PopupMenu10 = new QMenu(Paste0);
    PopupMenu10->setObjectName(QStringLiteral("PopupMenu10"));
    PopupMenu10->addAction(fj);
    PopupMenu10->addAction(th);
    Paste0->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Paste0, &QWidget::customContextMenuRequested, this,
            [this, PopupMenu10](const QPoint& pos) { PopupMenu10->popup(Paste0->mapToGlobal(pos)); });
    del1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(del1, &QWidget::customContextMenuRequested, this, [this] { delFMouseDown(); });
    on(ToolButton11, &TOrvo::RefreshClick);
    on(ToolButton13, &TOrvo::PrevLevelClick);
    on(ToolButton14, &TOrvo::HideFolderClick);
    on(ToolButton15, &TOrvo::SelectAll1_oldClick);
    on(fv, &TOrvo::fvClick);
    on(shfv, &TOrvo::shfvClick);
    on(Icond, &TOrvo::IcondClick);
    on(phint, &TOrvo::phintClick);
    ToolButton14->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ToolButton14, &QWidget::customContextMenuRequested, this, [this] { syjClick(); });
    shfv->setMenu(PopupMenu9);
    shfv->setPopupMode(QToolButton::MenuButtonPopup);
    Icond->setMenu(PopupMenu1);
    Icond->setPopupMode(QToolButton::MenuButtonPopup);
    phint->setContextMenuPolicy(Qt::CustomContextMenu);

    // Path bar.
    for (QToolButton* b : {ToolButton3, up1, down1})
        b->setEnabled(true);
    on(ToolButton3, &TOrvo::ToolButton3Click);
    on(up1, &TOrvo::up1Click);
    on(down1, &TOrvo::down1Click);
    pathbox->lineEdit()->installEventFilter(this);
    pathbox->setInputMethodHints(Qt::ImhNone);
    pathbox->setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(pathbox, &QComboBox::activated, this, [this](int index) {
        try {
            pathboxSelect(index);
        } catch (const std::exception& e) {
            ui::Dialogs::get().error(this, QString::fromUtf8(e.what()));
        }
    });

    // Filter box.
    Mask1->setEnabled(true);
    Mask1->setToolTip(QStringLiteral("目录树或浏览列表文件扩展名过滤，鼠标左键双击确定，鼠标右键菜单..."));
    Mask1->setInsertPolicy(QComboBox::NoInsert);
    Mask1->setMaxVisibleItems(38);
    Mask1->setCompleter(nullptr);
    Mask1->setAttribute(Qt::WA_InputMethodEnabled, false);
    Mask1->addItems(kDefaultFilters);
    Mask1->setCurrentIndex(-1);
    Mask1->lineEdit()->installEventFilter(this);
    Mask1->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Mask1->lineEdit(), &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu4->popup(Mask1->lineEdit()->mapToGlobal(pos)); });

    // Colours.
    ToolButton8 = new QToolButton;
    ToolButton8->setObjectName(QStringLiteral("ToolButton8"));
    ToolButton8->setText(QStringLiteral("背景"));
    ToolButton8->setToolTip(QStringLiteral("改变背景颜色，按下后在颜色框里选择颜色"));
    ToolButton8->setCheckable(true);
    ToolBar3->insertWidget(ToolBar3->actions().value(0), ToolButton8);
    on(ToolButton8, &TOrvo::ToolButton8Click);
    ColorBox->setEnabled(true);
    ColorBox->setToolTip(QStringLiteral("颜色框，改变背景颜色，先选择要改变的目录树或浏览列表..."));
    for (const NamedColor& c : kColors) {
        QPixmap swatch(12, 12);
        swatch.fill(QColor(c.rgb));
        ColorBox->addItem(QIcon(swatch), QString::fromUtf8(c.name), QColor(c.rgb));
    }
    ColorBox->setCurrentIndex(-1);
    connect(ColorBox, &QComboBox::activated, this, [this] { ColorBoxChange(); });

    dirbox->setEnabled(true);
    dirbox->setEditable(true);
    dirbox->setToolTip(fileops::dirboxHintStart());
    connect(dirbox, &QComboBox::activated, this, [this](int index) { dirboxClick(index); });
    StatusBar1->installEventFilter(this);
    buildTreeControls();
    connectLists();
}
