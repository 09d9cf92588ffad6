#include "platform/Services.h"
#include "platform/Cdrom.h"
#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/ProcessInfo.h"
#include "platform/Volumes.h"

namespace plat {

Services& services()
{
    static Services s;
    return s;
}

void installDefaultServices()
{
    static LinuxFileSystem fs;
    static LinuxVolumes volumes;
    static LinuxLauncher launcher;
    static LinuxCdrom cdrom;
    static LinuxProcessInfo procs;   // main() hands it the display's windows
    Services& s = services();
    s.fs = &fs;
    s.volumes = &volumes;
    s.launcher = &launcher;
    s.procs = &procs;
    s.cdrom = &cdrom;
}

} // namespace plat
