#pragma once
#include "platform/posix/SysError.h"
#include <QString>

// Every failure and refusal the file operations and the file commands report, built in one place from
// what failed. The engine and the commands only say which kind of failure it was and about what.
namespace fileops {

// What the item was going through; the verb of its message.
enum class Verb { Run, Copy, Move, Create, Delete, Rename };

// What failed with one item: the failed call (its errno value, the operation and the path it was about),
// or one of the engine's own refusals in place of the system's reason.
struct ItemError {
    enum Reason {
        System,              // the system's text for sys.code
        IntoItself,          // a folder into itself or one of its sub-folders
        NotFileFolderOrLink, // a device, FIFO or socket
        ChangedDuringMove,   // a moved source changed (or appeared) while it was copied: kept
        NotKeptWhole,        // a moved source whose owner or extended attributes the target could not hold: kept
        NotOneItem,          // an empty path, "." or ".." as its last component, or "/": nothing touched
    };
    Verb verb = Verb::Run;
    plat::posix::SysError sys;
    Reason reason = System;

    static ItemError system(Verb verb, int code, const QString& path, const QString& op = QString())
    {
        return {verb, {code, op, path}, System};
    }
    static ItemError refusal(Verb verb, Reason reason, const QString& path, int code)
    {
        return {verb, {code, QString(), path}, reason};
    }
};

// Why an item was left out.
enum class SkipReason {
    NoTargetFolder,   // the missing target folder was not to be created
    NotReplaced,      // an item of the same name was not to be replaced
    NotTrashed,       // it could not go to the recycle bin and was not to be deleted for good
};

namespace texts {

// "无法<verb>“<path>”：<reason>": every failure of an operation.
QString failure(const ItemError& e);
// "已跳过“<path>”：<reason>", for callers without windows; `code` is the errno value of NotTrashed.
QString skipped(const QString& path, SkipReason why, int code = 0);
QString cancelled();

// Refusals of the paste, drag and delete commands, before any operation runs.
QString missingSource(const QString& path);
QString sameFolderAsSource(const QString& folder);
QString targetInsideSource(const QString& folder);
QString driveOrParentNotTransferred();
QString pasteTargetMissing();
QString nothingToPaste();
QString pasteIntoDrives();
QString pasteTargetEmpty();
QString dropTargetEmpty();
// The drag transfer's report of an operation that was not a success.
QString dropCancelled();
QString dropFailed();

} // namespace texts

} // namespace fileops
