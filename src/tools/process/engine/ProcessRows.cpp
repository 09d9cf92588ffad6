#include "tools/process/engine/ProcessRows.h"

namespace process {

namespace {

QString number(quint64 v)
{
    return QString::number(v);
}

QStringList fromUtf8(std::initializer_list<const char*> texts)
{
    QStringList out;
    for (const char* t : texts)
        out << QString::fromUtf8(t);
    return out;
}

} // namespace

QStringList processColumns()
{
    return fromUtf8({"进程", "ID", "父进程ID", "线程数", "优先级", "类型", "模块ID", "cntUsage", "HeapID", "dwFlags"});
}

QStringList moduleColumns()
{
    return fromUtf8({"模块", "路径", "hModule", "modBaseAddr", "modBaseSize", "GlblcntUsage", "ProccntUsage",
                     "Moduleid", "ProcessID", "dwSize"});
}

QStringList windowColumns()
{
    return fromUtf8({"窗体名", "路径", "活动Id", "par", "线程Id", "风格", "进程Id", "EX风格", "类名", "hPar", " "});
}

QStringList threadColumns()
{
    return fromUtf8({"进程所有者ID", "ThreadID", "dwSize", "cntUsage", "BasePri", "DeltaPri", "dwFlags"});
}

QString priorityText(qint32 basePriority)
{
    switch (basePriority) {
    case 4: return QStringLiteral("[Idle    ]");
    case 8: return QStringLiteral("[Normal  ]");
    case 13: return QStringLiteral("[High    ]");
    case 24: return QStringLiteral("[RealTime]");
    default: return QStringLiteral("[Unknown]");
    }
}

// The executable type, module id, usage count, heap id and flags have no counterpart here: 0.
ListRow processRow(const plat::ProcessEntry& p, int icon)
{
    static const QString zero = QStringLiteral("0");
    return {{p.name, number(p.pid), number(p.ppid), number(p.threads), priorityText(p.basePriority), zero, zero,
             zero, zero, zero},
            icon};
}

// The handle is the base address; the usage counts are 0, the module id 1, the record size 548.
ListRow moduleRow(const plat::ModuleEntry& m, int icon)
{
    static const QString zero = QStringLiteral("0");
    return {{m.name, m.path, number(m.base), number(m.base), number(m.size), zero, zero, QStringLiteral("1"),
             number(m.pid), QStringLiteral("548")},
            icon};
}

ListRow windowRow(const plat::WindowEntry& w, const QString& path, int icon)
{
    return {{w.title, path, number(w.pid), w.className, QStringLiteral("0"), QString::number(w.style),
             number(w.handle), QString::number(w.exStyle), QString::number(w.className.size()),
             QString::number(qint32(w.owner)), w.owner ? w.ownerTitle : QStringLiteral("Desktop")},
            icon};
}

bool hasTaskBarStyle(quint32 style)
{
    if (!(style & kWsPopup))
        return true;
    return (style & kWsMinimizeBox) && !(style & kWsDisabled) && (style & kWsSysMenu);
}

bool admitsWindow(const plat::WindowEntry& w, const WindowOptions& o)
{
    if (w.title.isEmpty() && !o.empty)
        return false;
    const bool visible = quint32(w.style) & kWsVisible;
    if ((o.visibility == Visibility::VisibleOnly && !visible) || (o.visibility == Visibility::InvisibleOnly && visible))
        return false;
    // The last active pop-up of a window is the window itself here.
    return !o.taskBarStyle || (w.owner == 0 && hasTaskBarStyle(quint32(w.style)));
}

QList<plat::WindowEntry> collectWindows(const QList<plat::WindowEntry>& all, const WindowOptions& o, int max)
{
    QList<plat::WindowEntry> out;
    for (const plat::WindowEntry& w : all) {
        if (out.size() >= max)
            break;
        if (admitsWindow(w, o))
            out.append(w);
    }
    return out;
}

const std::array<const char*, kStyleBoxCount>& styleBoxNames()
{
    static const std::array<const char*, kStyleBoxCount> names = {
        "WS_OVERLAPPED", "WS_POPUP",    "WS_CHILD",      "WS_MINIMIZE",    "WS_VISIBLE",     "WS_DISABLED",
        "WS_CLIPSIBLINGS", "WS_CLIPCHILDREN", "WS_MAXIMIZE", "WS_CAPTION", "WS_BORDER",      "WS_DLGFRAME",
        "WS_VSCROLL",    "WS_HSCROLL",  "WS_SYSMENU",    "WS_THICKFRAME",  "WS_GROUP",       "WS_MINIMIZEBOX",
        "WS_TABSTOP",    "WS_MAXIMIZEBOX", "WS_TILEDWINDOW", "WS_POPUPWINDOW"};
    return names;
}

std::array<bool, kStyleBoxCount> styleBoxes(quint32 style)
{
    const auto bit = [style](int n) { return ((style >> n) & 1u) != 0; };
    const auto all = [style](quint32 mask) { return (style & mask) == mask; };
    return {style != 0, bit(31), bit(30), bit(29), bit(28), bit(27), bit(26), bit(25), bit(24),
            bit(23) && bit(22), bit(23), bit(22), bit(21), bit(20), bit(19), bit(18), bit(17), bit(17),
            bit(16), bit(16), all(0x00CF0000u), all(0x80880000u)};
}

} // namespace process
