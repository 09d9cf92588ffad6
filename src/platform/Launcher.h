#pragma once
#include <QString>
#include <QStringList>
#include <QUrl>

namespace plat {

// Starts programs with argument vectors only; never through a shell command line.
class ILauncher {
public:
    virtual ~ILauncher() = default;
    virtual bool startDetached(const QString& program, const QStringList& args, const QString& workDir = QString()) = 0;
    virtual bool openUrl(const QUrl& url) = 0;   // xdg-open; false when it cannot be started
};

class LinuxLauncher : public ILauncher {
public:
    bool startDetached(const QString& program, const QStringList& args, const QString& workDir) override;
    bool openUrl(const QUrl& url) override;
};

} // namespace plat
