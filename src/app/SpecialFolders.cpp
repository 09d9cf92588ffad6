#include "app/SpecialFolders.h"
#include "app/CdDoors.h"
#include "app/Commands.h"
#include "app/Orvo.h"
#include "app/ProgramCommands.h"
#include "fileops/engine/Delete.h"
#include "foldertree/ShellTree.h"
#include "foldertree/engine/ShellNamespace.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include <QMenu>
#include <QMenuBar>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>

namespace app {

namespace {

enum SpecialId { kDesktop = 0, kControls = 3, kDocuments = 5, kFavourites = 6, kRecycleBin = 10, kNetwork = 18 };

QString displayName(int id)
{
    switch (id) {
    case kDesktop: return QStringLiteral("桌面");
    case kControls: return QStringLiteral("控制面板");
    case kDocuments: return QStringLiteral("我的文档");
    case kFavourites: return QStringLiteral("收藏夹");
    case kRecycleBin: return QStringLiteral("回收站");
    case kNetwork: return QStringLiteral("网上邻居");
    default: return QString();
    }
}

SpecialFolderTarget folderTarget(QStandardPaths::StandardLocation location)
{
    const QString dir = QStandardPaths::writableLocation(location);
    if (dir.isEmpty() || !plat::path::isDirectory(dir))
        return {SpecialFolderTarget::Missing, dir};
    return {SpecialFolderTarget::Folder, dir};
}

// The desktops' settings programs, in the order they are tried.
constexpr const char* kSettingsPrograms[] = {"gnome-control-center", "systemsettings", "xfce4-settings-manager",
                                             "mate-control-center", "cinnamon-settings", "lxqt-config"};

QString missingText(int id, const QString& folder)
{
    const QString name = QStringLiteral("“") + displayName(id) + QStringLiteral("”");
    if (!folder.isEmpty())
        return name + QStringLiteral("文件夹不存在：\n") + folder;
    return name + QStringLiteral("在这个桌面环境中不存在。");
}

} // namespace

SpecialFolders::SpecialFolders(TOrvo& window) : QObject(&window), m_w(window) {}

void SpecialFolders::createCommands()
{
    const auto command = [this](const char* name, const char* caption, void (SpecialFolders::*handler)()) {
        return newCommand(&m_w, this, name, QString::fromUtf8(caption), handler);
    };
    m_w.E3 = command("E3", "桌面&E", &SpecialFolders::desktopClick);
    m_w.E7 = command("E7", "桌面&E", &SpecialFolders::desktopClick);
    m_w.A4 = command("A4", "控制面板&A", &SpecialFolders::controlPanelClick);
    m_w.A14 = command("A14", "控制面板&B", &SpecialFolders::controlPanelClick);
    m_w.B4 = command("B4", "我的文档&B", &SpecialFolders::documentsClick);
    m_w.B10 = command("B10", "我的文档&A", &SpecialFolders::documentsClick);
    m_w.F2 = command("F2", "收藏夹&F", &SpecialFolders::favouritesClick);
    m_w.F10 = command("F10", "收藏夹&F", &SpecialFolders::favouritesClick);
    m_w.D5 = command("D5", "回收站&D", &SpecialFolders::recycleBinClick);
    m_w.D12 = command("D12", "回收站&D", &SpecialFolders::recycleBinClick);
    m_w.C3 = command("C3", "网上邻居&C", &SpecialFolders::networkClick);
    m_w.C11 = command("C11", "网上邻居&C", &SpecialFolders::networkClick);
}

SpecialFolderTarget SpecialFolders::target(int id)
{
    switch (id) {
    case kDesktop: return folderTarget(QStandardPaths::DesktopLocation);
    case kDocuments: return folderTarget(QStandardPaths::DocumentsLocation);
    case kControls:
        for (const char* name : kSettingsPrograms) {
            const QString path = QStandardPaths::findExecutable(QLatin1String(name));
            if (!path.isEmpty())
                return {SpecialFolderTarget::Program, path};
        }
        return {};
    case kRecycleBin: return {SpecialFolderTarget::Trash, QStringLiteral("trash:///")};
    case kNetwork: {
        // xdg-open starts whether or not anything handles "network:", so ask for a handler first.
        plat::ILauncher* launcher = plat::services().launcher;
        if (launcher && !launcher->defaultHandler(QStringLiteral("x-scheme-handler/network")).isEmpty())
            return {SpecialFolderTarget::Url, QStringLiteral("network:///")};
        return {};
    }
    default: return {};   // favourites and anything else: nothing of the kind on this desktop
    }
}

void SpecialFolders::open(QWidget* window, int id)
{
    const SpecialFolderTarget t = target(id);
    plat::ILauncher* launcher = plat::services().launcher;
    // Launch failures are not reported; only a place the desktop does not have is.
    switch (t.kind) {
    case SpecialFolderTarget::Folder: plat::exploreFolder(t.target); break;
    case SpecialFolderTarget::Program:
        if (launcher)
            launcher->startDetached(t.target, {});
        break;
    case SpecialFolderTarget::Url:
        if (launcher)
            launcher->openUrl(QUrl(t.target));
        break;
    case SpecialFolderTarget::Trash: fileops::openRecycleBin(); break;
    case SpecialFolderTarget::Missing:
        ui::Dialogs::get().info(window, missingText(id, t.target), QStringLiteral("提示"));
        break;
    }
}

void SpecialFolders::gotoInTree(TOrvo& window, TPidls pidl)
{
    if (!plat::ShellNamespace::special(pidl)) {
        ui::Dialogs::get().info(&window, QStringLiteral("这个特定路径在这个桌面环境中不存在。"), QStringLiteral("提示"));
        return;
    }
    window.ShellTree1->GotoSpecialFolder(pidl);
}

void SpecialFolders::desktopClick() { open(&m_w, kDesktop); }
void SpecialFolders::controlPanelClick() { open(&m_w, kControls); }
void SpecialFolders::documentsClick() { open(&m_w, kDocuments); }
void SpecialFolders::favouritesClick() { open(&m_w, kFavourites); }
void SpecialFolders::recycleBinClick() { open(&m_w, kRecycleBin); }
void SpecialFolders::networkClick() { open(&m_w, kNetwork); }

void createExtensionCommands(TOrvo& w, QMenuBar* bar, QMenu* before, QMenu* help)
{
    auto* folders = new SpecialFolders(w);
    auto* doors = new CdDoors(w);
    auto* programs = new ProgramCommands(w);
    folders->createCommands();
    doors->createCommands();
    programs->createCommands();
    w.P8 = new QMenu(QStringLiteral("扩展&K"), bar);
    w.P8->setObjectName(QStringLiteral("P8"));
    bar->insertMenu(before->menuAction(), w.P8);
    for (QAction* a : {w.E3, w.B4, w.A4, w.C3, w.D5, w.F2})
        w.P8->addAction(a);
    w.P8->addSeparator();
    for (QAction* a : {w.E4, w.R8, w.LumoW1})
        w.P8->addAction(a);
    w.P8->addSeparator();
    w.P8->addAction(w.cdrom);
    help->addSeparator();
    help->addAction(w.B7);
    help->addAction(w.A9);
}

void connectExtensionControls(TOrvo& w)
{
    w.cd = new QToolButton;
    w.cd->setObjectName(QStringLiteral("cd"));
    w.cd->setText(QStringLiteral("光驱"));
    w.cd->setToolTip(QStringLiteral("打开或关闭光驱，右键..."));
    w.cd->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    w.cd->setIconSize(QSize(22, 22));
    w.ToolBar1->addWidget(w.cd);
    if (auto* doors = w.findChild<CdDoors*>(QString(), Qt::FindDirectChildrenOnly))
        doors->connectControls();
    if (w.PopupMenu5) {
        w.PopupMenu5->addSeparator();
        for (QAction* a : {w.E7, w.B10, w.A14, w.C11, w.D12, w.F10})
            w.PopupMenu5->addAction(a);
        w.PopupMenu5->addSeparator();
        w.PopupMenu5->addAction(w.LumoW2);
    }
}

} // namespace app
