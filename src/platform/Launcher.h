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
    // The desktop's file manager on the session bus (org.freedesktop.FileManager1); false when none answers.
    virtual bool showFolders(const QUrl& folder) { return false; }
    virtual bool showItemProperties(const QUrl& item) { return false; }
    // The desktop entry that opens `mimeType` ("inode/directory", "x-scheme-handler/trash"); empty when none.
    virtual QString defaultHandler(const QString& mimeType) { return {}; }
};

class LinuxLauncher : public ILauncher {
public:
    bool startDetached(const QString& program, const QStringList& args, const QString& workDir) override;
    bool openUrl(const QUrl& url) override;
    bool showFolders(const QUrl& folder) override;
    bool showItemProperties(const QUrl& item) override;
    QString defaultHandler(const QString& mimeType) override;
};

// The desktop entry Orvo writes so file managers offer it for folders; "explore" never opens through it.
inline constexpr char kFolderHandlerEntry[] = "orvo-folder.desktop";

// Opens `folder` in the desktop's file manager: over D-Bus, else with the folder handler unless that is Orvo
// itself. False when nothing could show it.
bool exploreFolder(const QString& folder);

// Opens the recycle bin: the file manager over D-Bus, else the "trash:" handler, else the folder `trashFiles`.
bool exploreTrash(const QString& trashFiles);

} // namespace plat
