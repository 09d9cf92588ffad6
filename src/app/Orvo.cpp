// Life cycle of the main window: creation, command line, hotkeys, instance messages, close and restart.
#include "app/Orvo.h"
#include "app/AttributeCommands.h"
#include "app/FilterBar.h"
#include "app/ListActions.h"
#include "app/PaneLayout.h"
#include "app/PathBar.h"
#include "app/ToolLauncher.h"
#include "filelist/FileListView.h"
#include "foldertree/ShellTree.h"
#include "platform/Hotkeys.h"
#include "platform/Instances.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "ui/Dialogs.h"
#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include "ui/IconTheme.h"
#include <QApplication>
#include <QCoreApplication>
#include <QLayout>
#include <QScreen>
#include <QStandardPaths>
#include <exception>

// A literal: another file's static may not be initialised yet when this one is.
const QString TOrvo::kCaption = QStringLiteral("Orvo 文件管理器");

namespace {

struct HotkeyRow {
    int id;
    Qt::KeyboardModifiers mods;
    int key;
};

// In the order the handler compares them.
constexpr HotkeyRow kHotkeys[] = {
    {TOrvo::kHotkeySearch, Qt::ControlModifier, Qt::Key_F2},
    {TOrvo::kHotkeyProcesses, Qt::ControlModifier, Qt::Key_F1},
    {TOrvo::kHotkeyShowHide, Qt::ControlModifier, Qt::Key_F3},
    {TOrvo::kHotkeyMd5, Qt::AltModifier, Qt::Key_F5},
};

} // namespace

TOrvo::TOrvo(const QStringList& args, QWidget* parent)
    : QMainWindow(parent),
      m_pathBar(std::make_unique<app::PathBar>(*this)),
      m_filterBar(std::make_unique<app::FilterBar>(*this)),
      m_listActions(std::make_unique<app::ListActions>(*this)),
      m_toolLauncher(std::make_unique<app::ToolLauncher>(*this)),
      m_paneLayout(std::make_unique<app::PaneLayout>(*this)),
      m_attributeCommands(std::make_unique<app::AttributeCommands>(*this))
{
    setObjectName(QStringLiteral("Orvo"));
    setWindowTitle(kCaption);
    ui::setUpIconTheme();   // before the controls take their icons
    for (QTimer* t : {&Timer1, &Timer2, &Timer3, &Timer4})
        t->setSingleShot(true);
    Timer1.setInterval(50);
    Timer2.setInterval(100);
    Timer3.setInterval(50);
    Timer4.setInterval(50);
    buildMenus();
    buildPanes();
    // The shrink command makes the window smaller than its contents would ask for.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(1, 1);
    resize(kClientWidth, kClientHeight);
    if (const QScreen* s = screen()) {
        const QRect area = s->availableGeometry();
        move(area.center() - QPoint(kClientWidth / 2, kClientHeight / 2));
    }
    // The tree starts at the desktop folder (or the nearest folder above it that exists).
    ShellTree1->ensureBuilt();
    setTreePath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    FormCreate(args);
}

TOrvo::~TOrvo()
{
    FormDestroy();
}

void TOrvo::FormCreate(const QStringList& args)
{
    for (QTimer* t : {&Timer1, &Timer2, &Timer3, &Timer4})
        t->stop();
    m_lastDropResult = 0;
    registerHotkeys();
    if (plat::IInstances* inst = plat::services().instances)
        inst->onMessage = [this](int message) {
            try {
                handleInstanceMessage(message);
            } catch (const std::exception& e) {
                ui::Dialogs::get().error(this, QString::fromUtf8(e.what()));
            }
        };

    LsFilelistView281->setDirectory(treePath());
    LsFilelistView282->setDirectory(treePath());
    pathbox->setEditText(LsFilelistView281->Directory());
    m_targetFolder = pathbox->currentText();

    loadSettings();
    m_paneLayout->shfvClick();   // only the tree-driven list is shown at start
    processSwitches(args);
    openPathArgument(args);
}

void TOrvo::registerHotkeys()
{
    plat::IHotkeys* hk = plat::services().hotkeys;
    if (!hk)
        return;
    hk->registerKey(kHotkeyProcesses, Qt::ControlModifier, Qt::Key_F1);
    hk->registerKey(kHotkeySearch, Qt::ControlModifier, Qt::Key_F2);
    hk->registerKey(kHotkeyShowHide, Qt::ControlModifier, Qt::Key_F3);
    hk->registerKey(kHotkeyMd5, Qt::AltModifier, Qt::Key_F5);
    hk->onHotkey = [this](Qt::KeyboardModifiers mods, int key) { handleHotkey(mods, key); };
}

void TOrvo::unregisterHotkeys()
{
    plat::IHotkeys* hk = plat::services().hotkeys;
    if (!hk)
        return;
    hk->onHotkey = nullptr;
    for (const HotkeyRow& row : kHotkeys)
        hk->unregisterKey(row.id);
}

// --- Command line ---

void TOrvo::processSwitches(const QStringList& args)
{
    // In the order given; "/s" shrinks the window, the others open tools.
    for (const QString& arg : args) {
        const QString lower = arg.toLower();
        if (lower == QLatin1String("/s"))
            S3Click();
        else
            m_toolLauncher->runSwitch(lower);
    }
}

QString TOrvo::pathArgument(const QStringList& args)
{
    return args.join(u' ');
}

void TOrvo::openPathArgument(const QStringList& args)
{
    const QString path = pathArgument(args);
    if (!plat::path::isDirectory(path))
        return;     // not a folder: the lists keep the tree's path
    const QString folder = plat::path::normalizeFolder(path);
    setTreePath(folder);
    LsFilelistView281->setDirectory(folder);
    pathbox->setEditText(LsFilelistView281->Directory());
    m_targetFolder = pathbox->currentText();
}

// --- Hotkeys and instance messages ---

int TOrvo::handleHotkey(Qt::KeyboardModifiers mods, int key)
{
    mods &= Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    for (const HotkeyRow& row : kHotkeys) {
        if (row.mods != mods || row.key != key)
            continue;
        try {
            switch (row.id) {
            case kHotkeySearch: m_toolLauncher->ToolButton30Click(); break;
            case kHotkeyProcesses: m_toolLauncher->ToolButton29Click(); break;
            case kHotkeyMd5: m_toolLauncher->md5WithSelection(); break;
            case kHotkeyShowHide: {
                if (!isVisible()) {
                    show();
                    break;
                }
                // Hide only while the same hotkey can bring the window back.
                const plat::IHotkeys* hk = plat::services().hotkeys;
                if (hk && hk->isRegistered(kHotkeyShowHide))
                    hide();
                break;
            }
            }
        } catch (const std::exception& e) {
            ui::Dialogs::get().error(this, QString::fromUtf8(e.what()));
        }
        return row.id;
    }
    return 0;
}

bool TOrvo::handleInstanceMessage(int message)
{
    if (message == plat::WM_TREE_SUSPEND)
        treeSuspend();
    else if (message == plat::WM_TREE_RESUME)
        treeResume();
    else
        return false;
    return true;
}

void TOrvo::treeSuspend()
{
    // The tree drops its folder nodes and their change monitors.
    ShellTree1->suspend();
}

void TOrvo::treeResume()
{
    ShellTree1->resume();
    const QString dir = treeDrivenList()->Directory();
    setTreePath(dir);
    pathbox->setEditText(dir);
}

// --- Window commands ---

void TOrvo::S3Click()
{
    if (height() <= 50) {
        resize(m_savedSize);
    } else {
        m_savedSize = size();
        resize(150, 50);
    }
}

void TOrvo::Exit1_oldClick()
{
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282})
        list->setStopa(true);
    QCoreApplication::exit(0);
}

bool TOrvo::startOwnExecutable()
{
    const QString text = pathbox->currentText();
    plat::ILauncher* launcher = plat::services().launcher;
    return launcher
        && launcher->startDetached(QCoreApplication::applicationFilePath(),
                                   text.isEmpty() ? QStringList() : QStringList{text}, QString());
}

void TOrvo::OrvoM2Click()
{
    // Free the slot first, so the new instance finds one even when ten are running.
    plat::IInstances* inst = plat::services().instances;
    const bool hadSlot = inst && inst->slot() != 0;
    if (hadSlot)
        inst->release();
    // The new instance reads the path list at once: save it before, not only at destruction.
    if (m_autoPathList)
        m_pathBar->savePathList();
    if (!startOwnExecutable()) {
        // Nothing was started: keep this instance and its slot.
        if (hadSlot)
            inst->takeSlot();
        ui::Dialogs::get().beep();
        return;
    }
    close();
}

void TOrvo::orvowjClick()
{
    if (!startOwnExecutable())
        ui::Dialogs::get().beep();
}

// --- Show, close, destruction ---

void TOrvo::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (!e->spontaneous())
        FormShow();
}

void TOrvo::FormShow()
{
    raise();
    activateWindow();
    if (QWidget* view = LsFilelistView281->currentView())
        view->setFocus();
    else
        LsFilelistView281->setFocus();
}

void TOrvo::FormCloseQuery()
{
    for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282})
        list->setStopa(true);
}

void TOrvo::closeEvent(QCloseEvent* e)
{
    FormCloseQuery();
    e->accept();
    // Tool windows get their own close first, so a running job is cancelled and its partial output removed.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isVisible() && !w->parentWidget())
            w->close();
    }
    // Closing the main window ends the program and every tool window with it.
    QCoreApplication::exit(0);
}

void TOrvo::FormDestroy()
{
    try {
        unregisterHotkeys();
        if (plat::IInstances* inst = plat::services().instances) {
            inst->onMessage = nullptr;
            inst->release();
        }
        if (m_autoPathList)
            m_pathBar->savePathList();
        for (TLsFilelistView28* list : {LsFilelistView281, LsFilelistView282}) {
            list->disconnect(this);
            list->OnItemChange = nullptr;
        }
    } catch (const std::exception&) {
        ui::Dialogs::get().beep();
    }
}
