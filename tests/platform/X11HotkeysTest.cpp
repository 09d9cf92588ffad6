#include "platform/X11Hotkeys.h"
#include <QGuiApplication>
#include <gtest/gtest.h>

// These run under Xvfb with the xcb platform (label x11), never offscreen.
namespace {
xcb_connection_t* appConnection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}
} // namespace

TEST(X11Hotkeys, WithoutX11NothingRegisters)
{
    plat::X11Hotkeys keys(nullptr);
    EXPECT_FALSE(keys.registerKey(1000, Qt::ControlModifier, Qt::Key_F1));
    EXPECT_FALSE(keys.isRegistered(1000));
}

TEST(X11Hotkeys, GrabDispatchesAndAKeyHeldByAnotherClientIsNotRegistered)
{
    xcb_connection_t* conn = appConnection();
    ASSERT_NE(conn, nullptr) << "needs the xcb platform: run under xvfb-run";
    plat::X11Hotkeys keys(conn);
    ASSERT_TRUE(keys.registerKey(1001, Qt::ControlModifier, Qt::Key_F2));
    EXPECT_TRUE(keys.isRegistered(1001));

    // A second client cannot take the same combination.
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    ASSERT_EQ(xcb_connection_has_error(other), 0);
    {
        plat::X11Hotkeys second(other);
        EXPECT_FALSE(second.registerKey(7, Qt::ControlModifier, Qt::Key_F2));
    }
    xcb_disconnect(other);

    // A key press of the grabbed combination (with Num Lock on) reaches the handler.
    Qt::KeyboardModifiers gotMods;
    int gotKey = 0;
    keys.onHotkey = [&](Qt::KeyboardModifiers m, int k) { gotMods = m; gotKey = k; };
    const xcb_setup_t* setup = xcb_get_setup(conn);
    xcb_get_keyboard_mapping_reply_t* map = xcb_get_keyboard_mapping_reply(
        conn, xcb_get_keyboard_mapping(conn, setup->min_keycode, setup->max_keycode - setup->min_keycode + 1), nullptr);
    ASSERT_NE(map, nullptr);
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map);
    xcb_keycode_t code = 0;
    for (int i = 0; i <= setup->max_keycode - setup->min_keycode && !code; ++i)
        if (syms[i * map->keysyms_per_keycode] == 0xffbf)
            code = xcb_keycode_t(setup->min_keycode + i);
    free(map);
    ASSERT_NE(code, 0);
    xcb_key_press_event_t ev{};
    ev.response_type = XCB_KEY_PRESS;
    ev.detail = code;
    ev.state = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_2;
    EXPECT_TRUE(keys.nativeEventFilter("xcb_generic_event_t", &ev, nullptr));
    EXPECT_EQ(gotKey, int(Qt::Key_F2));
    EXPECT_EQ(gotMods, Qt::ControlModifier);

    keys.unregisterKey(1001);
    EXPECT_FALSE(keys.isRegistered(1001));
}
