#include "app/OrvoStart.h"
#include "platform/LocalInstances.h"
#include "platform/ProcessInfo.h"
#include "platform/Services.h"
#include "platform/X11Hotkeys.h"
#include "platform/X11Windows.h"
#include "ui/IconTheme.h"
#include "ui/QtTranslation.h"
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QLocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Qt's standard buttons and dialogs follow the user's locale (Chinese when it has no translation).
    ui::installQtTranslation(app, QLocale::system());
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    ui::setUpIconTheme();
    // The installed desktop entry and icon; the bundled copy of the icon when it is not installed.
    QGuiApplication::setDesktopFileName(QStringLiteral("orvo"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("orvo"), QIcon(QStringLiteral(":/orvo/orvo.svg"))));
    plat::installDefaultServices();

    plat::LocalInstances instances;
    xcb_connection_t* connection = nullptr;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>())
            connection = x11->connection();
    }
    plat::X11Hotkeys hotkeys(connection);
    plat::services().instances = &instances;
    plat::services().hotkeys = &hotkeys;
    // The process manager lists the windows of the same display.
    plat::X11Windows windows(connection);
    plat::LinuxProcessInfo procs(&windows);
    plat::services().procs = &procs;

    const int rc = app::runOrvo(app, app.arguments().mid(1));
    plat::services().instances = nullptr;
    plat::services().hotkeys = nullptr;
    plat::services().procs = nullptr;
    return rc;
}
