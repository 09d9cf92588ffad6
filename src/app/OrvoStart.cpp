#include "app/OrvoStart.h"
#include "app/Orvo.h"
#include "platform/Instances.h"
#include "platform/Services.h"
#include "ui/Dialogs.h"
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

namespace app {

int runOrvo(QApplication& app, const QStringList& args)
{
    plat::IInstances* inst = plat::services().instances;
    if (inst && inst->takeSlot() == 0) {
        ui::Dialogs::get().message(nullptr, kInstanceLimitMessage);
        return 0;
    }
    // The program ends when the main window closes, not when the last visible window does: a tool
    // window closed while Ctrl+F3 hides the main window must not end it.
    app.setQuitOnLastWindowClosed(false);
    TOrvo window(args);
    window.show();
    // Tools the command line opened were shown before the main window: bring them back in front of it.
    for (QWidget* tool : QApplication::topLevelWidgets()) {
        if (tool != &window && tool->isVisible() && tool->isWindow() && !tool->inherits("QMenu")) {
            tool->raise();
            tool->activateWindow();
        }
    }
    const QString shot = qEnvironmentVariable("ORVO_SCREENSHOT");
    if (!shot.isEmpty()) {
        QTimer::singleShot(1500, &window, [&window, shot] {
            if (window.grab().save(shot, "PNG"))
                std::printf("screenshot saved to %s\n", qPrintable(shot));
            else
                std::fprintf(stderr, "could not save the screenshot to %s\n", qPrintable(shot));
            std::fflush(stdout);
            window.close();
        });
    }
    return app.exec();
}

} // namespace app
