#pragma once
#include "platform/ProcessInfo.h"
#include <xcb/xcb.h>

namespace plat {

// What X11 tells about a top-level window, before it is put into the original's style bits.
struct WindowTraits {
    bool viewable = false;           // map_state == Viewable
    bool overrideRedirect = false;
    enum Type { Normal, Dialog, Other } type = Normal;   // _NET_WM_WINDOW_TYPE (unset: Normal)
    bool utility = false;            // _NET_WM_WINDOW_TYPE_UTILITY
    bool hidden = false;             // _NET_WM_STATE_HIDDEN
    bool iconic = false;             // WM_STATE Iconic
    bool maximizedHorz = false;
    bool maximizedVert = false;
    bool skipTaskbar = false;
    bool above = false;
};

struct SynthesisedStyle {
    qint32 style = 0;
    qint32 exStyle = 0;
};

// The style and extended style a window with these traits would carry: override-redirect windows are
// pop-ups, normal managed windows overlapped windows, dialogs pop-ups with caption and system menu,
// other managed types plain pop-ups; then the visible, minimised and maximised bits; tool window
// (0x80) for skip-taskbar or utility windows, top-most (0x8) for those kept above.
SynthesisedStyle synthesiseStyle(const WindowTraits& t);

// The top-level windows of one X11 display: the root's children with their properties.
class X11Windows {
public:
    // Uses `connection` (not owned); null: no windows.
    explicit X11Windows(xcb_connection_t* connectionOrNull);
    ~X11Windows();
    // Connects to $DISPLAY on its own; null when that fails.
    static std::unique_ptr<X11Windows> openDisplay();

    bool connected() const { return m_conn != nullptr; }
    QList<WindowEntry> topLevelWindows();
    // Maps the window if unmapped and asks the window manager to activate it; without one, raises it
    // and gives it the focus.
    void activate(quint32 window);

private:
    xcb_atom_t atom(const char* name);
    xcb_connection_t* m_conn;
    xcb_window_t m_root = 0;
    bool m_owned = false;
};

} // namespace plat
