#pragma once
#include "platform/ProcessInfo.h"
#include <QByteArrayView>
#include <optional>

// Processes from /proc and ending them through a pidfd.
namespace plat::posix {

// The fields of /proc/PID/stat the process list needs.
struct StatFields {
    QByteArray comm;       // the name between the parentheses
    quint32 ppid = 0;      // field 4
    qint32 nice = 0;       // field 19
    quint32 threads = 0;   // field 20
    quint32 policy = 0;    // field 41
};

// Parses one stat line; the name may hold blanks and parentheses. Nullopt when the line is malformed.
std::optional<StatFields> parseStat(QByteArrayView line);

// The original's base priority for a scheduling policy and nice value: real-time 24; nice >= 10 → 4,
// 1…9 → 6, 0 → 8, -9…-1 → 10, <= -10 → 13.
qint32 basePriority(quint32 policy, qint32 nice);

// One module per distinct file-backed path (starting with '/') of a maps text, in order of first
// appearance, with the lowest start as base and the span to the highest end as size.
QList<ModuleEntry> parseMaps(QByteArrayView maps, quint32 pid);

// Every /proc/[0-9]+ under `procRoot`, ascending pid.
QList<ProcessEntry> readProcesses(const char* procRoot = "/proc");
QList<ModuleEntry> readModules(quint32 pid);
QString readExecutable(quint32 pid);

// SIGKILL through a pidfd, then waits at most `waitMs` for the end (a zombie counts as ended). False
// for our own pid, a pid that is gone or one we may not signal.
bool killAndWait(quint32 pid, int waitMs = 5000);

} // namespace plat::posix
