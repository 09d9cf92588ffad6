#pragma once
// The date rewrite: one modification time for a list of files; creation and access times stay.
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace properties {

struct RewriteOutcome {
    int written = 0;            // files that got the new time
    qsizetype failedIndex = -1; // the file that could not be opened (the run stopped there), or -1
    int error = 0;              // its errno
};

// The chosen local date and time as the rewrite stores it: midnight becomes 00:00:02, then the two-second
// grid of the packed form. Invalid when the date is outside 1980-01-01 .. 2107-12-31.
QDateTime rewriteValue(const QDate& date, const QTime& time);

// Sets the modification time of each file in order to `date` `time` (rewriteValue, converted once); stops
// at the first file that cannot be opened for writing (read-only, a folder, no rights). Throws
// EAttributeError when the value is outside the packed range.
RewriteOutcome rewriteWriteTimes(const QStringList& files, const QDate& date, const QTime& time);

// The message for a file that cannot be opened: "不能打开 " + its name.
QString cannotOpenText(const QString& path);
// The message when nothing is selected.
QString nothingSelectedText();

} // namespace properties
