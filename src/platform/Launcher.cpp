#include "platform/Launcher.h"
#include "platform/Services.h"
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>

namespace plat {

namespace {

const QString kFileManagerService = QStringLiteral("org.freedesktop.FileManager1");

// Asks the desktop's file manager to run `method` on one URL. Only when the service is running or can be
// started, so a desktop without one costs no waiting; the answer is awaited briefly.
bool callFileManager(const QString& method, const QUrl& url)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusConnectionInterface* iface = bus.interface();
    if (!iface)
        return false;
    bool available = iface->isServiceRegistered(kFileManagerService).value();
    if (!available) {
        const QDBusMessage listing = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListActivatableNames"));
        const QDBusMessage names = bus.call(listing, QDBus::Block, 2000);
        available = names.type() == QDBusMessage::ReplyMessage && !names.arguments().isEmpty()
                    && names.arguments().first().toStringList().contains(kFileManagerService);
    }
    if (!available)
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(kFileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
                                                       kFileManagerService, method);
    call << QStringList{url.toString(QUrl::FullyEncoded)} << QString();
    return bus.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool LinuxLauncher::startDetached(const QString& program, const QStringList& args, const QString& workDir)
{
    return QProcess::startDetached(program, args, workDir);
}

bool LinuxLauncher::openUrl(const QUrl& url)
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        return false;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

bool LinuxLauncher::showFolders(const QUrl& folder)
{
    return callFileManager(QStringLiteral("ShowFolders"), folder);
}

bool LinuxLauncher::showItemProperties(const QUrl& item)
{
    return callFileManager(QStringLiteral("ShowItemProperties"), item);
}

QString LinuxLauncher::defaultHandler(const QString& mimeType)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty())
        return {};
    QProcess query;
    query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return {};
    return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
}

bool exploreFolder(const QString& folder)
{
    ILauncher* launcher = services().launcher;
    if (!launcher || folder.isEmpty())
        return false;
    const QUrl url = QUrl::fromLocalFile(folder);
    if (launcher->showFolders(url))
        return true;
    // The folder handler may be the entry Orvo wrote: opening through it would start Orvo, not explore.
    if (launcher->defaultHandler(QStringLiteral("inode/directory")) == QLatin1String(kFolderHandlerEntry))
        return false;
    return launcher->openUrl(url);
}

bool exploreTrash(const QString& trashFiles)
{
    ILauncher* launcher = services().launcher;
    if (!launcher)
        return false;
    const QUrl trash(QStringLiteral("trash:///"));
    if (launcher->showFolders(trash))
        return true;
    // xdg-open starts even when nothing handles "trash:", so ask for a handler first.
    if (!launcher->defaultHandler(QStringLiteral("x-scheme-handler/trash")).isEmpty() && launcher->openUrl(trash))
        return true;
    return exploreFolder(trashFiles);
}

} // namespace plat
