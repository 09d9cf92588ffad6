#include "platform/Launcher.h"
#include <QProcess>
#include <QStandardPaths>

namespace plat {

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

} // namespace plat
