#include "support/Fakes.h"

namespace test {

int FakeInstances::takeSlot()
{
    for (int n = 1; n <= plat::kMaxInstances; ++n)
        if (!taken.contains(n))
            return m_slot = n;
    return m_slot = 0;
}

void FakeInstances::post(int message)
{
    posted.push_back(message);
    if (onMessage)
        onMessage(message);
}

bool FakeHotkeys::registerKey(int id, Qt::KeyboardModifiers mods, int key)
{
    if (refuseAll)
        return false;
    registered.insert(id, {int(mods), key});
    return true;
}

bool FakeLauncher::startDetached(const QString& program, const QStringList& args, const QString& workDir)
{
    started.push_back({program, args, workDir});
    return result;
}

bool FakeLauncher::openUrl(const QUrl& url)
{
    opened.push_back(url);
    return result;
}

bool FakeLauncher::showFolders(const QUrl& folder)
{
    shownFolders.push_back(folder);
    return fileManager;
}

bool FakeLauncher::showItemProperties(const QUrl& item)
{
    shownProperties.push_back(item);
    return fileManager;
}

QString FakeLauncher::defaultHandler(const QString& mimeType)
{
    return handlers.value(mimeType);
}

} // namespace test
