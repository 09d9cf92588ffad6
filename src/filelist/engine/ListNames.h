#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include "fileops/engine/ListItem.h"
#include <QList>
#include <QString>
#include <optional>

// Name rules of the file list's own commands: new folders and text documents with numbered default
// names, renames in place and in batches. Widget-free, so orvo-cli and the tests use them as they are.
namespace filelist {

inline const QString kNewFolderName = QStringLiteral("新建的文件夹");
inline const QString kNewTextName = QStringLiteral("新建的文本文档");
inline const QString kTextExt = QStringLiteral(".txt");

// base + ext for n = 1; base + "(" + n + ")" + ext from 2 on.
QString numberedName(const QString& base, int n, const QString& ext = QString());

// Creates the first free "新建的文件夹", "新建的文件夹(2)", ... in `dir` (trailing '/'). Creation is
// exclusive: a name that exists (of any kind) or appears meanwhile moves on to the next number. Returns
// the new folder's path, or an empty string when it could not be made (no rights, no folder).
QString createNewFolder(const QString& dir);
// The same for an empty "新建的文本文档.txt", "新建的文本文档(2).txt", ...; never truncates a file.
QString createNewTextDocument(const QString& dir);

// A name that a rename may give: not empty, not "." or "..", holding neither '/' nor NUL.
bool isValidName(const QString& name);
// An entry of any kind at `path` (a dangling link counts).
bool entryExists(const QString& path);
// "\"" + name + "\" already exists !" for the last element of `path`.
QString alreadyExistsText(const QString& path);
// "\"" + name + "\" is not a valid name !"
QString invalidNameText(const QString& name);

enum class RenameOutcome { Unchanged, Invalid, Exists, Renamed, Failed };

// Gives the entry `source` the name `newName` in its own folder, never replacing an existing entry:
// an equal path changes nothing; an invalid name or a taken one is reported through `ui` (error box);
// otherwise the file operation renames it (its own errors reported by it).
RenameOutcome renameEntry(const QString& source, const QString& newName, fileops::FileOpPrompter& ui);

// The name batch rename gives the item at `path` as number n: base + n + "." + ext in extension mode,
// else base + n + the item's own extension (from its last '.', none when it has none); and that name in
// the item's folder.
QString batchRenameName(const QString& path, const QString& base, int n, const std::optional<QString>& ext);
QString batchRenameTarget(const QString& path, const QString& base, int n, const std::optional<QString>& ext);

// Batch rename of the selected items, in order: drive rows and ".." are skipped and take no number;
// every other item takes the next number whether or not it could be renamed. Returns how many were renamed.
int batchRename(const QList<fileops::ListItem>& items, const QString& base, const std::optional<QString>& ext,
                fileops::FileOpPrompter& ui);

} // namespace filelist
