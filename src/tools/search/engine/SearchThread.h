#pragma once
#include "tools/search/engine/FindTypes.h"
#include <QThread>
#include <memory>

namespace search {

class TFindFile;
struct SearchSnapshot;

// Runs the walk of a threaded search. Each event is stored in the thread's own fields and handed to the
// owner's thread, the worker waiting until the handler has returned. Its owner frees it when it has ended.
class TSearchThread : public QThread {
    Q_OBJECT
public:
    TSearchThread(TFindFile* owner, std::shared_ptr<const SearchSnapshot> snapshot);

protected:
    void run() override;

private:
    void deliver(void (TSearchThread::*event)());
    void syncNewFolder();
    void syncFound();

    TFindFile* m_owner;
    std::shared_ptr<const SearchSnapshot> m_snapshot;
    QString m_folder;               // the folder being reported
    TSearchRec m_rec;               // the entry being reported
    bool m_ignoreFolder = false;    // answer of the last OnNewFolder
};

} // namespace search
