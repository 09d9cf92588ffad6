#pragma once
#include "platform/Hotkeys.h"
#include <QAbstractNativeEventFilter>
#include <QMap>
#include <xcb/xcb.h>

namespace plat {

// Global hotkeys as key grabs on the X11 root window. Without a connection every registration fails.
class X11Hotkeys : public IHotkeys, public QAbstractNativeEventFilter {
public:
    explicit X11Hotkeys(xcb_connection_t* connectionOrNull);
    ~X11Hotkeys() override;

    bool registerKey(int id, Qt::KeyboardModifiers mods, int key) override;
    void unregisterKey(int id) override;
    bool isRegistered(int id) const override { return m_grabs.contains(id); }
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        xcb_keycode_t keycode;
        uint16_t modifiers;
        Qt::KeyboardModifiers qtMods;
        int key;
    };
    xcb_keycode_t keycodeFor(int key) const;
    void ungrab(const Grab& g);
    xcb_connection_t* m_conn;
    xcb_window_t m_root = 0;
    QMap<int, Grab> m_grabs;
};

} // namespace plat
