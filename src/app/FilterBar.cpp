#include "app/FilterBar.h"
#include "app/Commands.h"
#include "app/HistoryFiles.h"
#include "app/Orvo.h"
#include "filelist/FileListView.h"
#include "platform/Launcher.h"
#include "platform/PrivateDir.h"
#include "platform/Services.h"
#include "ui/Dialogs.h"
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QUrl>

namespace app {

const QStringList FilterBar::kDefaultFilters = {
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

FilterBar::FilterBar(TOrvo& window) : m_w(window) {}

void FilterBar::createCommands()
{
    const auto command = [this](const char* name, const QString& caption, void (FilterBar::*handler)()) {
        return newCommand(&m_w, this, name, caption, handler);
    };
    m_w.N17 = command("N17", QStringLiteral("目录树扩展名过滤(&0)"), &FilterBar::N17Click);
    m_w.N18 = command("N18", QStringLiteral("浏览列表一扩展名过滤(&1)"), &FilterBar::N18Click);
    m_w.N19 = command("N19", QStringLiteral("浏览列表二扩展名过滤(&2)"), &FilterBar::N19Click);
    m_w.N3 = command("N3", QStringLiteral("保存列表(&S)"), &FilterBar::N3Click);
    m_w.N4 = command("N4", QStringLiteral("载入列表(&L)"), &FilterBar::N4Click);
    m_w.B1 = command("B1", QStringLiteral("编辑列表(&B)"), &FilterBar::B1Click);
    m_w.N7 = command("N7", QStringLiteral("删除列表(&D)"), &FilterBar::N7Click);
    QMenu* menu = m_w.PopupMenu4 = new QMenu(&m_w);
    menu->setObjectName(QStringLiteral("PopupMenu4"));
    for (QAction* a : {m_w.N17, m_w.N18, m_w.N19}) menu->addAction(a);
    menu->addSeparator();
    for (QAction* a : {m_w.N3, m_w.N4, m_w.B1, m_w.N7}) menu->addAction(a);
}

void FilterBar::connectControls()
{
    QComboBox* box = m_w.Mask1;
    box->setEnabled(true);
    box->setToolTip(QStringLiteral("目录树或浏览列表文件扩展名过滤，鼠标左键双击确定，鼠标右键菜单..."));
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(38);
    box->setCompleter(nullptr);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    box->addItems(kDefaultFilters);
    box->setCurrentIndex(-1);
    // The combo box takes the keys while it has focus and hands them to its line edit directly, so Enter is
    // caught on the box; the line edit still gets the mouse.
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
    box->lineEdit()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(box->lineEdit(), &QWidget::customContextMenuRequested, this,
            [this, box](const QPoint& pos) { m_w.PopupMenu4->popup(box->lineEdit()->mapToGlobal(pos)); });
}

bool FilterBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_w.Mask1 && watched != m_w.Mask1->lineEdit())
        return false;
    const bool enter = event->type() == QEvent::KeyPress
        && (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return
            || static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (enter) {
        guarded(&m_w, [this] { Mask1KeyPress(); });
        return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_w.Mask1->lineEdit()) {
        guarded(&m_w, [this] { Mask1DblClick(); });
        return true;
    }
    return false;
}

void FilterBar::Mask1KeyPress()
{
    m_w.treeDrivenList()->setMask(m_w.Mask1->currentText());
}

void FilterBar::Mask1DblClick()
{
    m_w.treeDrivenList()->setMask(m_w.Mask1->currentText());
    if (m_w.treeHasSelection())
        N17Click();
}

void FilterBar::N17Click()
{
    m_w.treeSetFileMask(m_w.Mask1->currentText());
}

void FilterBar::N18Click()
{
    m_w.LsFilelistView281->setMask(m_w.Mask1->currentText());
}

void FilterBar::N19Click()
{
    m_w.LsFilelistView282->setMask(m_w.Mask1->currentText());
}

void FilterBar::N3Click()
{
    QStringList items;
    for (int i = 0; i < m_w.Mask1->count(); ++i)
        items.append(m_w.Mask1->itemText(i));
    if (!writeListFile(kMaskListFile, items))
        ui::Dialogs::get().beep();
}

void FilterBar::N4Click()
{
    const std::optional<QStringList> lines =
        listFileExists(kMaskListFile) ? readListFile(kMaskListFile) : std::nullopt;
    if (!lines) {
        ui::Dialogs::get().message(&m_w, QStringLiteral("文件不存在!"));
        return;
    }
    QComboBox* box = m_w.Mask1;
    const QString text = box->currentText();
    box->clear();
    box->addItems(*lines);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

void FilterBar::B1Click()
{
    if (!listFileExists(kMaskListFile))
        N3Click();
    if (plat::ILauncher* launcher = plat::services().launcher)
        launcher->openUrl(QUrl::fromLocalFile(plat::privateDir() + kMaskListFile));
}

void FilterBar::N7Click()
{
    const QString text = m_w.Mask1->currentText();
    m_w.Mask1->clear();
    m_w.Mask1->setEditText(text);
    removeListFile(kMaskListFile);
}

} // namespace app
