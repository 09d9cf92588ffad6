#pragma once
#include "foldertree/engine/DiscMonitorThread.h"
#include "foldertree/engine/ShellNamespace.h"
#include <QTreeWidgetItem>
#include <memory>

class ChildReadThread;
class TShellTree;

// A node of the folder tree: one namespace item with its attributes, the seen and filled marks used
// while its parent is re-read, and the change monitor of its folder.
class TShellnode : public QTreeWidgetItem {
public:
    TShellnode(TShellTree* tree, plat::ShellEntry entry);
    ~TShellnode() override;

    const plat::ShellEntry& Entry() const { return m_entry; }
    const plat::ShellItem& Item() const { return m_entry.item; }   // absolute item
    QString Key() const { return m_entry.key; }                     // identifier relative to the parent
    QString Path() const { return m_entry.item.path; }              // empty for virtual items
    quint32 Attributes() const { return m_entry.attributes; }
    bool Filled() const { return m_filled; }
    bool HasChildren() const { return m_hasChildren; }
    int OverlayIndex() const { return m_overlay; }                  // 0 shared, 1 link, -1 none
    TDiscMonitorThread* Monitor() const { return m_monitor.get(); }
    bool MonitorStarted() const { return m_monitorStarted; }

    TShellTree* tree() const { return m_tree; }
    TShellnode* parentNode() const { return static_cast<TShellnode*>(parent()); }
    TShellnode* childNode(int i) const { return static_cast<TShellnode*>(child(i)); }

    bool operator<(const QTreeWidgetItem& other) const override;
    // An in-place edit that ends with a text renames the item instead of setting the text.
    void setData(int column, int role, const QVariant& value) override;

private:
    friend class TShellTree;
    TShellTree* m_tree;
    plat::ShellEntry m_entry;
    bool m_seen = false;
    bool m_filled = false;
    bool m_hasChildren = false;
    bool m_monitorStarted = false;
    int m_overlay = -1;
    std::unique_ptr<TDiscMonitorThread> m_monitor;
    ChildReadThread* m_read = nullptr;   // a refresh being read off the GUI thread
    bool m_readAgain = false;
    quint64 m_generation = 0;             // bumped by every re-read applied to the node
    QList<plat::ShellEntry> m_lastRead;   // the read last applied, unfiltered (refreshes apply the difference)
    bool m_readStale = false;             // the children changed since: the next refresh is a full re-read
};
