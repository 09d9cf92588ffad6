#pragma once
#include <QString>
#include <QStringList>

namespace fileops {

// The recycle bin: the freedesktop.org trash. Items on the home file system go to the home trash
// ($XDG_DATA_HOME/Trash), items elsewhere to $topdir/.Trash/$uid or $topdir/.Trash-$uid of their volume.
class TrashCan {
public:
    // The home trash folder; a relative or empty XDG_DATA_HOME is ignored (then ~/.local/share).
    static QString homeTrash();
    // Its files/ folder, where the trashed items lie; created when missing.
    static QString homeTrashFiles();
    // Moves one item (a link as a link) into the trash of its file system with its .trashinfo record.
    // Returns 0 or an errno value; the item is untouched on failure.
    static int trash(const QString& path, QString* trashedAs = nullptr);
    // Every trash folder of this user that exists: the home trash and those of the mounted volumes.
    static QStringList trashFolders();
    // Removes everything in files/, info/, expunged/ and the directorysizes file of every trash folder.
    // Links are removed, never followed; errors are ignored.
    static void emptyAll();
    // Opens the recycle bin in the user's file manager.
    static void openInFileManager();
};

} // namespace fileops
