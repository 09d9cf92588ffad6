#pragma once
#include "platform/Instances.h"
#include <QObject>

class QLocalServer;

namespace plat {

// Slots are local sockets "<runtime dir>/UOrvoO<n>", each claimed by an flock on "UOrvoO<n>.lock", so two
// instances started together never share a slot and a crashed instance frees its slot.
class LocalInstances : public QObject, public IInstances {
    Q_OBJECT
public:
    explicit LocalInstances(QObject* parent = nullptr);
    ~LocalInstances() override;

    int takeSlot() override;
    int slot() const override { return m_slot; }
    bool slotTaken(int n) override;
    void post(int message) override;
    void release() override;

    static QString socketPath(int n);

private:
    void onNewConnection();
    int m_slot = 0;
    int m_lockFd = -1;
    QLocalServer* m_server = nullptr;
};

} // namespace plat
