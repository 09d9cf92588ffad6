#include "app/PaneLayout.h"
#include "app/Commands.h"
#include "app/ListActions.h"
#include "app/Orvo.h"
#include "filelist/FileListView.h"
#include <QAction>
#include <QMenu>
#include <QScrollArea>
#include <QSplitter>
#include <QToolButton>

namespace app {

PaneLayout::PaneLayout(TOrvo& window) : m_w(window) {}

void PaneLayout::createCommands()
{
    const auto command = [this](const char* name, const QString& caption, void (PaneLayout::*handler)(),
                                bool checkable = false) {
        return newCommand(&m_w, this, name, caption, handler, checkable);
    };
    // Which list the tree drives, which lists are shown.
    m_w.N112 = command("N112", QStringLiteral("目录树-->浏览列表一&1"), &PaneLayout::DirtreeFlist1_oldClick);
    m_w.N211 = command("N211", QStringLiteral("目录树-->浏览列表二&2"), &PaneLayout::DirTreeFList2_oldClick);
    m_w.FLVSH1 = command("FLVSH1", QStringLiteral("隐藏浏览列表一&O"), &PaneLayout::FLVSH1_oldClick, true);
    m_w.yc1 = command("yc1", QStringLiteral("隐藏浏览列表一&1"), &PaneLayout::FLVSH1_oldClick, true);
    m_w.HFListV2 = command("HFListV2", QStringLiteral("隐藏浏览列表二&T"), &PaneLayout::HFListV2_oldClick, true);
    m_w.yc2 = command("yc2", QStringLiteral("隐藏浏览列表二&2"), &PaneLayout::HFListV2_oldClick, true);
    m_w.PopupMenu9 = new QMenu(&m_w);
    m_w.PopupMenu9->setObjectName(QStringLiteral("PopupMenu9"));
    m_w.PopupMenu9->addAction(m_w.yc1);
    m_w.PopupMenu9->addAction(m_w.yc2);

    // View style and show/hide of the driven list.
    const auto style = [this](const char* name, const QString& caption, int s) {
        auto* a = new QAction(caption, &m_w);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, [this, s] { setDrivenViewStyle(s); });
        return a;
    };
    m_w.B2 = style("B2", QStringLiteral("大图标&B"), vsIcon);
    m_w.B8 = style("B8", QStringLiteral("大图标&B"), vsIcon);
    m_w.M1 = style("M1", QStringLiteral("小图标&M"), vsSmallIcon);
    m_w.M7 = style("M7", QStringLiteral("小图标&M"), vsSmallIcon);
    m_w.L1 = style("L1", QStringLiteral("列表&L"), vsList);
    m_w.L7 = style("L7", QStringLiteral("列表&L"), vsList);
    m_w.D2 = style("D2", QStringLiteral("详细信息&D"), vsReport);
    m_w.D10 = style("D10", QStringLiteral("详细信息&D"), vsReport);
    m_w.N21 = command("N21", QStringLiteral("展示或隐藏文件夹&F"), &PaneLayout::HideFolderClick, true);
    m_w.F8 = command("F8", QStringLiteral("浏览列表隐藏或展示文件夹&F"), &PaneLayout::HideFolderClick, true);
    m_w.U1 = command("U1", QStringLiteral("隐藏或展示^向上&U"), &PaneLayout::syjClick, true);
    m_w.U3 = command("U3", QStringLiteral("浏览列表隐藏或展示上一级文件夹\\&U"), &PaneLayout::syjClick, true);
    m_w.E1 = command("E1", QStringLiteral("展示或隐藏扩展名&E"), &PaneLayout::he_oldClick, true);
    m_w.E6 = command("E6", QStringLiteral("浏览列表隐藏或展示扩展名&E"), &PaneLayout::he_oldClick, true);
    m_w.H1 = command("H1", QStringLiteral("展示或隐藏隐形文件(夹)&H"), &PaneLayout::hha_oldClick, true);
    m_w.H7 = command("H7", QStringLiteral("浏览列表展示或隐藏隐形文件(夹)&H"), &PaneLayout::hha_oldClick, true);
    m_w.S1 = command("S1", QStringLiteral("展示或隐藏系统文件(夹)&S"), &PaneLayout::sr_oldClick, true);
    m_w.S7 = command("S7", QStringLiteral("浏览列表展示或隐藏系统文件(夹)&S"), &PaneLayout::sr_oldClick, true);
    m_w.R1 = command("R1", QStringLiteral("隐藏或展示只读文件&R"), &PaneLayout::ftrClick, true);
    m_w.ftr = command("ftr", QStringLiteral("浏览列表隐藏或展示只读文件&R"), &PaneLayout::ftrClick, true);
    m_w.A1 = command("A1", QStringLiteral("隐藏或展示存档文件(夹)&A"), &PaneLayout::ftaClick, true);
    m_w.fta = command("fta", QStringLiteral("浏览列表隐藏或展示存档文件(夹)&A"), &PaneLayout::ftaClick, true);
    m_w.zkl = command("zkl", QStringLiteral("隐藏或展示状态扩展栏&K"), &PaneLayout::phintClick, true);
    QMenu* menu = m_w.PopupMenu1 = new QMenu(&m_w);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    for (QAction* a : {m_w.B2, m_w.M1, m_w.L1, m_w.D2}) menu->addAction(a);
    menu->addSeparator();
    for (QAction* a : {m_w.N21, m_w.U1, m_w.E1, m_w.H1, m_w.S1, m_w.R1, m_w.A1}) menu->addAction(a);
    connect(menu, &QMenu::aboutToShow, this, &PaneLayout::V2Click);
}

void PaneLayout::connectControls()
{
    onClicked(&m_w, m_w.ToolButton14, this, &PaneLayout::HideFolderClick);
    onRightClicked(&m_w, m_w.ToolButton14, this, &PaneLayout::syjClick);
    onClicked(&m_w, m_w.fv, this, &PaneLayout::fvClick);
    onClicked(&m_w, m_w.shfv, this, &PaneLayout::shfvClick);
    onClicked(&m_w, m_w.Icond, this, &PaneLayout::IcondClick);
    onClicked(&m_w, m_w.phint, this, &PaneLayout::phintClick);
    m_w.shfv->setMenu(m_w.PopupMenu9);
    m_w.shfv->setPopupMode(QToolButton::MenuButtonPopup);
    m_w.Icond->setMenu(m_w.PopupMenu1);
    m_w.Icond->setPopupMode(QToolButton::MenuButtonPopup);
    onRightClickMenu(m_w.shfv, m_w.PopupMenu9);
    onRightClickMenu(m_w.Icond, m_w.PopupMenu1);
}

// --- Which list the tree drives, which lists are shown ---

void PaneLayout::setFv(bool down)
{
    m_w.fv->setChecked(down);
}

void PaneLayout::fvClick()
{
    if (!m_w.treeDrivesListTwo()) {
        m_w.setTreePath(m_w.LsFilelistView281->Directory());
        m_w.listActions().setActiveList(m_w.LsFilelistView281);
        m_w.fv->setText(QStringLiteral("树→一"));
    } else {
        m_w.listActions().setActiveList(m_w.LsFilelistView282);
        m_w.setTreePath(m_w.LsFilelistView282->Directory());
        m_w.fv->setText(QStringLiteral("树→二"));
    }
    shfvClick();
}

void PaneLayout::DirtreeFlist1_oldClick()
{
    setFv(false);
    fvClick();
}

void PaneLayout::DirTreeFList2_oldClick()
{
    setFv(true);
    fvClick();
}

void PaneLayout::shfvClick()
{
    TLsFilelistView28* one = m_w.LsFilelistView281;
    TLsFilelistView28* two = m_w.LsFilelistView282;
    m_w.ScrollBox1->hide();
    const bool driveTwo = m_w.treeDrivesListTwo();
    if (m_w.shfv->isChecked()) {
        for (QAction* a : {m_w.FLVSH1, m_w.HFListV2, m_w.yc1, m_w.yc2})
            a->setChecked(false);
        int width;
        if (m_w.isMaximized())
            width = driveTwo ? 510 : 255;
        else
            width = driveTwo ? 455 : 225;
        two->show();
        one->show();
        // List two is right-aligned with its fixed width; list one takes the rest.
        QSplitter* splitter = m_w.Splitter2;
        const int total = qMax(splitter->width(), width + 50);
        splitter->setSizes({total - width - splitter->handleWidth(), width});
        m_listTwoWidth = width;
    } else {
        if (driveTwo || m_w.FLVSH1->isChecked()) {
            one->hide();
            m_w.FLVSH1->setChecked(true);
            m_w.yc1->setChecked(true);
            two->show();
            m_w.HFListV2->setChecked(false);
            m_w.yc2->setChecked(false);
        }
        if (!driveTwo || m_w.HFListV2->isChecked()) {
            two->hide();
            one->show();
            m_w.FLVSH1->setChecked(false);
            m_w.yc1->setChecked(false);
            m_w.HFListV2->setChecked(true);
            m_w.yc2->setChecked(true);
        }
    }
    m_list1Hidden = m_w.FLVSH1->isChecked();
    m_list2Hidden = m_w.HFListV2->isChecked();
    activateShownList();
}

void PaneLayout::activateShownList()
{
    // A hidden list is never the active one and keeps no selection a command could act on.
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282})
        if (list->isHidden())
            list->clearSelection();
    ListActions& actions = m_w.listActions();
    if (!actions.activeList() || actions.activeList()->isHidden())
        actions.setActiveList(m_w.LsFilelistView281->isHidden() ? m_w.LsFilelistView282 : m_w.LsFilelistView281);
    actions.SetBtnMenuState();
    m_w.showStatistics();
}

void PaneLayout::FLVSH1_oldClick()
{
    // Qt has already toggled whichever item of the pair was clicked; the window's own state decides.
    const bool hidden = !m_list1Hidden;
    m_w.FLVSH1->setChecked(hidden);
    m_w.yc1->setChecked(hidden);
    m_w.shfv->setChecked(!hidden);
    if (hidden) {
        m_w.HFListV2->setChecked(false);
        m_w.yc2->setChecked(false);
        setFv(true);
    }
    m_w.fv->setText(m_w.treeDrivesListTwo() ? QStringLiteral("树→二") : QStringLiteral("树→一"));
    shfvClick();
}

void PaneLayout::HFListV2_oldClick()
{
    const bool hidden = !m_list2Hidden;
    m_w.HFListV2->setChecked(hidden);
    m_w.yc2->setChecked(hidden);
    m_w.shfv->setChecked(!hidden);
    if (hidden) {
        m_w.FLVSH1->setChecked(false);
        m_w.yc1->setChecked(false);
        setFv(false);
    }
    m_w.fv->setText(m_w.treeDrivesListTwo() ? QStringLiteral("树→二") : QStringLiteral("树→一"));
    shfvClick();
}

// --- View options of the driven list ---

void PaneLayout::IcondClick()
{
    TLsFilelistView28* list = m_w.treeDrivenList();
    list->setViewStyle(TViewStyle((int(list->ViewStyle()) + 1) % 4));
}

void PaneLayout::setDrivenViewStyle(int style)
{
    m_w.treeDrivenList()->setViewStyle(TViewStyle(style));
}

void PaneLayout::toggleListAttribute(bool (TLsFilelistView28::*get)() const, void (TLsFilelistView28::*set)(bool),
                                     bool reread)
{
    TLsFilelistView28* list = m_w.treeDrivenList();
    (list->*set)(!(list->*get)());
    if (reread)
        list->UpdateFileList();
    V2Click();
}

void PaneLayout::HideFolderClick()
{
    toggleListAttribute(&TLsFilelistView28::ShowFolders, &TLsFilelistView28::setShowFolders, false);
}

void PaneLayout::syjClick()
{
    toggleListAttribute(&TLsFilelistView28::ParentDirEnabled, &TLsFilelistView28::setParentDirEnabled, true);
}

void PaneLayout::he_oldClick()
{
    toggleListAttribute(&TLsFilelistView28::HideFileExt, &TLsFilelistView28::setHideFileExt, true);
}

void PaneLayout::hha_oldClick()
{
    toggleListAttribute(&TLsFilelistView28::hhf, &TLsFilelistView28::setHhf, true);
}

void PaneLayout::sr_oldClick()
{
    toggleListAttribute(&TLsFilelistView28::hsf, &TLsFilelistView28::setHsf, true);
}

void PaneLayout::toggleFileType(quint32 bit)
{
    TLsFilelistView28* list = m_w.treeDrivenList();
    list->setFileType(list->FileType() ^ bit);
    V2Click();
}

void PaneLayout::ftrClick()
{
    toggleFileType(ftReadOnly);
}

void PaneLayout::ftaClick()
{
    toggleFileType(ftArchive);
}

void PaneLayout::V2Click()
{
    const TLsFilelistView28* list = m_w.treeDrivenList();
    const auto mark = [](std::initializer_list<QAction*> items, bool on) {
        for (QAction* a : items)
            a->setChecked(on);
    };
    mark({m_w.N21, m_w.F8}, !list->ShowFolders());
    mark({m_w.U1, m_w.U3}, !list->ParentDirEnabled());
    mark({m_w.E1, m_w.E6}, list->HideFileExt());
    mark({m_w.R1, m_w.ftr}, !(list->FileType() & ftReadOnly));
    mark({m_w.A1, m_w.fta}, !(list->FileType() & ftArchive));
    mark({m_w.H1, m_w.H7}, !list->hhf());
    mark({m_w.S1, m_w.S7}, !list->hsf());
}

// --- The status extension panel ---

void PaneLayout::phintClick()
{
    for (TLsFilelistView28* list : {m_w.LsFilelistView281, m_w.LsFilelistView282})
        list->setStopa(true);
    // The button and the menu item both flip the one setting.
    m_statusPanelHidden = !m_statusPanelHidden;
    m_w.zkl->setChecked(m_statusPanelHidden);
    m_w.phint->setChecked(m_statusPanelHidden);
    m_w.Panel3->setVisible(!m_statusPanelHidden);
}

} // namespace app
