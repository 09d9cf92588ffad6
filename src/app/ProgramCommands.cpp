#include "app/ProgramCommands.h"
#include "app/AboutWindow.h"
#include "app/Commands.h"
#include "app/Orvo.h"
#include "app/PathBar.h"
#include "app/SettingsStore.h"
#include "app/ToolLauncher.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace app {

namespace {

const QString kBrowser = QStringLiteral("Lumo浏览器");

} // namespace

QString readmePath(const QString& programFolder)
{
    const QString dir = programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    for (const QString& p : QStringList{dir + QStringLiteral("/README.md"), dir + QStringLiteral("/../share/doc/orvo/README.md")}) {
        if (QFileInfo(p).isFile())
            return QDir::cleanPath(p);
    }
    return {};
}

ProgramCommands::ProgramCommands(TOrvo& window) : QObject(&window), m_w(window) {}

void ProgramCommands::createCommands()
{
    const auto command = [this](const char* name, const QString& caption, void (ProgramCommands::*handler)()) {
        return newCommand(&m_w, this, name, caption, handler);
    };
    m_w.LumoW1 = command("LumoW1", QStringLiteral("Lumo浏览器&W"), &ProgramCommands::LumoW1Click);
    m_w.LumoW2 = command("LumoW2", QStringLiteral("Lumo浏览器&W"), &ProgramCommands::LumoW1Click);
    m_w.R8 = command("R8", QStringLiteral("注册表编辑&R"), &ProgramCommands::R8Click);
    m_w.B7 = command("B7", QStringLiteral("查看最新版本&B"), &ProgramCommands::B7Click);
    m_w.A9 = command("A9", QStringLiteral("关于&A"), &ProgramCommands::A9Click);
    m_w.E4 = newCommand(&m_w, &m_w.pathBar(), "E4", QStringLiteral("资源管理器&E"), &PathBar::CustomItem44Click);
}

void ProgramCommands::LumoW1Click()
{
    if (startCompanion(kBrowser))
        return;
    const QString folder = plat::path::withTrailingSep(QCoreApplication::applicationDirPath());
    ui::Dialogs::get().message(&m_w, QStringLiteral("“Lumo浏览器.exe”文件不存在") + folder + QStringLiteral("！"));
}

// The settings file opens in the user's editor; failures are silent.
void ProgramCommands::R8Click()
{
    if (plat::ILauncher* launcher = plat::services().launcher)
        launcher->openUrl(QUrl::fromLocalFile(SettingsStore::iniPath()));
}

// There is no web page to visit: the README that comes with the program takes its place. Nothing happens
// when it was not installed.
void ProgramCommands::B7Click()
{
    const QString readme = readmePath();
    if (readme.isEmpty())
        return;
    const QUrl url = QUrl::fromLocalFile(readme);
    if (startCompanion(kBrowser, {url.toString()}))
        return;
    if (plat::ILauncher* launcher = plat::services().launcher)
        launcher->openUrl(url);
}

void ProgramCommands::A9Click()
{
    TAboutBox::showModal(&m_w);
}

} // namespace app
