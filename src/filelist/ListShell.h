#pragma once
#include <QString>
#include <QStringList>

class QWidget;

// Routines of the file-list family that the folder trees and the main window use too.
namespace filelist {

// Runs `verb` on `file` (see executeFile); when it cannot be started, shows the error box
// "错误 - 文件“<file>”不能打开！\r\n原因可能是文件名存在无法识别的字符。". Returns the launch code (> 32 started).
int ExecuteFile(QWidget* owner, const QString& verb, const QString& file, const QStringList& params,
                const QString& dir);

// The error box of a file that could not be opened.
void ShowOpenError(QWidget* owner, const QString& file);

// Target-exists check: when an entry exists at `path`, the error box "\"<name>\" already exists !" and true.
bool TargetExists(QWidget* owner, const QString& path);

// Drive-ready check of a mounted volume's root: a root that is no longer mounted gives "Not a valid Drive ID"
// (and the check goes on); a volume that cannot be read gives a beep and the "There is no disk in Drive"
// warning, and false.
bool DriveReady(QWidget* owner, const QString& root);

} // namespace filelist
