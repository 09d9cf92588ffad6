#include "tools/process/ProcessWindow.h"
#include "platform/ProcessInfo.h"
#include "platform/Services.h"
#include "tools/process/ProcessListModel.h"
#include "tools/process/engine/ProcessSnapshot.h"
#include "ui/Dialogs.h"
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

using process::ListRow;
using process::ProcessListModel;

namespace {

const QString kAbout = QStringLiteral("进程管理 1.0\r\nOrvo 文件管理器的进程、模块与窗体管理工具。");

// Without an installed service the windows of no display are listed.
plat::IProcessInfo* processInfo()
{
    static plat::LinuxProcessInfo fallback;
    plat::IProcessInfo* info = plat::services().procs;
    return info ? info : &fallback;
}

QTreeView* reportView(QWidget* parent, const char* name, ProcessListModel* model,
                      QAbstractItemView::SelectionMode mode = QAbstractItemView::SingleSelection)
{
    auto* v = new QTreeView(parent);
    v->setObjectName(QString::fromLatin1(name));
    v->setRootIsDecorated(false);
    v->setUniformRowHeights(true);   // thousands of rows lay out without measuring each
    v->setItemsExpandable(false);
    v->setAllColumnsShowFocus(true);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(mode);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setIconSize(QSize(16, 16));
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    v->setModel(model);
    v->header()->setDefaultSectionSize(80);
    v->header()->setStretchLastSection(false);
    return v;
}

QCheckBox* tagBox(QWidget* parent, const char* name, const QString& caption, int tag, const char* hint)
{
    auto* b = new QCheckBox(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setProperty("tag", tag);
    b->setToolTip(QString::fromLatin1(hint));
    return b;
}

} // namespace

TPrcs::TPrcs(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint), m_info(processInfo())
{
    setObjectName(QStringLiteral("Prcs"));
    setWindowTitle(QStringLiteral("进程管理"));
    m_procModel = new ProcessListModel(process::processColumns(), this);
    m_moduleModel = new ProcessListModel(process::moduleColumns(), this);
    m_threadModel = new ProcessListModel(process::threadColumns(), this);
    m_windowModel = new ProcessListModel(process::windowColumns(), this);

    ProList = new QTabWidget(this);
    ProList->setObjectName(QStringLiteral("ProList"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(ProList);
    buildProcessPage();
    buildWindowPage();
    buildOtherPage();
    buildMenus();
    connect(ProList, &QTabWidget::currentChanged, this, [this](int index) {
        if (ProList->widget(index) == TabSheet2)
            TabSheet2Show();
    });

    resize(760, 480);
    if (QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    updateCommands();
}

// The worker only reads /proc and hands nothing to this thread, so waiting for it cannot deadlock.
TPrcs::~TPrcs()
{
    if (m_worker) {
        m_worker->disconnect(this);
        m_worker->wait();
        delete m_worker;
    }
}

void TPrcs::buildProcessPage()
{
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    ProList->addTab(TabSheet1, QStringLiteral("进程列表"));
    auto* split = new QSplitter(Qt::Horizontal, TabSheet1);
    ProcList = reportView(split, "ProcList", m_procModel);
    ModuleList = reportView(split, "ModuleList", m_moduleModel);
    split->addWidget(ProcList);
    split->addWidget(ModuleList);
    ProcList->header()->resizeSection(0, 130);
    ModuleList->header()->resizeSection(1, 220);
    ThreadList = reportView(TabSheet1, "ThreadList", m_threadModel);
    ThreadList->hide();
    auto* l = new QVBoxLayout(TabSheet1);
    l->addWidget(split);
    l->addWidget(ThreadList);
    connect(ProcList, &QAbstractItemView::clicked, this, [this] { ProcListClick(); });
    connect(ProcList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { updateCommands(); });
    connect(ModuleList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { updateCommands(); });
}

void TPrcs::buildWindowPage()
{
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    ProList->addTab(TabSheet2, QStringLiteral("窗体列表"));
    procwin = reportView(TabSheet2, "procwin", m_windowModel, QAbstractItemView::ExtendedSelection);
    procwin->header()->resizeSection(0, 160);
    StyleGroup = new QGroupBox(QStringLiteral("窗体风格"), TabSheet2);
    StyleGroup->setObjectName(QStringLiteral("StyleGroup"));
    StyleGroup->setEnabled(false);
    auto* grid = new QGridLayout(StyleGroup);
    grid->setVerticalSpacing(1);
    const auto& names = process::styleBoxNames();
    for (int i = 0; i < process::kStyleBoxCount; ++i) {
        styleBoxes[size_t(i)] = new QCheckBox(QString::fromLatin1(names[size_t(i)]), StyleGroup);
        styleBoxes[size_t(i)]->setObjectName(QString::fromLatin1(names[size_t(i)]));
        grid->addWidget(styleBoxes[size_t(i)], i % 11, i / 11);
    }
    auto* l = new QHBoxLayout(TabSheet2);
    l->addWidget(procwin, 1);
    l->addWidget(StyleGroup);
    connect(procwin, &QAbstractItemView::clicked, this, [this] { procwinClick(); });
    connect(procwin->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { updateCommands(); });
}

void TPrcs::buildOtherPage()
{
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    ProList->addTab(TabSheet3, QStringLiteral("其它项目"));
    const QString captions[] = {QStringLiteral("托盘条"), QStringLiteral("托盘通知"), QStringLiteral("开始按钮"),
                                QStringLiteral("任务栏"), QStringLiteral("托盘时钟"), QStringLiteral("桌面图标")};
    auto* hide = new QGroupBox(QStringLiteral("隐藏项目"), TabSheet3);
    auto* lock = new QGroupBox(QStringLiteral("锁定项目"), TabSheet3);
    const struct {
        QCheckBox** box;
        const char* name;
        const char* hint;
    } hides[] = {{&HWE, "HWE", "Hide the whole\nTaskbar"},
                 {&HTrayNotify, "HTrayNotify", "Hide the tray\nnotification area"},
                 {&HStartButton, "HStartButton", "Hide the\nStart button"},
                 {&HAppSwitchBar, "HAppSwitchBar", "Hide the task\nbuttons"},
                 {&HTrayClock, "HTrayClock", "Hide the clock\non the taskbar"},
                 {&HDesktopIcons, "HDesktopIcons", "Hide the\ndesktop icons"}},
      locks[] = {{&DWE, "DWE", "Disable the whole\nTaskbar"},
                 {&dtn, "dtn", "Disable the tray\nnotification area"},
                 {&dsb, "dsb", "Disable the\nStart button"},
                 {&dasb, "dasb", "Disable the task\nbuttons"},
                 {&dtc, "dtc", "Disable the clock\non the taskbar"},
                 {&ddi, "ddi", "Disable the\ndesktop icons"}};
    auto* hl = new QVBoxLayout(hide);
    auto* ll = new QVBoxLayout(lock);
    for (int tag = 0; tag < 6; ++tag) {
        QCheckBox* h = *hides[tag].box = tagBox(hide, hides[tag].name, captions[tag], tag, hides[tag].hint);
        QCheckBox* d = *locks[tag].box = tagBox(lock, locks[tag].name, captions[tag], tag, locks[tag].hint);
        hl->addWidget(h);
        ll->addWidget(d);
        connect(h, &QCheckBox::clicked, this, [this, h] { HWEClick(h); });
        connect(d, &QCheckBox::clicked, this, [this, d] { DWEClick(d); });
    }
    hl->addStretch();
    ll->addStretch();
    auto* l = new QHBoxLayout(TabSheet3);
    l->addWidget(hide);
    l->addWidget(lock);
}

void TPrcs::buildMenus()
{
    const auto item = [this](QMenu* menu, const char* name, const QString& caption, void (TPrcs::*handler)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return a;
    };
    processMenu = new QMenu(this);
    terminate_old = item(processMenu, "terminate_old", QStringLiteral("终止进程"), &TPrcs::terminate_oldClick);
    Refesh_old = item(processMenu, "Refesh_old", QStringLiteral("刷新"), &TPrcs::Refesh_oldClick);
    processMenu->addSeparator();
    About1_old = item(processMenu, "About1_old", QStringLiteral("关于"), &TPrcs::About1_oldClick);
    Close1_old = item(processMenu, "Close1_old", QStringLiteral("关闭"), &TPrcs::Close1_oldClick);

    moduleMenu = new QMenu(this);
    Free_old = item(moduleMenu, "Free_old", QStringLiteral("释放"), &TPrcs::Free_oldClick);
    moduleRefresh = item(moduleMenu, "moduleRefresh", QStringLiteral("刷新"), &TPrcs::ProcListClick);
    moduleMenu->addSeparator();
    moduleAbout = item(moduleMenu, "moduleAbout", QStringLiteral("关于"), &TPrcs::About1_oldClick);

    windowMenu = new QMenu(this);
    auto* visibility = new QActionGroup(this);
    allw_old = item(windowMenu, "allw_old", QStringLiteral("全部"), &TPrcs::allw_oldClick);
    visonlyw_old = item(windowMenu, "visonlyw_old", QStringLiteral("活动的"), &TPrcs::visonlyw_oldClick);
    invisonlyw_old = item(windowMenu, "invisonlyw_old", QStringLiteral("非活动的"), &TPrcs::invisonlyw_oldClick);
    for (QAction* a : {allw_old, visonlyw_old, invisonlyw_old}) {
        a->setCheckable(true);
        visibility->addAction(a);
    }
    visonlyw_old->setChecked(true);
    windowMenu->addSeparator();
    Emptyw_old = item(windowMenu, "Emptyw_old", QStringLiteral("空的"), &TPrcs::Emptyw_oldClick);
    taskBarStylew_old = item(windowMenu, "taskBarStylew_old", QStringLiteral("任务条风格"), &TPrcs::taskBarStylew_oldClick);
    Emptyw_old->setCheckable(true);
    taskBarStylew_old->setCheckable(true);
    taskBarStylew_old->setChecked(true);
    windowMenu->addSeparator();
    Refresh1_old = item(windowMenu, "Refresh1_old", QStringLiteral("刷新"), &TPrcs::Refresh1_oldClick);
    Switchto1_old = item(windowMenu, "Switchto1_old", QStringLiteral("切换到"), &TPrcs::Switchto1_oldClick);
    TerminateProcess1_old = item(windowMenu, "TerminateProcess1_old", QStringLiteral("关闭窗体"),
                                 &TPrcs::TerminateProcess1_oldClick);
    windowMenu->addSeparator();
    windowAbout = item(windowMenu, "windowAbout", QStringLiteral("关于"), &TPrcs::About1_oldClick);
    windowClose = item(windowMenu, "windowClose", QStringLiteral("关闭"), &TPrcs::Close1_oldClick);

    const struct {
        QTreeView* view;
        QMenu* menu;
    } menus[] = {{ProcList, processMenu}, {ModuleList, moduleMenu}, {procwin, windowMenu}};
    for (const auto& m : menus) {
        QTreeView* view = m.view;
        QMenu* menu = m.menu;
        connect(view, &QWidget::customContextMenuRequested, this, [this, view, menu](const QPoint& pos) {
            updateCommands();
            menu->popup(view->viewport()->mapToGlobal(pos));
        });
    }
}

// The commands on a row are enabled when a row is selected.
void TPrcs::updateCommands()
{
    terminate_old->setEnabled(ProcList->selectionModel()->hasSelection());
    Free_old->setEnabled(ModuleList->selectionModel()->hasSelection());
    const bool window = procwin->selectionModel()->hasSelection();
    Switchto1_old->setEnabled(window);
    TerminateProcess1_old->setEnabled(window);
}

process::WindowOptions TPrcs::windowOptions() const
{
    process::WindowOptions o;
    o.visibility = allw_old->isChecked()       ? process::Visibility::All
                   : invisonlyw_old->isChecked() ? process::Visibility::InvisibleOnly
                                                 : process::Visibility::VisibleOnly;
    o.empty = Emptyw_old->isChecked();
    o.taskBarStyle = taskBarStylew_old->isChecked();
    return o;
}

int TPrcs::selectedRow(QTreeView* view) const
{
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TPrcs::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

// --- Processes ---

void TPrcs::FormShow()
{
    listProcesses();
}

// The module and thread lists are cleared at once; the snapshot is read on a worker and replaces the
// process rows in one reset. A refresh asked for while one runs reads again once it ends.
void TPrcs::listProcesses()
{
    m_moduleModel->clear();
    m_threadModel->clear();
    if (m_worker) {
        m_listAgain = true;
        return;
    }
    m_worker = new process::ProcessSnapshotThread(*m_info);
    connect(m_worker, &QThread::finished, this, &TPrcs::snapshotRead, Qt::QueuedConnection);
    m_worker->start();
}

void TPrcs::snapshotRead()
{
    if (!m_worker)
        return;
    m_worker->wait();   // finished is sent just before the thread ends
    QVector<ListRow> rows = m_worker->takeRows();
    delete m_worker;
    m_worker = nullptr;
    if (m_listAgain) {
        m_listAgain = false;
        listProcesses();
        return;
    }
    m_procModel->setRows(std::move(rows));
    updateCommands();
    Q_EMIT processesListed();
}

void TPrcs::Refesh_oldClick()
{
    listProcesses();
}

void TPrcs::ProcListClick()
{
    const int row = selectedRow(ProcList);
    if (row < 0) {
        m_moduleModel->clear();
    } else {
        // A process that has ended meanwhile has no modules.
        m_moduleModel->setRows(process::moduleRows(*m_info, m_procModel->cell(row, 1).toUInt()));
    }
    updateCommands();
}

void TPrcs::terminate_oldClick()
{
    const int row = selectedRow(ProcList);
    if (row < 0)
        return;
    const QString name = m_procModel->cell(row, 0);
    const quint32 pid = m_procModel->cell(row, 1).toUInt();
    if (ui::Dialogs::get().question(this, QStringLiteral("真的要终止“") + name + QStringLiteral("”进程吗?"))
        != ui::Dialogs::Yes)
        return;
    if (!m_info->terminate(pid))
        ui::Dialogs::get().error(this, QStringLiteral("未能找到选择的进程!"));
    listProcesses();
}

void TPrcs::About1_oldClick()
{
    ui::Dialogs::get().message(this, kAbout);
}

void TPrcs::Close1_oldClick()
{
    close();
}

// Unloading a library from this program is always refused: a base address read from another process
// would name an arbitrary module of ours.
void TPrcs::Free_oldClick()
{
    const int row = selectedRow(ModuleList);
    if (row < 0)
        return;
    const QString name = m_moduleModel->cell(row, 0);
    if (ui::Dialogs::get().question(this, QStringLiteral("真的要释放“") + name + QStringLiteral("”模块吗?"))
        != ui::Dialogs::Yes)
        return;
    ui::Dialogs::get().error(this, QStringLiteral("不能释放选择的模块!"));
}

// --- Windows ---

void TPrcs::TabSheet2Show()
{
    listWindows();
}

void TPrcs::listWindows()
{
    m_windowModel->setRows(process::windowRows(*m_info, windowOptions()));
    updateCommands();
}

void TPrcs::allw_oldClick()
{
    listWindows();
}

void TPrcs::visonlyw_oldClick()
{
    listWindows();
}

void TPrcs::invisonlyw_oldClick()
{
    listWindows();
}

void TPrcs::Emptyw_oldClick()
{
    listWindows();
}

void TPrcs::taskBarStylew_oldClick()
{
    listWindows();
}

void TPrcs::Refresh1_oldClick()
{
    listWindows();
}

void TPrcs::procwinClick()
{
    const QModelIndexList rows = procwin->selectionModel()->selectedRows();
    if (rows.size() != 1)
        return;
    const auto ticks = process::styleBoxes(quint32(m_windowModel->cell(rows.first().row(), 5).toInt()));
    for (size_t i = 0; i < ticks.size(); ++i)
        styleBoxes[i]->setChecked(ticks[i]);
}

void TPrcs::Switchto1_oldClick()
{
    const int row = selectedRow(procwin);
    if (row >= 0)
        m_info->activateWindow(m_windowModel->cell(row, 6).toUInt());
}

void TPrcs::TerminateProcess1_oldClick()
{
    const int row = selectedRow(procwin);
    if (row < 0)
        return;
    const QString title = m_windowModel->cell(row, 0);
    const quint32 pid = m_windowModel->cell(row, 2).toUInt();
    if (ui::Dialogs::get().question(this, QStringLiteral("真的要关闭“") + title + QStringLiteral("”窗体吗？"))
        != ui::Dialogs::Yes)
        return;
    if (!m_info->terminate(pid))
        ui::Dialogs::get().error(this, QStringLiteral("不能找到选择的窗体！"));
    listWindows();
}

// --- Hide and lock ---

// The boxes act on the shell's task bar, tray, start button, clock and desktop icon windows by their
// tag. Linux desktops have none of these windows, so the lookups find nothing and the boxes only keep
// their tick.
void TPrcs::HWEClick(QCheckBox*) {}

void TPrcs::DWEClick(QCheckBox*) {}
