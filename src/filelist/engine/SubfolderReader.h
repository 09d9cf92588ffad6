#pragma once
#include <QList>
#include <QString>
#include <atomic>

// Reading the sub-folders of one folder for the folder combo's tree: names, whether each has sub-folders
// itself, sorted by name. Safe to run on a worker thread.
namespace filelist {

struct Subfolder {
    QString name;
    bool hasChildren = false;
};

// True when `folder` holds at least one sub-folder (hidden ones count).
bool hasSubfolder(const QString& folder);

// Every sub-folder of `folder` (with or without its trailing '/'), hidden ones included, "." and ".." left
// out, sorted by name (case-insensitive, then case-sensitive). Stops early when `stop` becomes true and
// returns what it has; an unreadable folder gives an empty list.
QList<Subfolder> readSubfolders(const QString& folder, const std::atomic_bool* stop = nullptr);

} // namespace filelist
