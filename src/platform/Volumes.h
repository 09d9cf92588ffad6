#pragma once
#include <QList>
#include <QString>
#include <QStringList>

namespace plat {

// Drive type codes of the drive list.
enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

struct Volume {
    QString root;      // mount point, no trailing '/' except "/" itself
    QString device;
    QString fsType;
    QString label;     // file-system label, may be empty
    DriveType type = DriveType::Unknown;
    qint64 total = 0;  // bytes
    qint64 free = 0;   // bytes available to the caller
};

class IVolumes {
public:
    virtual ~IVolumes() = default;
    virtual QList<Volume> list() = 0;                       // "/" first, then in mount order
    virtual qint64 availableBytes(const QString& path) = 0; // free bytes of the file system holding path; 0 when unreadable
    // Every mount point that can hold files, those the drive list leaves out included (memory file systems,
    // loop devices, bind mounts): where an item can be trashed to. The drive list's roots by default.
    virtual QStringList mountPoints();
};

class LinuxVolumes : public IVolumes {
public:
    QList<Volume> list() override;
    qint64 availableBytes(const QString& path) override;
    QStringList mountPoints() override;
};

} // namespace plat
