#include "platform/X11Windows.h"
#include <QByteArray>
#include <QHash>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace plat {

namespace {

constexpr quint32 WS_POPUP = 0x80000000u;
constexpr quint32 WS_MINIMIZE = 0x20000000u;
constexpr quint32 WS_VISIBLE = 0x10000000u;
constexpr quint32 WS_MAXIMIZE = 0x01000000u;
constexpr quint32 WS_CAPTION = 0x00C00000u;
constexpr quint32 WS_SYSMENU = 0x00080000u;
constexpr quint32 WS_OVERLAPPEDWINDOW = 0x00CF0000u;
constexpr quint32 WS_EX_TOPMOST = 0x8u;
constexpr quint32 WS_EX_TOOLWINDOW = 0x80u;

// The reply of a property request: its value bytes, empty when missing.
struct Property {
    xcb_atom_t type = 0;
    QByteArray value;
    quint32 card(int i = 0) const
    {
        quint32 v = 0;
        if (value.size() >= (i + 1) * 4)
            std::memcpy(&v, value.constData() + i * 4, 4);
        return v;
    }
    bool holds(xcb_atom_t a) const
    {
        for (int i = 0; i < value.size() / 4; ++i)
            if (card(i) == a)
                return true;
        return false;
    }
};

Property take(xcb_connection_t* c, xcb_get_property_cookie_t cookie)
{
    Property p;
    if (xcb_get_property_reply_t* r = xcb_get_property_reply(c, cookie, nullptr)) {
        p.type = r->type;
        const int len = xcb_get_property_value_length(r);
        if (len > 0)
            p.value = QByteArray(static_cast<const char*>(xcb_get_property_value(r)), len);
        std::free(r);
    }
    return p;
}

xcb_get_property_cookie_t ask(xcb_connection_t* c, xcb_window_t w, xcb_atom_t prop, xcb_atom_t type = XCB_ATOM_ANY)
{
    return xcb_get_property(c, 0, w, prop, type, 0, 4096);
}

} // namespace

SynthesisedStyle synthesiseStyle(const WindowTraits& t)
{
    quint32 style = 0;
    if (t.overrideRedirect)
        style = WS_POPUP;
    else if (t.type == WindowTraits::Normal && !t.utility)
        style = WS_OVERLAPPEDWINDOW;
    else if (t.type == WindowTraits::Dialog)
        style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    else
        style = WS_POPUP;
    if (t.viewable)
        style |= WS_VISIBLE;
    if (t.hidden || t.iconic)
        style |= WS_MINIMIZE;
    if (t.maximizedHorz && t.maximizedVert)
        style |= WS_MAXIMIZE;
    quint32 ex = 0;
    if (t.skipTaskbar || t.utility)
        ex |= WS_EX_TOOLWINDOW;
    if (t.above)
        ex |= WS_EX_TOPMOST;
    return {qint32(style), qint32(ex)};
}

X11Windows::X11Windows(xcb_connection_t* connectionOrNull) : m_conn(connectionOrNull)
{
    if (!m_conn)
        return;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_conn));
    if (it.rem)
        m_root = it.data->root;
}

X11Windows::~X11Windows()
{
    if (m_owned && m_conn)
        xcb_disconnect(m_conn);
}

std::unique_ptr<X11Windows> X11Windows::openDisplay()
{
    if (!std::getenv("DISPLAY"))
        return nullptr;
    int screen = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screen);
    if (!c || xcb_connection_has_error(c)) {
        if (c)
            xcb_disconnect(c);
        return nullptr;
    }
    auto w = std::make_unique<X11Windows>(c);
    w->m_owned = true;
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen && it.rem; ++i)
        xcb_screen_next(&it);
    if (it.rem)
        w->m_root = it.data->root;
    return w;
}

xcb_atom_t X11Windows::atom(const char* name)
{
    xcb_intern_atom_reply_t* r =
        xcb_intern_atom_reply(m_conn, xcb_intern_atom(m_conn, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

QList<WindowEntry> X11Windows::topLevelWindows()
{
    QList<WindowEntry> out;
    if (!m_conn || !m_root)
        return out;
    static const char* const kNames[] = {"_NET_WM_NAME", "UTF8_STRING", "_NET_WM_PID", "_NET_WM_STATE",
                                         "_NET_WM_STATE_HIDDEN", "_NET_WM_STATE_MAXIMIZED_HORZ",
                                         "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_SKIP_TASKBAR",
                                         "_NET_WM_STATE_ABOVE", "WM_STATE", "_NET_WM_WINDOW_TYPE",
                                         "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_DIALOG",
                                         "_NET_WM_WINDOW_TYPE_UTILITY"};
    enum { NetName, Utf8, NetPid, NetState, Hidden, MaxH, MaxV, SkipTaskbar, Above, WmState, WinType,
           TypeNormal, TypeDialog, TypeUtility, AtomCount };
    xcb_intern_atom_cookie_t atomCookies[AtomCount];
    for (int i = 0; i < AtomCount; ++i)
        atomCookies[i] = xcb_intern_atom(m_conn, 0, uint16_t(std::strlen(kNames[i])), kNames[i]);
    xcb_atom_t A[AtomCount];
    for (int i = 0; i < AtomCount; ++i) {
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(m_conn, atomCookies[i], nullptr);
        A[i] = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(r);
    }

    const auto children = [this](xcb_window_t parent) {
        std::vector<xcb_window_t> list;
        if (xcb_query_tree_reply_t* r = xcb_query_tree_reply(m_conn, xcb_query_tree(m_conn, parent), nullptr)) {
            const xcb_window_t* c = xcb_query_tree_children(r);
            list.assign(c, c + xcb_query_tree_children_length(r));
            std::free(r);
        }
        return list;
    };
    const auto titleOf = [&](const Property& net, const Property& plain) {
        if (!net.value.isEmpty())
            return QString::fromUtf8(net.value);
        return QString::fromLocal8Bit(plain.value);   // WM_NAME is STRING (Latin-1) or COMPOUND_TEXT
    };

    std::vector<xcb_window_t> windows = children(m_root);
    const size_t n = windows.size();

    // A reparenting window manager puts each client into a frame: a child without WM_STATE stands for
    // its client, the first of its own children that has one.
    {
        std::vector<xcb_get_property_cookie_t> states(n);
        for (size_t i = 0; i < n; ++i)
            states[i] = ask(m_conn, windows[i], A[WmState], A[WmState]);
        std::vector<bool> frame(n);
        for (size_t i = 0; i < n; ++i)
            frame[i] = take(m_conn, states[i]).value.isEmpty();
        for (size_t i = 0; i < n; ++i) {
            if (!frame[i])
                continue;
            for (xcb_window_t c : children(windows[i])) {
                if (!take(m_conn, ask(m_conn, c, A[WmState], A[WmState])).value.isEmpty()) {
                    windows[i] = c;
                    break;
                }
            }
        }
    }

    struct Cookies {
        xcb_get_window_attributes_cookie_t attrs;
        xcb_get_property_cookie_t netName, name, cls, pid, transient, state, wmState, type;
    };
    std::vector<Cookies> cookies(n);
    for (size_t i = 0; i < n; ++i) {
        const xcb_window_t w = windows[i];
        cookies[i] = {xcb_get_window_attributes(m_conn, w),
                      ask(m_conn, w, A[NetName], A[Utf8]),
                      ask(m_conn, w, XCB_ATOM_WM_NAME),
                      ask(m_conn, w, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING),
                      ask(m_conn, w, A[NetPid], XCB_ATOM_CARDINAL),
                      ask(m_conn, w, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW),
                      ask(m_conn, w, A[NetState], XCB_ATOM_ATOM),
                      ask(m_conn, w, A[WmState], A[WmState]),
                      ask(m_conn, w, A[WinType], XCB_ATOM_ATOM)};
    }
    out.reserve(qsizetype(n));
    for (size_t i = 0; i < n; ++i) {
        const Cookies& c = cookies[i];
        WindowTraits t;
        if (xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(m_conn, c.attrs, nullptr)) {
            t.viewable = a->map_state == XCB_MAP_STATE_VIEWABLE;
            t.overrideRedirect = a->override_redirect;
            std::free(a);
        }
        WindowEntry e;
        e.handle = windows[i];
        const Property netName = take(m_conn, c.netName);
        e.title = titleOf(netName, take(m_conn, c.name));
        // WM_CLASS holds the instance name, a NUL, the class name and a NUL.
        const QList<QByteArray> cls = take(m_conn, c.cls).value.split('\0');
        e.className = cls.size() > 1 ? QString::fromLocal8Bit(cls[1]) : QString();
        e.pid = take(m_conn, c.pid).card();
        e.owner = take(m_conn, c.transient).card();
        const Property state = take(m_conn, c.state);
        t.hidden = state.holds(A[Hidden]);
        t.maximizedHorz = state.holds(A[MaxH]);
        t.maximizedVert = state.holds(A[MaxV]);
        t.skipTaskbar = state.holds(A[SkipTaskbar]);
        t.above = state.holds(A[Above]);
        t.iconic = take(m_conn, c.wmState).card() == 3;   // IconicState
        const Property type = take(m_conn, c.type);
        if (!type.value.isEmpty()) {
            const quint32 first = type.card();
            t.type = first == A[TypeNormal] ? WindowTraits::Normal
                     : first == A[TypeDialog] ? WindowTraits::Dialog : WindowTraits::Other;
            t.utility = first == A[TypeUtility];
        }
        const SynthesisedStyle s = synthesiseStyle(t);
        e.style = s.style;
        e.exStyle = s.exStyle;
        out.append(e);
    }

    // The owners' titles.
    QHash<quint32, QPair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> owners;
    for (const WindowEntry& e : out)
        if (e.owner && !owners.contains(e.owner))
            owners.insert(e.owner, {ask(m_conn, e.owner, A[NetName], A[Utf8]), ask(m_conn, e.owner, XCB_ATOM_WM_NAME)});
    QHash<quint32, QString> ownerTitles;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it) {
        const Property net = take(m_conn, it.value().first);
        ownerTitles.insert(it.key(), titleOf(net, take(m_conn, it.value().second)));
    }
    for (WindowEntry& e : out)
        if (e.owner)
            e.ownerTitle = ownerTitles.value(e.owner);
    return out;
}

void X11Windows::activate(quint32 window)
{
    if (!m_conn || !m_root)
        return;
    xcb_map_window(m_conn, window);
    bool managed = false;
    if (xcb_get_selection_owner_reply_t* r =
            xcb_get_selection_owner_reply(m_conn, xcb_get_selection_owner(m_conn, atom("WM_S0")), nullptr)) {
        managed = r->owner != XCB_NONE;
        std::free(r);
    }
    if (managed) {
        xcb_client_message_event_t ev{};
        ev.response_type = XCB_CLIENT_MESSAGE;
        ev.format = 32;
        ev.window = window;
        ev.type = atom("_NET_ACTIVE_WINDOW");
        ev.data.data32[0] = 2;   // source: a pager
        ev.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(m_conn, 0, m_root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&ev));
    } else {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(m_conn, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_set_input_focus(m_conn, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    }
    xcb_flush(m_conn);
}

} // namespace plat
