#pragma once
#include "platform/ProcessInfo.h"
#include <QStringList>
#include <array>

// The process manager's rows and rules: the texts of the process, module and window lists, the window
// filter of the window-list options and the style boxes of one window.
namespace process {

// One list row: its cells in column order and its icon (a plat::iconIndex).
struct ListRow {
    QStringList cells;
    int icon = -1;
};

QStringList processColumns();   // "进程" … "dwFlags"
QStringList moduleColumns();    // "模块" … "dwSize"
QStringList windowColumns();    // "窗体名" … " "
QStringList threadColumns();    // the hidden thread list

// 4 "[Idle    ]", 8 "[Normal  ]", 13 "[High    ]", 24 "[RealTime]", any other "[Unknown]".
QString priorityText(qint32 basePriority);

ListRow processRow(const plat::ProcessEntry& p, int icon);
ListRow moduleRow(const plat::ModuleEntry& m, int icon);
// `path` is the owning process's executable, empty when unknown.
ListRow windowRow(const plat::WindowEntry& w, const QString& path, int icon);

enum class Visibility { All, VisibleOnly, InvisibleOnly };

// The window-list options; the defaults are the start state.
struct WindowOptions {
    Visibility visibility = Visibility::VisibleOnly;   // "全部", "活动的", "非活动的"
    bool empty = false;                                // "空的": windows without title too
    bool taskBarStyle = true;                          // "任务条风格"
};

constexpr quint32 kWsPopup = 0x80000000u;
constexpr quint32 kWsVisible = 0x10000000u;
constexpr quint32 kWsDisabled = 0x08000000u;
constexpr quint32 kWsSysMenu = 0x00080000u;
constexpr quint32 kWsMinimizeBox = 0x00020000u;

// Not a pop-up, or a pop-up with a minimise box and a system menu that is not disabled.
bool hasTaskBarStyle(quint32 style);
bool admitsWindow(const plat::WindowEntry& w, const WindowOptions& o);
constexpr int kMaxWindows = 256;
// The windows the options admit, in their order, at most `max`.
QList<plat::WindowEntry> collectWindows(const QList<plat::WindowEntry>& all, const WindowOptions& o,
                                        int max = kMaxWindows);

// The 22 boxes of "窗体风格", in their order, and which of them a style ticks.
constexpr int kStyleBoxCount = 22;
const std::array<const char*, kStyleBoxCount>& styleBoxNames();
std::array<bool, kStyleBoxCount> styleBoxes(quint32 style);

} // namespace process
