#pragma once
#include "foldertree/engine/ShellTypes.h"
#include "foldertree/engine/TreeMask.h"
#include "platform/Errors.h"
#include "platform/posix/FileTime.h"
#include <QCollatorSortKey>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace plat {

// An item of the shell namespace: a file-system item (absolute path) or a virtual item (id). The desktop,
// "我的文档" and "回收站" carry both: their id names the special item, their path the folder behind it.
struct ShellItem {
    QString id;     // "desktop", "drives", "network", "controls", "printers", "personal", "bitbucket"; or empty
    QString path;   // no trailing '/' except "/" itself; empty when the item has no file-system path
    bool isNull() const { return id.isEmpty() && path.isEmpty(); }
    bool operator==(const ShellItem&) const = default;
};

// One item as the tree sees it: identity, names, attributes, icons and what sorting needs.
struct ShellEntry {
    ShellItem item;
    QString key;            // identifier relative to the parent folder (entry name, volume root or special id)
    QString displayName;    // normal display name
    quint32 attributes = 0; // sfgao bits
    int icon = -1;          // plat::iconIndex
    int openIcon = -1;      // selected image of folders
    int rank = 100;         // special items and volumes first, in their fixed order
    qint64 size = 0;
    plat::posix::FileTime modifiedNs;
    QString typeName;
    std::optional<QCollatorSortKey> nameKey;
    bool anyChild = false;  // folders without sub-folders while files are listed: a probe found a child
    QString parsingName() const;
    bool isFolder() const { return attributes & sfgao::FOLDER; }
    bool hasSubFolder() const { return attributes & sfgao::HASSUBFOLDER; }
};

// What an enumeration lists: TF_FOLDERS, TF_NONFOLDERS and TF_HIDDEN bits. With TF_NONFOLDERS, folders
// without sub-folders are probed for any child (files through `mask` when given).
struct EnumRequest {
    EnumRequest(quint32 f = TF_FOLDERS) : flags(f) {}
    quint32 flags;
    std::optional<foldertree::TreeMask> mask;
    std::function<bool()> stop;   // checked per entry; true ends the enumeration early
};

// What changed between two reads of one folder. `previous` holds the earlier reads of `changed`, in the
// same order; `removed` the earlier reads of entries no longer listed.
struct ChildDelta {
    QList<ShellEntry> added;
    QList<ShellEntry> changed;
    QList<ShellEntry> previous;
    QList<ShellEntry> removed;
    qsizetype size() const { return added.size() + changed.size() + removed.size(); }
};

// Refusals and failures of namespace operations; the text is the message the user sees.
class EShellError : public EOrvoError {
public:
    enum Kind { AlreadyExists, Failed };
    EShellError(Kind kind, const QString& message) : EOrvoError(message), m_kind(kind) {}
    Kind kind() const { return m_kind; }
private:
    Kind m_kind;
};

// Stands in for the shell's folders and identifier lists as the folder tree needs them. Every function
// is safe to call from a worker thread (it reads the file system and the volume list only).
class ShellNamespace {
public:
    static ShellItem desktop();
    // The special folder's item; nullopt when it cannot be obtained (missing on disk, or none on Linux).
    static std::optional<ShellItem> special(TPidls pidl);
    static ShellItem fromPath(const QString& path);
    // The tree's path normalisation: absolute, cleaned, shortened to the nearest existing directory,
    // no trailing separator except "/". Empty stays empty.
    static QString normalizePath(const QString& text);

    static ShellEntry describe(const ShellItem& item, const EnumRequest& request = {});
    static QList<ShellEntry> children(const ShellItem& parent, const EnumRequest& request);

    // The difference between an earlier and a later read of the same folder.
    static ChildDelta diff(const QList<ShellEntry>& before, const QList<ShellEntry>& after);
    // Whether two reads of an item agree in everything the tree shows and sorts by.
    static bool sameEntry(const ShellEntry& a, const ShellEntry& b);

    // Compares two items by a column (0 name, 1 size, 2 type, 3 date): -1, 0 or 1. Column 0 puts
    // folders before files and special items first.
    static int compare(const ShellEntry& a, const ShellEntry& b, int column);

    // Renames a file-system item in its folder, never replacing an existing one. Returns the new item;
    // throws EShellError (AlreadyExists: «"name" already exists !») when refused.
    static ShellItem rename(const ShellItem& item, const QString& newName);
    static QString alreadyExistsText(const QString& name);

    // How far `node` leads towards `target` when walking down from a root: kExact when it is the target,
    // the length of the matching path prefix when the target lies below it, 0 when it does not lead there.
    static constexpr int kExact = 1 << 30;
    static int routeScore(const ShellItem& node, const ShellItem& target, const QStringList& volumeRoots);
    static QStringList volumeRoots();

    // Whether the folder has a sub-folder (read up to the first one; true after 2000 entries).
    static bool hasSubFolder(const QString& dir, bool includeHidden);
};

} // namespace plat
