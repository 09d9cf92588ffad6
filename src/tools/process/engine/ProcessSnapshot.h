#pragma once
#include "tools/process/engine/ProcessRows.h"
#include <QThread>
#include <QVector>

namespace plat {
class IProcessInfo;
}

namespace process {

// The process rows of one snapshot with their icons.
QVector<ListRow> processRows(plat::IProcessInfo& info);
// The module rows of one process; each row's icon is the one associated with its path.
QVector<ListRow> moduleRows(plat::IProcessInfo& info, quint32 pid);
// The window rows the options admit, with the owners' executables and the class icons.
QVector<ListRow> windowRows(plat::IProcessInfo& info, const WindowOptions& options);

// Reads a process snapshot on its own thread, so that the window stays responsive; rows() holds the
// result once the thread has finished.
class ProcessSnapshotThread : public QThread {
    Q_OBJECT
public:
    explicit ProcessSnapshotThread(plat::IProcessInfo& info, QObject* parent = nullptr)
        : QThread(parent), m_info(info) {}
    QVector<ListRow> takeRows() { return std::move(m_rows); }

protected:
    void run() override { m_rows = processRows(m_info); }

private:
    plat::IProcessInfo& m_info;
    QVector<ListRow> m_rows;
};

} // namespace process
