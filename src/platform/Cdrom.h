#pragma once
#include <QString>
#include <QStringList>

namespace plat {

// The optical drives and their doors. Door commands ignore failures (no drive, no permission, a busy disc).
class ICdrom {
public:
    virtual ~ICdrom() = default;
    // The drives' device paths ("/dev/sr0", …), in name order.
    virtual QStringList drives() = 0;
    // The drive the door button serves: "/dev/cdrom" when it exists, else the first drive; empty without one.
    virtual QString defaultDrive() = 0;
    virtual void openDoor(const QString& device) = 0;
    virtual void closeDoor(const QString& device) = 0;
};

class LinuxCdrom : public ICdrom {
public:
    // `sysBlock` lists the block devices, `dev` holds their nodes; tests point both at temporary folders.
    explicit LinuxCdrom(QString sysBlock = QStringLiteral("/sys/class/block"), QString dev = QStringLiteral("/dev"));
    QStringList drives() override;
    QString defaultDrive() override;
    void openDoor(const QString& device) override;
    void closeDoor(const QString& device) override;

private:
    QString m_sysBlock;
    QString m_dev;
};

} // namespace plat
