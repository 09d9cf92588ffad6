#pragma once
// The floating folder tree of the folder combo (`TLsDirTreeView`): the computer node, one node per mounted
// volume and the folders below them, loaded when a node is first expanded.
#include "platform/Volumes.h"
#include <QIcon>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <memory>
#include <vector>

class TLsDirTreeCombo28;

class TLsDirTreeView : public QTreeWidget {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole, KindRole, StateRole, DriveTypeRole };
    enum Kind { ComputerNode, DriveNode, FolderNode };
    enum LoadState { NotLoaded, Loading, Loaded };

    explicit TLsDirTreeView(TLsDirTreeCombo28* combo);
    ~TLsDirTreeView() override;

    // The computer node and the volumes, collapsed; the computer node expanded when asked.
    void build(bool expandRoot);
    // Adds nodes for volumes mounted since the last build and removes those of volumes gone.
    void syncVolumes();
    QTreeWidgetItem* computerNode() const { return topLevelItemCount() ? topLevelItem(0) : nullptr; }
    // The drive node of the volume that holds `folder` (the longest mount root above it), or null.
    QTreeWidgetItem* driveNodeFor(const QString& folder) const;

    static QString nodePath(const QTreeWidgetItem* item);   // "Drives" for the computer node
    static Kind nodeKind(const QTreeWidgetItem* item);
    static LoadState loadState(const QTreeWidgetItem* item);

    // Loads the children of `item` now, on this thread (the path walk needs them at once).
    void loadChildrenNow(QTreeWidgetItem* item);
    // Collapses `item` and every expanded node below it.
    void collapseSubtree(QTreeWidgetItem* item);
    // True while children are read or added in the background.
    bool loading() const { return !m_loads.empty(); }

    int hotTrackedMoves() const { return m_hotMoves; }

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
    bool event(QEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    struct Load;
    void itemExpanding(QTreeWidgetItem* item);
    void startLoad(QTreeWidgetItem* item);
    void addBatch();
    void cancelLoads();
    QTreeWidgetItem* addDriveNode(const plat::Volume& v);
    QTreeWidgetItem* folderNode(const QString& parentPath, const QString& name, bool hasChildren) const;
    bool onBranchArea(const QPoint& pos, QTreeWidgetItem* item) const;

    TLsDirTreeCombo28* m_combo;
    QIcon m_folderIcon;
    std::vector<std::shared_ptr<Load>> m_loads;
    QTimer m_batchTimer;   // adds read children a batch per event-loop turn
    int m_hotMoves = 0;
};
