#include "platform/Cdrom.h"
#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace plat {

namespace {

// Opens the device without waiting for a medium and sends one door request; errors are dropped.
void doorRequest(const QString& device, unsigned long request)
{
    if (device.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(device);
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    (void)::ioctl(fd, request, 0);
    ::close(fd);
}

} // namespace

LinuxCdrom::LinuxCdrom(QString sysBlock, QString dev) : m_sysBlock(std::move(sysBlock)), m_dev(std::move(dev)) {}

QStringList LinuxCdrom::drives()
{
    QStringList names = QDir(m_sysBlock).entryList({QStringLiteral("sr*")}, QDir::AllEntries | QDir::System);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(names.begin(), names.end(), numeric);
    QStringList out;
    for (const QString& n : names)
        out << m_dev + u'/' + n;
    return out;
}

QString LinuxCdrom::defaultDrive()
{
    const QString link = m_dev + QStringLiteral("/cdrom");
    if (QFileInfo::exists(link))
        return link;
    return drives().value(0);
}

void LinuxCdrom::openDoor(const QString& device)
{
    doorRequest(device, CDROMEJECT);
}

void LinuxCdrom::closeDoor(const QString& device)
{
    doorRequest(device, CDROMCLOSETRAY);
}

} // namespace plat
