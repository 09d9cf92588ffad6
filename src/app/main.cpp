#include "app/OrvoStart.h"
#include "platform/LocalInstances.h"
#include "platform/Services.h"
#include "platform/X11Hotkeys.h"
#include <QApplication>
#include <QGuiApplication>
#include <QLocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
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

    const int rc = app::runOrvo(app, app.arguments().mid(1));
    plat::services().instances = nullptr;
    plat::services().hotkeys = nullptr;
    return rc;
}
