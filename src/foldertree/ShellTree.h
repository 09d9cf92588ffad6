#pragma once
#include "foldertree/Shellnode.h"
#include "foldertree/engine/ShellTypes.h"
#include "foldertree/engine/TreeMask.h"
#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include <QMenu>
namespace plat {
class VolumeWatcher;
}

// The folder tree over the shell namespace: desktop, the computer with its volumes, folders and on
// request files. Filled lazily on expansion, kept current by change monitors and volume events, sorted,
// filtered by an extension mask; items are renamed in place and have a context menu.
class TShellTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit TShellTree(QWidget* parent = nullptr);
    ~TShellTree() override;

    // --- Properties ---
    bool ShowVirtualFolders() const { return m_showVirtualFolders; }
    void setShowVirtualFolders(bool v);
    bool ShowSharedOverlay() const { return m_showSharedOverlay; }
    void setShowSharedOverlay(bool v);
    bool ShowLinkOverlay() const { return m_showLinkOverlay; }
    void setShowLinkOverlay(bool v);
    bool RootUsePIDL() const { return m_rootUsePIDL; }
    void setRootUsePIDL(bool v);
    TPidls RootPIDL() const { return m_rootPIDL; }
    void setRootPIDL(TPidls v);
    QString RootDir() const { return m_rootDir; }
    void setRootDir(const QString& v);
    TVisOptions Options() const { return m_options; }
    void setOptions(TVisOptions v);
    // File-system path of the selected node; empty when nothing is selected or the item is virtual.
    QString Path() const;
    // Normalises and selects the path's node, expanding on the way (the deepest node reached when the
    // rest cannot be walked). Before the tree is built the value is kept and applied when it is.
    void setPath(const QString& v);
    bool UpdAutoThread() const { return m_updAutoThread; }
    void setUpdAutoThread(bool v) { m_updAutoThread = v; }
    bool UpdAuto() const { return m_updAuto; }
    void setUpdAuto(bool v) { m_updAuto = v; }
    bool UpdAutoRec() const { return m_updAutoRec; }
    void setUpdAutoRec(bool v) { m_updAutoRec = v; }
    bool ShowIcons() const { return m_showIcons; }
    void setShowIcons(bool v);
    QString FileMask() const { return m_fileMask; }
    void setFileMask(const QString& v);
    bool FileMaskUse() const { return m_fileMaskUse; }
    void setFileMaskUse(bool v);
    TFileSortType FileSortType() const { return m_fileSortType; }
    void setFileSortType(TFileSortType v);
    TFileSortOrder FileSortOrder() const { return m_fileSortOrder; }
    void setFileSortOrder(TFileSortOrder v);
    TPopupMenuMode PopupMenuMode() const { return m_popupMenuMode; }
    void setPopupMenuMode(TPopupMenuMode v) { m_popupMenuMode = v; }
    QMenu* PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu* menu) { m_popupMenu = menu; }
    bool ShowMessages() const { return m_showMessages; }
    void setShowMessages(bool v) { m_showMessages = v; }
    bool ToolTips() const { return m_toolTips; }
    void setToolTips(bool v) { m_toolTips = v; }
    bool ReadOnly() const { return m_readOnly; }       // no in-place rename
    void setReadOnly(bool v) { m_readOnly = v; }
    bool ShowRoot() const { return rootIsDecorated(); } // lines and button at the root
    void setShowRoot(bool v) { setRootIsDecorated(v); }
    bool ShowLines() const { return m_showLines; }
    void setShowLines(bool v);
    quint32 NotifyFilter() const { return m_notifyFilter; }

    // --- Events (sender first) ---
    std::function<void(QObject* sender, const QString& filename, quint32 attributes, bool& allow)> OnFileAdd;
    std::function<void(QObject* sender, TShellnode* node, bool& allow)> OnPopupMenu;
    std::function<void(QObject* sender, TShellnode* node, QMenu* menu)> OnSystemContextMenu;
    std::function<void(QObject* sender, TShellnode* node, bool& allow)> OnExpanding;
    // Raised when an in-place edit ends with a text, before the rename; may change the text.
    std::function<void(QObject* sender, TShellnode* node, QString& text)> OnEdited;
    // The built-in menu's "打开&O" and "属性&A" for files; unset: open through the launcher, and a
    // read-only properties box.
    std::function<void(QObject* sender, TShellnode* node)> OnOpenItem;
    std::function<void(QObject* sender, TShellnode* node)> OnShowProperties;

    // --- Operations ---
    void ensureBuilt();                       // builds the root on first use (also on first show)
    bool isBuilt() const { return m_built; }
    TShellnode* Root() const { return m_root; }
    TShellnode* Selected() const;
    void GotoSpecialFolder(TPidls pidl);      // selects it when it can be reached from the root
    plat::ShellItem UserDefinedRoot() const { return m_userRoot; }
    void SetUserDefinedRoot(const plat::ShellItem& item);
    void Refresh();                           // re-reads the root and every expanded node below it
    void RefreshNode(TShellnode* node);       // re-reads one node's children now
    // Ends an in-place edit of `node` with `text`: OnEdited, then the rename. False when nothing changed.
    bool RenameNode(TShellnode* node, const QString& text);
    bool CanEdit(const TShellnode* node) const;
    void EditSelected();                      // focus and start editing the selected node
    // The node showing `path` among the nodes read so far (none is read for this), or nullptr.
    TShellnode* nodeForPath(const QString& path) const;

    // Release every change monitor and drop the folder nodes (TF_FOLDERS off) until resume(): no
    // folder stays watched. resume() sets TF_FOLDERS again and restores the monitors.
    void suspend();
    void resume();
    bool isSuspended() const { return m_suspended; }

    // Volume arrival and removal (the tree's own watcher reports them; callable directly).
    void VolumesArrived(const QStringList& roots);
    void VolumesRemoved(const QStringList& roots);
    plat::VolumeWatcher* volumeWatcher() const { return m_volumeWatcher; }

    // The built-in context menu of pmm_System mode, and carrying out its choice.
    std::unique_ptr<QMenu> systemMenu(TShellnode* node);
    void runSystemCommand(TShellnode* node, const QString& command);   // "open", "rename", "properties"
    // What a right click or the menu key does at a viewport point.
    void popupAt(const QPoint& viewportPos);

    int monitorCount() const;                 // monitors watching a folder now
    int pendingReads() const { return int(m_reads.size()); }
    int compareNodes(const TShellnode& a, const TShellnode& b) const;
    int compareEntries(const plat::ShellEntry& a, const plat::ShellEntry& b) const;

Q_SIGNALS:
    void changed(TShellnode* node);           // the selection changed (also by rebuilds and re-reads)
    void pathChanged(const QString& path);    // Path() after a selection change

protected:
    void showEvent(QShowEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    friend class TShellnode;
    class UpdateLock;
    void buildRoot(bool reselect);
    void navigate(const QString& path);
    TShellnode* findNode(const plat::ShellItem& target, bool exactOnly);
    void ensureChildren(TShellnode* node);
    void selectNode(TShellnode* node);
    void onItemExpanded(QTreeWidgetItem* item);

    plat::EnumRequest enumRequest() const;
    bool accept(const plat::ShellEntry& e);
    void readChildren(TShellnode* node, bool recursive);
    void applyChildren(TShellnode* node, const QList<plat::ShellEntry>& entries);
    void applyDelta(TShellnode* node, const plat::ChildDelta& delta, const QList<plat::ShellEntry>& entries);
    void settleChild(TShellnode* child, bool isNew);
    TShellnode* childFor(TShellnode* node, const plat::ShellEntry& read);
    void forgetRead(TShellnode* node);
    void addNewChildren(TShellnode* node, const QList<TShellnode*>& added, bool& resort);
    void finishChildren(TShellnode* node, bool resort);
    bool updateNode(TShellnode* node, const plat::ShellEntry& entry);
    void setNodeLooks(TShellnode* node);
    void setHasChildren(TShellnode* node, bool has);
    void sortNode(TShellnode* node);
    void resortAll(TShellnode* node);
    void settingsChanged();

    void startMonitor(TShellnode* node);
    void monitorRefresh(TShellnode* node);
    void requestRead(TShellnode* node);
    void readFinished(ChildReadThread* reader);
    void nodeGone(TShellnode* node);
    void releaseMonitors(TShellnode* node);
    void restoreMonitors(TShellnode* node);
    void changeFilters(TShellnode* node);
    void updateNotifyFilter();
    void renamePaths(TShellnode* node, const QString& oldPath, const QString& newPath);

    TShellnode* computerNode() const;
    QIcon iconFor(const plat::ShellEntry& e, int overlay);
    bool messagesAllowed() const { return m_showMessages && m_quiet == 0; }
    void showProperties(TShellnode* node);

    // Properties
    bool m_showVirtualFolders = true;
    bool m_showSharedOverlay = true;
    bool m_showLinkOverlay = true;
    bool m_rootUsePIDL = true;
    TPidls m_rootPIDL = PIDL_DESKTOP;
    QString m_rootDir = QStringLiteral("/");
    TVisOptions m_options = TF_FOLDERS;
    bool m_updAutoThread = true;
    bool m_updAuto = true;
    bool m_updAutoRec = false;
    bool m_showIcons = true;
    QString m_fileMask = QStringLiteral("*.*");
    foldertree::TreeMask m_mask;
    bool m_fileMaskUse = false;
    TFileSortType m_fileSortType = so_Name;
    TFileSortOrder m_fileSortOrder = so_Ascending;
    TPopupMenuMode m_popupMenuMode = pmm_System;
    QPointer<QMenu> m_popupMenu;
    bool m_showMessages = true;
    bool m_toolTips = true;
    bool m_readOnly = false;
    bool m_showLines = true;

    // State
    bool m_built = false;
    bool m_destroying = false;
    bool m_suspended = false;
    QString m_pendingPath;
    TShellnode* m_root = nullptr;
    plat::ShellItem m_userRoot;
    quint32 m_notifyFilter = 6;
    quint64 m_settingsSerial = 0;
    int m_lockDepth = 0;
    int m_quiet = 0;                 // > 0: shell messages suppressed
    int m_wheelSum = 0;
    struct Read {
        TShellnode* node = nullptr;
        quint64 generation = 0;
        quint64 settings = 0;
        bool delta = false;   // the node's last read describes its children: the difference can be applied
    };
    QHash<ChildReadThread*, Read> m_reads;
    QHash<QString, QIcon> m_icons;
    plat::VolumeWatcher* m_volumeWatcher = nullptr;
};
