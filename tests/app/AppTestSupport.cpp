#include "AppTestSupport.h"
#include "app/HistoryFiles.h"
#include "app/SettingsStore.h"
#include "platform/PrivateDir.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace apptest {

void cleanAccount()
{
    for (const QString& p : {SettingsStore::iniPath(), SettingsStore::autostartPath(), SettingsStore::folderMenuPath(),
                             SettingsStore::driveMenuPath(), privateFile(app::kPathListFile),
                             privateFile(app::kMaskListFile)}) {
        const QFileInfo fi(p);
        if (fi.isDir() && !fi.isSymLink())
            QDir(p).removeRecursively();
        else
            QFile::remove(p);
        ASSERT_FALSE(QFileInfo(p).exists() || QFileInfo(p).isSymLink()) << p.toStdString();
    }
    // A test may have put a file where the settings folder belongs.
    const QString folder = QFileInfo(SettingsStore::iniPath()).absolutePath();
    if (QFileInfo(folder).isFile())
        QFile::remove(folder);
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QString privateFile(const QString& name)
{
    return plat::privateDir() + name;
}

QStringList storedKeys()
{
    QSettings s(SettingsStore::iniPath(), QSettings::IniFormat);
    s.beginGroup(SettingsStore::kGroup);
    QStringList keys = s.allKeys();
    keys.sort();
    return keys;
}

void rightClick(QWidget* widget, QPoint pos)
{
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::RightButton, {}, widget->mapTo(top, pos));
}

} // namespace apptest
