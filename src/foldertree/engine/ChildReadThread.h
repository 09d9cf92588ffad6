#pragma once
#include "foldertree/engine/ShellNamespace.h"
#include <QThread>

// Reads the children of one folder off the GUI thread, for refreshes that must not stall the window
// (a change monitor's event on a folder of tens of thousands of entries). It works on its own snapshot
// of the request; the result is taken on the GUI thread after `finished`.
class ChildReadThread : public QThread {
    Q_OBJECT
public:
    // `previous` is the folder's last read as the tree applied it; the thread reports the difference too.
    ChildReadThread(const plat::ShellItem& parent, plat::EnumRequest request,
                     QList<plat::ShellEntry> previous = {}, QObject* owner = nullptr);
    ~ChildReadThread() override;
    QList<plat::ShellEntry> takeResult() { return std::move(m_result); }
    const plat::ChildDelta& delta() const { return m_delta; }
    bool completed() const { return m_completed; }

protected:
    void run() override;

private:
    plat::ShellItem m_parent;
    plat::EnumRequest m_request;
    QList<plat::ShellEntry> m_previous;
    QList<plat::ShellEntry> m_result;
    plat::ChildDelta m_delta;
    bool m_completed = false;
};
