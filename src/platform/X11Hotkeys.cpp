#include "platform/X11Hotkeys.h"
#include <QCoreApplication>
#include <cstdlib>

namespace plat {
namespace {
// Lock (Caps) and Mod2 (usually Num Lock) must not stop a hotkey, so each key is grabbed with them too.
constexpr uint16_t kIgnored[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

uint32_t keysymFor(int key)
{
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return 0xffbe + uint32_t(key - Qt::Key_F1);   // XK_F1 ...
    return 0;
}
} // namespace

X11Hotkeys::X11Hotkeys(xcb_connection_t* connectionOrNull) : m_conn(connectionOrNull)
{
    if (!m_conn)
        return;
    const xcb_setup_t* setup = xcb_get_setup(m_conn);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(setup);
    if (it.rem)
        m_root = it.data->root;
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installNativeEventFilter(this);
}

X11Hotkeys::~X11Hotkeys()
{
    for (const Grab& g : std::as_const(m_grabs))
        ungrab(g);
    if (m_conn)
        xcb_flush(m_conn);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

xcb_keycode_t X11Hotkeys::keycodeFor(int key) const
{
    const uint32_t sym = keysymFor(key);
    if (!sym)
        return 0;
    const xcb_setup_t* setup = xcb_get_setup(m_conn);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    xcb_get_keyboard_mapping_reply_t* reply = xcb_get_keyboard_mapping_reply(
        m_conn, xcb_get_keyboard_mapping(m_conn, setup->min_keycode, count), nullptr);
    if (!reply)
        return 0;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply);
    const int per = reply->keysyms_per_keycode;
    xcb_keycode_t found = 0;
    for (int i = 0; i < count && !found; ++i)
        for (int j = 0; j < per; ++j)
            if (syms[i * per + j] == sym) {
                found = xcb_keycode_t(setup->min_keycode + i);
                break;
            }
    std::free(reply);
    return found;
}

bool X11Hotkeys::registerKey(int id, Qt::KeyboardModifiers mods, int key)
{
    if (!m_conn || !m_root || m_grabs.contains(id))
        return false;
    uint16_t xmods = 0;
    if (mods & Qt::ControlModifier)
        xmods |= XCB_MOD_MASK_CONTROL;
    if (mods & Qt::AltModifier)
        xmods |= XCB_MOD_MASK_1;
    if (mods & Qt::ShiftModifier)
        xmods |= XCB_MOD_MASK_SHIFT;
    const xcb_keycode_t code = keycodeFor(key);
    if (!code)
        return false;
    bool plainOk = false;
    for (uint16_t extra : kIgnored) {
        xcb_void_cookie_t c = xcb_grab_key_checked(m_conn, 1, m_root, xmods | extra, code,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* err = xcb_request_check(m_conn, c);
        if (extra == 0)
            plainOk = !err;   // BadAccess: another client holds the key
        std::free(err);
    }
    const Grab g{code, xmods, mods, key};
    if (!plainOk) {
        ungrab(g);
        xcb_flush(m_conn);
        return false;
    }
    m_grabs.insert(id, g);
    return true;
}

void X11Hotkeys::ungrab(const Grab& g)
{
    for (uint16_t extra : kIgnored)
        xcb_ungrab_key(m_conn, g.keycode, m_root, g.modifiers | extra);
}

void X11Hotkeys::unregisterKey(int id)
{
    auto it = m_grabs.find(id);
    if (it == m_grabs.end())
        return;
    ungrab(*it);
    xcb_flush(m_conn);
    m_grabs.erase(it);
}

bool X11Hotkeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || m_grabs.isEmpty())
        return false;
    auto* ev = static_cast<xcb_generic_event_t*>(message);
    if ((ev->response_type & 0x7f) != XCB_KEY_PRESS)
        return false;
    auto* kp = reinterpret_cast<xcb_key_press_event_t*>(ev);
    const uint16_t state = kp->state & ~(XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2);
    for (const Grab& g : std::as_const(m_grabs)) {
        if (g.keycode == kp->detail && g.modifiers == state) {
            if (onHotkey)
                onHotkey(g.qtMods, g.key);
            return true;
        }
    }
    return false;
}

} // namespace plat
