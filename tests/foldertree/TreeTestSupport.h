#pragma once
#include "foldertree/ShellTree.h"
#include "platform/posix/InotifyHub.h"
#include "support/Fakes.h"
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

namespace test {

// Pumps events until `pred` holds or `ms` pass; the result tells which.
template <typename Pred>
bool waitFor(Pred pred, int ms = 5000)
{
    return QTest::qWaitFor(pred, ms);
}

inline QStringList childTexts(const QTreeWidgetItem* node)
{
    QStringList out;
    for (int i = 0; i < node->childCount(); ++i)
        out << node->child(i)->text(0);
    return out;
}

inline TShellnode* childNamed(const TShellnode* node, const QString& text)
{
    for (int i = 0; node && i < node->childCount(); ++i)
        if (node->child(i)->text(0) == text)
            return node->childNode(i);
    return nullptr;
}

// Watches the kernel holds on the hub's inotify instance (from /proc/self/fdinfo).
inline int kernelWatches()
{
    QFile f(QStringLiteral("/proc/self/fdinfo/") + QString::number(plat::InotifyHub::instance().fd()));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(f.readAll().count("inotify wd:"));
}

inline QString desktopDir()
{
    const QString d = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QDir().mkpath(d);
    return d;
}

inline QString documentsDir()
{
    const QString d = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QDir().mkpath(d);
    return d;
}

inline plat::Volume volume(const QString& root, plat::DriveType type = plat::DriveType::Fixed, const QString& label = {})
{
    plat::Volume v;
    v.root = root;
    v.type = type;
    v.label = label;
    return v;
}

} // namespace test
