#pragma once
#include "foldertree/engine/ShellNamespace.h"
#include <QThread>

// Reads the children of one folder off the GUI thread, for refreshes that must not stall the window
// (a change monitor's event on a folder of tens of thousands of entries). It works on its own snapshot
// of the request; the result is taken on the GUI thread after `finished`.
class TChildReadThread : public QThread {
    Q_OBJECT
public:
    TChildReadThread(const plat::ShellItem& parent, plat::EnumRequest request, QObject* owner = nullptr);
    ~TChildReadThread() override;
    QList<plat::ShellEntry> takeResult() { return std::move(m_result); }
    bool completed() const { return m_completed; }

protected:
    void run() override;

private:
    plat::ShellItem m_parent;
    plat::EnumRequest m_request;
    QList<plat::ShellEntry> m_result;
    bool m_completed = false;
};
