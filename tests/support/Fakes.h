#pragma once
#include "platform/Hotkeys.h"
#include "platform/Instances.h"
#include "platform/Launcher.h"
#include "platform/Services.h"
#include "platform/Volumes.h"
#include <QList>
#include <QMap>
#include <QUrl>
#include <vector>

namespace test {

// Records posted messages; delivers a post to this instance's own onMessage synchronously.
class FakeInstances : public plat::IInstances {
public:
    int takeSlot() override;
    int slot() const override { return m_slot; }
    bool slotTaken(int n) override { return taken.contains(n) || n == m_slot; }
    void post(int message) override;
    void release() override { m_slot = 0; }
    QList<int> taken;          // slots held by "other" instances
    std::vector<int> posted;
private:
    int m_slot = 0;
};

class FakeHotkeys : public plat::IHotkeys {
public:
    bool registerKey(int id, Qt::KeyboardModifiers mods, int key) override;
    void unregisterKey(int id) override { registered.remove(id); }
    bool isRegistered(int id) const override { return registered.contains(id); }
    bool refuseAll = false;    // behave like a display without X11
    QMap<int, QPair<int, int>> registered;   // id -> (modifiers, key)
};

struct LaunchCall {
    QString program;
    QStringList args;
    QString workDir;
};

class FakeLauncher : public plat::ILauncher {
public:
    bool startDetached(const QString& program, const QStringList& args, const QString& workDir) override;
    bool openUrl(const QUrl& url) override;
    bool showFolders(const QUrl& folder) override;
    bool showItemProperties(const QUrl& item) override;
    QString defaultHandler(const QString& mimeType) override;
    bool result = true;
    bool fileManager = false;             // whether a desktop file manager answers on the bus
    QMap<QString, QString> handlers;      // MIME type -> desktop entry
    std::vector<LaunchCall> started;
    std::vector<QUrl> opened;
    std::vector<QUrl> shownFolders;       // asked of the file manager, answered or not
    std::vector<QUrl> shownProperties;
};

class FakeVolumes : public plat::IVolumes {
public:
    QList<plat::Volume> list() override { return volumes; }
    qint64 availableBytes(const QString&) override { return available; }
    QList<plat::Volume> volumes;
    qint64 available = 0;
};

// The current services with the volumes replaced, for plat::ScopedServices.
inline plat::Services withVolumes(plat::IVolumes* volumes)
{
    plat::Services s = plat::services();
    s.volumes = volumes;
    return s;
}

// The current services with the file system replaced, for plat::ScopedServices.
inline plat::Services withFileSystem(plat::IFileSystem* fs)
{
    plat::Services s = plat::services();
    s.fs = fs;
    return s;
}

} // namespace test
