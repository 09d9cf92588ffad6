#pragma once
#include <QStringList>

class QApplication;

namespace app {

inline const QString kInstanceLimitMessage =
    QStringLiteral("已经有10个Orvo文件管理器正在运行,不能再运行新的Orvo文件管理器了。");

// Takes an instance slot, creates and shows the main window and runs the event loop. With all ten slots
// taken it shows the limit message and returns without creating a window. `args` excludes the program name.
// With ORVO_SCREENSHOT set, the main window is saved as PNG there shortly after it shows, and the program ends.
int runOrvo(QApplication& app, const QStringList& args);

} // namespace app
