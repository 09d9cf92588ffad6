#include "app/SettingsStore.h"
#include "platform/posix/EntryOps.h"
#include "platform/posix/FileId.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>
#include <cerrno>
#include <sys/stat.h>
#include <limits>

const QString SettingsStore::kTitle = QStringLiteral("Orvo 文件管理器");
const QString SettingsStore::kGroup = QStringLiteral("SOFTWARE/") + SettingsStore::kTitle;

namespace {

QString configHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

QString dataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

// Whether the settings file may be opened: a regular file or none yet. QSettings would wait forever on a
// FIFO put in its place (and read a device without end), so anything else reads as a damaged file.
bool iniIsFileOrMissing()
{
    struct stat st;
    const int e = plat::posix::statPath(SettingsStore::iniPath(), st);
    return e == ENOENT || (e == 0 && S_ISREG(st.st_mode));
}

QString key(const QString& name)
{
    return SettingsStore::kGroup + u'/' + name;
}

} // namespace

SettingsStore::SettingsStore() = default;

QString SettingsStore::iniPath()
{
    return configHome() + QStringLiteral("/orvo/orvo.ini");
}

QString SettingsStore::autostartPath()
{
    return configHome() + QStringLiteral("/autostart/orvo.desktop");
}

QString SettingsStore::folderMenuPath()
{
    return dataHome() + QStringLiteral("/applications/orvo-folder.desktop");
}

QString SettingsStore::driveMenuPath()
{
    return dataHome() + QStringLiteral("/applications/orvo-drive.desktop");
}

bool SettingsStore::readable() const
{
    if (!iniIsFileOrMissing())
        return false;
    QSettings s(iniPath(), QSettings::IniFormat);
    return s.status() == QSettings::NoError;
}

std::optional<qint32> SettingsStore::color(const QString& name, bool* bad) const
{
    if (bad)
        *bad = !iniIsFileOrMissing();
    if (bad && *bad)
        return std::nullopt;
    QSettings s(iniPath(), QSettings::IniFormat);
    const QVariant v = s.value(key(name));
    if (!v.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    // Accept both the signed and the unsigned spelling of a 32-bit value.
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<quint32>::max()) {
        if (bad)
            *bad = true;
        return std::nullopt;
    }
    return qint32(quint32(n));
}

bool SettingsStore::hasFlag(const QString& name) const
{
    if (!iniIsFileOrMissing())
        return false;
    QSettings s(iniPath(), QSettings::IniFormat);
    return s.contains(key(name));
}

bool SettingsStore::fail(const QString& message)
{
    m_error = message;
    return false;
}

// Reads the file afresh: the change counts only when a clean read shows it. QSettings rewrites a damaged
// file on sync but keeps reporting the damage it found, so its own status alone cannot tell.
bool SettingsStore::verifyKey(const QString& name, std::optional<qint32> expected) const
{
    QSettings s(iniPath(), QSettings::IniFormat);
    if (s.status() != QSettings::NoError)
        return false;
    if (!expected)
        return !s.contains(key(name));
    bool ok = false;
    return s.value(key(name)).toInt(&ok) == *expected && ok;
}

bool SettingsStore::writeFlag(const QString& name, bool on)
{
    if (!iniIsFileOrMissing())
        return fail(QStringLiteral("无法写入设置文件“%1”。").arg(iniPath()));
    {
        QSettings s(iniPath(), QSettings::IniFormat);
        s.remove(key(name));
        if (on)
            s.setValue(key(name), 1);
        s.sync();
        if (s.status() == QSettings::NoError)
            return true;
    }
    if (verifyKey(name, on ? std::optional<qint32>(1) : std::nullopt))
        return true;
    return fail(QStringLiteral("无法写入设置文件“%1”。").arg(iniPath()));
}

bool SettingsStore::writeColor(const QString& name, qint32 value)
{
    if (!iniIsFileOrMissing())
        return fail(QStringLiteral("无法写入设置文件“%1”。").arg(iniPath()));
    {
        QSettings s(iniPath(), QSettings::IniFormat);
        s.remove(key(name));
        s.setValue(key(name), value);
        s.sync();
        if (s.status() == QSettings::NoError)
            return true;
    }
    if (verifyKey(name, value))
        return true;
    return fail(QStringLiteral("无法写入设置文件“%1”。").arg(iniPath()));
}

QString SettingsStore::quoteExecArg(const QString& arg)
{
    // Quoting rule of the Exec key first, then the escapes of a string value, which readers undo first.
    QString quoted;
    for (const QChar c : arg) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
        if (c == u'%')
            quoted += u'%';
    }
    quoted = u'"' + quoted + u'"';
    QString out;
    for (const QChar c : quoted) {
        switch (c.unicode()) {
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

bool SettingsStore::writeDesktopFile(const QString& path, const QString& contents)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("无法创建文件夹“%1”。").arg(QFileInfo(path).absolutePath()));
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(contents.toUtf8()) < 0 || !f.commit())
        return fail(QStringLiteral("无法写入“%1”：%2").arg(path, f.errorString()));
    return true;
}

bool SettingsStore::removeFile(const QString& path)
{
    const plat::posix::SysError e = plat::posix::removeFile(path);
    if (e && e.code != ENOENT)
        return fail(QStringLiteral("无法删除“%1”：%2").arg(e.path, plat::posix::errnoText(e.code)));
    return true;
}

bool SettingsStore::autostartExists() const
{
    const QFileInfo fi(autostartPath());
    return fi.exists() || fi.isSymLink();
}

bool SettingsStore::setAutostart(bool on, const QString& executable)
{
    if (!on)
        return removeFile(autostartPath());
    if (autostartExists())
        return true;    // an existing entry is kept as it is
    return writeDesktopFile(autostartPath(),
                            QStringLiteral("[Desktop Entry]\nType=Application\nName=") + kTitle
                                + QStringLiteral("\nExec=") + quoteExecArg(executable)
                                + QStringLiteral("\nX-GNOME-Autostart-enabled=true\n"));
}

bool SettingsStore::contextMenuExists() const
{
    const QFileInfo fi(folderMenuPath());
    return fi.exists() || fi.isSymLink();
}

bool SettingsStore::setContextMenu(bool on, const QString& executable)
{
    if (!on)
        return removeFile(folderMenuPath()) && removeFile(driveMenuPath());
    const auto entry = [&](const char* mimeType) -> QString {
        return QStringLiteral("[Desktop Entry]\nType=Application\nName=") + kTitle + QStringLiteral("\nExec=")
            + quoteExecArg(executable) + QStringLiteral(" %f\nMimeType=") + QLatin1String(mimeType)
            + QStringLiteral(";\nNoDisplay=true\n");
    };
    return writeDesktopFile(folderMenuPath(), entry("inode/directory"))
        && writeDesktopFile(driveMenuPath(), entry("inode/mount-point"));
}

bool SettingsStore::removeAll()
{
    bool ok = iniIsFileOrMissing() || fail(QStringLiteral("无法写入设置文件“%1”。").arg(iniPath()));
    if (ok) {
        QSettings s(iniPath(), QSettings::IniFormat);
        s.remove(kGroup);
        s.sync();
        if (s.status() != QSettings::NoError) {
            QSettings check(iniPath(), QSettings::IniFormat);
            check.beginGroup(kGroup);
            if (check.status() != QSettings::NoError || !check.allKeys().isEmpty())
                ok = fail(QStringLiteral("无法写入设置文件“%1”。").arg(iniPath()));
        }
    }
    // Each entry goes on its own, so one that cannot be removed does not keep the others.
    for (const QString& path : {autostartPath(), folderMenuPath(), driveMenuPath()}) {
        const QString firstError = m_error;
        if (!removeFile(path)) {
            if (!ok)
                m_error = firstError;
            ok = false;
        }
    }
    return ok;
}
