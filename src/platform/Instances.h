#pragma once
#include <QString>
#include <functional>

namespace plat {

// Inter-instance messages.
inline constexpr int WM_TREE_SUSPEND = 0x1405;  // 5125
inline constexpr int WM_TREE_RESUME = 0x1406;   // 5126
inline constexpr int kMaxInstances = 10;

// Instance slots 1..10, each a per-user local socket "UOrvoO<n>", and the messages posted between them.
class IInstances {
public:
    virtual ~IInstances() = default;
    // Takes the first free slot and listens on it; returns its number, or 0 when all ten are taken.
    virtual int takeSlot() = 0;
    virtual int slot() const = 0;                   // 0 before takeSlot or when none was free
    virtual bool slotTaken(int n) = 0;              // some running instance holds slot n
    // Posts the message to every running instance, this one included; nothing waits for the handling.
    virtual void post(int message) = 0;
    virtual void release() = 0;                     // frees this instance's slot
    std::function<void(int message)> onMessage;     // called on the GUI thread
};

} // namespace plat
