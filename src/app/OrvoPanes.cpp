// Extension filters, which list the tree drives, which lists are shown, the driven list's view options,
// colours and the status extension panel.
#include "app/ListFile.h"
#include "app/Orvo.h"
#include "filelist/LsFilelistView28.h"
#include "platform/Launcher.h"
#include "platform/PrivateDir.h"
#include "platform/Services.h"
#include "ui/Dialogs.h"
#include <QAction>
#include <QComboBox>
#include <QScrollArea>
#include <QSplitter>
#include <QToolButton>
#include <QUrl>

const QStringList TOrvo::kDefaultFilters = {
    QStringLiteral("*.*"),
    QStringLiteral("*.exe;*.com;*.dll;*.bin;*.bat;*.cmd;*.msi;*.cpl;*.scr;*.int;*.reg;*.tlb;*.ax"),
    QStringLiteral("*.bmp;*.jpg;*.ico;*.cur;*.gif;*.ani;*.tif;*.png;*.pcx;*.psp;*.tga;*.psd;*.pdd"),
    QStringLiteral("*.zip;*.rar;*.cab;*.arj;*.iso;*.jar"),
    QStringLiteral("*.chm;*.htm;*.html;*.mht;*.mhtml;*.htt;*.htz;*.js;*.css;*.vbs;*.msc"),
    QStringLiteral("*.txt;*.ini;*.doc;*.dot;*.xls;*.xlt;*.xla;*.xml;*.wri;*.rtf;*.hlp;*.gid;*.inc"),
    QStringLiteral("*.wav;*.mp3;*.wmv;*.avi;*.mpeg;*.mpg;*.rm;*.rmvb;*.mid;*.cda;*.swf;*.midi;*.ivf"),
    QStringLiteral("*.bak;*.sav;*.old;*.tmp"),
    QStringLiteral("*.sys;*.dos;*.drv;*.vxd;*.cat"),
    QStringLiteral("*.dat;*.pnf;*.pf;*.nls;*.tbl;*.swp;*.def;*.1st"),
    QStringLiteral("*.mdb;*.mde;*.sql;*.db;*.dbf;*.dbt;*.prg;*.mdx"),
    QStringLiteral("*.ime;*.mb;*.ttf;*.ttc;*.fon"),
    QStringLiteral("*.c;*.cpp;*.obj;*.h;*.lib"),
    QStringLiteral("*.cfg;*.dcr;*.res;*.rc"),
    QStringLiteral("*.pas;*.dfm;*.dcu;*.dpr;*.dpk;*.dcp;*.dpl;*.bpl"),
};

// --- Extension filters ---

void TOrvo::Mask1KeyPress()
{
    treeDrivenList()->setMask(Mask1->currentText());
}

void TOrvo::Mask1DblClick()
{
    treeDrivenList()->setMask(Mask1->currentText());
    if (treeHasSelection())
        N17Click();
}

void TOrvo::N17Click()
{
    treeSetFileMask(Mask1->currentText());
}

void TOrvo::N18Click()
{
    LsFilelistView281->setMask(Mask1->currentText());
}

void TOrvo::N19Click()
{
    LsFilelistView282->setMask(Mask1->currentText());
}

void TOrvo::N3Click()
{
    QStringList items;
    for (int i = 0; i < Mask1->count(); ++i)
        items.append(Mask1->itemText(i));
    if (!app::writeListFile(app::kMaskListFile, items))
        ui::Dialogs::get().beep();
}

void TOrvo::N4Click()
{
    const std::optional<QStringList> lines =
        app::listFileExists(app::kMaskListFile) ? app::readListFile(app::kMaskListFile) : std::nullopt;
    if (!lines) {
        ui::Dialogs::get().message(this, QStringLiteral("文件不存在!"));
        return;
    }
    const QString text = Mask1->currentText();
    Mask1->clear();
    Mask1->addItems(*lines);
    Mask1->setCurrentIndex(-1);
    Mask1->setEditText(text);
}

void TOrvo::B1Click()
{
    if (!app::listFileExists(app::kMaskListFile))
        N3Click();
    if (plat::ILauncher* launcher = plat::services().launcher)
        launcher->openUrl(QUrl::fromLocalFile(plat::privateDir() + app::kMaskListFile));
}

void TOrvo::N7Click()
{
    const QString text = Mask1->currentText();
    Mask1->clear();
    Mask1->setEditText(text);
    app::removeListFile(app::kMaskListFile);
}

// --- Which list the tree drives, which lists are shown ---

bool TOrvo::treeDrivesListTwo() const
{
    return fv && fv->isChecked();
}

TLsFilelistView28* TOrvo::treeDrivenList() const
{
    return treeDrivesListTwo() ? LsFilelistView282 : LsFilelistView281;
}

void TOrvo::setFv(bool down)
{
    fv->setChecked(down);
}

void TOrvo::fvClick()
{
    if (!treeDrivesListTwo()) {
        setTreePath(LsFilelistView281->Directory());
        m_active = LsFilelistView281;
        fv->setText(QStringLiteral("树→一"));
    } else {
        m_active = LsFilelistView282;
        setTreePath(LsFilelistView282->Directory());
        fv->setText(QStringLiteral("树→二"));
    }
    shfvClick();
}

void TOrvo::DirtreeFlist1_oldClick()
{
    setFv(false);
    fvClick();
}

void TOrvo::DirTreeFList2_oldClick()
{
    setFv(true);
    fvClick();
}

void TOrvo::shfvClick()
{
    ScrollBox1->hide();
    const bool driveTwo = treeDrivesListTwo();
    if (shfv->isChecked()) {
        for (QAction* a : {FLVSH1, HFListV2, yc1, yc2})
            a->setChecked(false);
        int width;
        if (isMaximized())
            width = driveTwo ? 510 : 255;
        else
            width = driveTwo ? 455 : 225;
        LsFilelistView282->show();
        LsFilelistView281->show();
        // List two is right-aligned with its fixed width; list one takes the rest.
        const int total = qMax(Splitter2->width(), width + 50);
        Splitter2->setSizes({total - width - Splitter2->handleWidth(), width});
        m_listTwoWidth = width;
    } else {
        if (driveTwo || FLVSH1->isChecked()) {
            LsFilelistView281->hide();
            FLVSH1->setChecked(true);
            yc1->setChecked(true);
            LsFilelistView282->show();
            HFListV2->setChecked(false);
            yc2->setChecked(false);
        }
        if (!driveTwo || HFListV2->isChecked()) {
            LsFilelistView282->hide();
            LsFilelistView281->show();
            FLVSH1->setChecked(false);
            yc1->setChecked(false);
            HFListV2->setChecked(true);
            yc2->setChecked(true);
        }
    }
    m_list1Hidden = FLVSH1->isChecked();
    m_list2Hidden = HFListV2->isChecked();
    SetBtnMenuState();
}

void TOrvo::FLVSH1_oldClick()
{
    // Qt has already toggled whichever item of the pair was clicked; the window's own state decides.
    const bool hidden = !m_list1Hidden;
    FLVSH1->setChecked(hidden);
    yc1->setChecked(hidden);
    shfv->setChecked(!hidden);
    if (hidden) {
        HFListV2->setChecked(false);
        yc2->setChecked(false);
        setFv(true);
    }
    fv->setText(treeDrivesListTwo() ? QStringLiteral("树→二") : QStringLiteral("树→一"));
    shfvClick();
}

void TOrvo::HFListV2_oldClick()
{
    const bool hidden = !m_list2Hidden;
    HFListV2->setChecked(hidden);
    yc2->setChecked(hidden);
    shfv->setChecked(!hidden);
    if (hidden) {
        FLVSH1->setChecked(false);
        yc1->setChecked(false);
        setFv(false);
    }
    fv->setText(treeDrivesListTwo() ? QStringLiteral("树→二") : QStringLiteral("树→一"));
    shfvClick();
}

// --- View options of the driven list ---

void TOrvo::IcondClick()
{
    TLsFilelistView28* list = treeDrivenList();
    list->setViewStyle(TViewStyle((int(list->ViewStyle()) + 1) % 4));
}

void TOrvo::setDrivenViewStyle(int style)
{
    treeDrivenList()->setViewStyle(TViewStyle(style));
}

void TOrvo::toggleListAttribute(bool (TLsFilelistView28::*get)() const, void (TLsFilelistView28::*set)(bool),
                                bool reread)
{
    TLsFilelistView28* list = treeDrivenList();
    (list->*set)(!(list->*get)());
    if (reread)
        list->UpdateFileList();
    V2Click();
}

void TOrvo::HideFolderClick()
{
    toggleListAttribute(&TLsFilelistView28::ShowFolders, &TLsFilelistView28::setShowFolders, false);
}

void TOrvo::syjClick()
{
    toggleListAttribute(&TLsFilelistView28::ParentDirEnabled, &TLsFilelistView28::setParentDirEnabled, true);
}

void TOrvo::he_oldClick()
{
    toggleListAttribute(&TLsFilelistView28::HideFileExt, &TLsFilelistView28::setHideFileExt, true);
}

void TOrvo::hha_oldClick()
{
    toggleListAttribute(&TLsFilelistView28::hhf, &TLsFilelistView28::setHhf, true);
}

void TOrvo::sr_oldClick()
{
    toggleListAttribute(&TLsFilelistView28::hsf, &TLsFilelistView28::setHsf, true);
}

void TOrvo::toggleFileType(quint32 bit)
{
    TLsFilelistView28* list = treeDrivenList();
    list->setFileType(list->FileType() ^ bit);
    V2Click();
}

void TOrvo::ftrClick()
{
    toggleFileType(ftReadOnly);
}

void TOrvo::ftaClick()
{
    toggleFileType(ftArchive);
}

void TOrvo::V2Click()
{
    const TLsFilelistView28* list = treeDrivenList();
    const auto mark = [](std::initializer_list<QAction*> items, bool on) {
        for (QAction* a : items)
            a->setChecked(on);
    };
    mark({N21, F8}, !list->ShowFolders());
    mark({U1, U3}, !list->ParentDirEnabled());
    mark({E1, E6}, list->HideFileExt());
    mark({R1, ftr}, !(list->FileType() & ftReadOnly));
    mark({A1, fta}, !(list->FileType() & ftArchive));
    mark({H1, H7}, !list->hhf());
    mark({S1, S7}, !list->hsf());
}

// --- Colours and the status extension panel ---

void TOrvo::ToolButton8Click()
{
    if (ToolButton8->isChecked())
        ColorBoxChange();
}

void TOrvo::ColorBoxChange()
{
    const QVariant data = ColorBox->currentData();
    if (!data.canConvert<QColor>() || ColorBox->currentIndex() < 0)
        return;
    const QColor color = data.value<QColor>();
    if (ToolButton8->isChecked()) {
        m_mainColor = color;
        writeColor(QStringLiteral("OrvoCo"), color);
    }
    if (treeHasSelection()) {
        m_treeColor = color;
        writeColor(QStringLiteral("ShTe"), color);
    }
    if (!LsFilelistView281->selectedRows().isEmpty()) {
        m_list1Color = color;
        writeColor(QStringLiteral("LFV1"), color);
    }
    if (!LsFilelistView282->selectedRows().isEmpty()) {
        m_list2Color = color;
        writeColor(QStringLiteral("LFV2"), color);
    }
    applyColors();
}

void TOrvo::phintClick()
{
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282})
        list->setStopa(true);
    // The button and the menu item both flip the one setting.
    m_statusPanelHidden = !m_statusPanelHidden;
    zkl->setChecked(m_statusPanelHidden);
    phint->setChecked(m_statusPanelHidden);
    Panel3->setVisible(!m_statusPanelHidden);
}
