#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// What the file list's commands start, copy and look up outside the list: programs and documents,
// the fixed quick viewers, the send-to shortcuts, desktop links and item properties. Widget-free.
namespace filelist {

// The quick-view table in its fixed order: entries 0-9 text (the text editor), 10-12 pictures (the paint
// program), 13-14 rich text (the word processor).
const QStringList& quickViewExtensions();
// Index of the path's upper-cased extension in the quick-view table, or -1.
int quickViewIndex(const QString& path);
// The clipboard-contents tables: 21 picture extensions (upper case) and 11 text extensions (lower case,
// compared after upper-casing).
const QStringList& clipPictureExtensions();
const QStringList& clipTextExtensions();
bool isClipPicture(const QString& path);
bool isClipText(const QString& path);

// A program with its leading arguments.
struct ViewerCommand {
    QString program;
    QStringList args;
};
// The first installed viewer for quick-view entry `index` (searched in PATH); none when nothing is installed.
std::optional<ViewerCommand> quickViewer(int index);

// True for an ELF binary (magic "\x7fELF") that the user may execute.
bool isExecutableProgram(const QString& path);

// Success codes of executeFile are above 32, as the shell's were; 0 means it could not be started.
inline constexpr int kExecuteFailed = 0;
inline constexpr int kExecuteStarted = 42;

// Runs `verb` on `file` through the launcher, with argument vectors only: with parameters, `file` is a
// program started with them in `dir`; without, an executable program starts in `dir` and anything else
// opens with the user's handler. Returns kExecuteStarted or kExecuteFailed.
int executeFile(const QString& verb, const QString& file, const QStringList& params, const QString& dir);

// Send-to shortcuts: the "*.desktop" files of $XDG_DATA_HOME/orvo/SendTo, sorted by file name, with
// their Name= as caption (the file name without ".desktop" when there is none).
struct SendToShortcut {
    QString caption;
    QString path;
};
QString sendToFolder();
QList<SendToShortcut> sendToShortcuts();

// Desktop link to `target`: Type=Link, Name=, URL= (file URL), Icon= (the entry's MIME icon).
QByteArray desktopLinkText(const QString& target);
// Writes "<desktopDir>/<name>.desktop" for `target`, replacing an older file of that name (the entry
// itself, never what a link there points to). Returns the file's path, or empty on failure.
QString writeDesktopLink(const QString& target, const QString& desktopDir);

// Properties failure codes as the shell gave them: 0 readable, 2 file not found, 3 path not found,
// 5 access denied. And the message text for a code (empty for codes without one).
int propertiesError(const QString& path);
QString shellErrorText(int code);

} // namespace filelist
