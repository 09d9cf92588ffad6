#include "foldertree/engine/ChildReadThread.h"
#include "platform/Pump.h"

ChildReadThread::ChildReadThread(const plat::ShellItem& parent, plat::EnumRequest request,
                                   QList<plat::ShellEntry> previous, QObject* owner)
    : QThread(owner), m_parent(parent), m_request(std::move(request)), m_previous(std::move(previous))
{
    m_request.stop = [this] { return isInterruptionRequested(); };
}

ChildReadThread::~ChildReadThread()
{
    requestInterruption();
    plat::waitPumping(this);
    wait();
}

void ChildReadThread::run()
{
    m_result = plat::ShellNamespace::children(m_parent, m_request);
    if (isInterruptionRequested())
        return;
    m_delta = plat::ShellNamespace::diff(m_previous, m_result);
    m_previous.clear();
    m_completed = true;
}
