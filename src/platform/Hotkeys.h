#pragma once
#include <Qt>
#include <functional>

namespace plat {

// System-wide hotkeys (X11 only; elsewhere registration fails silently).
class IHotkeys {
public:
    virtual ~IHotkeys() = default;
    // Registers key (a Qt::Key F1..F12) with Ctrl or Alt; false when another client holds it or there is no X11.
    virtual bool registerKey(int id, Qt::KeyboardModifiers mods, int key) = 0;
    virtual void unregisterKey(int id) = 0;
    virtual bool isRegistered(int id) const = 0;
    std::function<void(Qt::KeyboardModifiers mods, int key)> onHotkey;   // GUI thread
};

} // namespace plat
