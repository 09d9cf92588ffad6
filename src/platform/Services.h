#pragma once

// One pointer per platform interface; main() fills them, tests swap fakes with ScopedServices.
namespace plat {

class IFileSystem;
class IVolumes;
class ILauncher;
class IInstances;
class IHotkeys;
class IProcessInfo;
class ICdrom;

struct Services {
    IFileSystem* fs = nullptr;
    IVolumes* volumes = nullptr;
    ILauncher* launcher = nullptr;
    IInstances* instances = nullptr;
    IHotkeys* hotkeys = nullptr;
    IProcessInfo* procs = nullptr;
    ICdrom* cdrom = nullptr;
};

Services& services();

// Fills the interfaces that need no application object with their Linux implementations.
void installDefaultServices();

class ScopedServices {
public:
    explicit ScopedServices(const Services& replacement) : m_saved(services()) { services() = replacement; }
    ~ScopedServices() { services() = m_saved; }
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;
private:
    Services m_saved;
};

} // namespace plat
