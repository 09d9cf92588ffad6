#include "foldertree/ShellTree.h"
#include "foldertree/ShellTreeLock.h"
#include "foldertree/engine/ChildReadThread.h"
#include "platform/Path.h"
#include "platform/posix/VolumeWatcher.h"
#include <QHeaderView>

using plat::ShellItem;
using plat::ShellNamespace;

TShellTree::TShellTree(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    setAnimated(false);
    setSortingEnabled(false);
    setIndentation(19);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    header()->setResizeContentsPrecision(0);   // measure the rows in view only: wide folders stay cheap
    updateNotifyFilter();
    connect(this, &QTreeWidget::itemExpanded, this, &TShellTree::onItemExpanded);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        if (m_destroying)
            return;
        Q_EMIT changed(static_cast<TShellnode*>(current));
        Q_EMIT pathChanged(Path());
    });
    m_volumeWatcher = new plat::VolumeWatcher(this);
    connect(m_volumeWatcher, &plat::VolumeWatcher::volumesArrived, this, &TShellTree::VolumesArrived);
    connect(m_volumeWatcher, &plat::VolumeWatcher::volumesRemoved, this, &TShellTree::VolumesRemoved);
}

TShellTree::~TShellTree()
{
    m_destroying = true;
    // Readers first (their results are dropped), then the nodes with their monitors.
    const QList<ChildReadThread*> readers = m_reads.keys();
    m_reads.clear();
    qDeleteAll(readers);
    clear();
}

void TShellTree::showEvent(QShowEvent* e)
{
    ensureBuilt();
    QTreeWidget::showEvent(e);
}

void TShellTree::ensureBuilt()
{
    if (m_built)
        return;
    buildRoot(false);
    if (!m_pendingPath.isEmpty())
        navigate(std::exchange(m_pendingPath, QString()));
}

TShellnode* TShellTree::Selected() const
{
    return static_cast<TShellnode*>(currentItem());
}

QString TShellTree::Path() const
{
    if (!m_built)
        return m_pendingPath;
    const TShellnode* n = Selected();
    return n ? n->Path() : QString();
}

void TShellTree::setPath(const QString& v)
{
    const QString p = ShellNamespace::normalizePath(v);
    if (!m_built) {
        m_pendingPath = p;
        return;
    }
    navigate(p);
}

// Building the root: the special folder or directory becomes the only top-level node, expanded and
// selected. Rebuilding drops every node and with it every monitor.
void TShellTree::buildRoot(bool reselect)
{
    const QString remembered = m_built ? Path() : m_pendingPath;
    UpdateLock lock(this);
    m_root = nullptr;
    clear();
    ShellItem item;
    if (m_rootUsePIDL) {
        if (m_rootPIDL == PIDL_USERDEFINED && !m_userRoot.isNull())
            item = m_userRoot;
        else
            item = ShellNamespace::special(m_rootPIDL).value_or(ShellNamespace::desktop());
    } else {
        const ShellItem dir = ShellNamespace::fromPath(m_rootDir.isEmpty() ? QStringLiteral("/") : m_rootDir);
        item = plat::path::isDirectory(dir.path) ? dir : ShellNamespace::fromPath(QStringLiteral("/"));
    }
    plat::ShellEntry e = ShellNamespace::describe(item, enumRequest());
    auto* root = new TShellnode(this, std::move(e));
    m_root = root;
    setNodeLooks(root);
    setHasChildren(root, true);
    addTopLevelItem(root);
    m_built = true;
    root->setExpanded(true);
    if (!root->m_filled)
        ensureChildren(root);
    selectNode(root);
    if (!m_rootUsePIDL)
        m_rootDir = root->Path();
    if (reselect && !remembered.isEmpty())
        navigate(remembered);
}

void TShellTree::navigate(const QString& p)
{
    if (!m_root)
        return;
    if (p.isEmpty()) {
        selectNode(m_root);
        return;
    }
    if (Selected() && plat::path::samePath(p, Path()))
        return;
    TShellnode* n = findNode(ShellNamespace::fromPath(p), false);
    if (!n)
        return;
    n->setExpanded(true);
    selectNode(n);
}

// Walks down from the root towards `target`, expanding each level on the way. Returns the target's node,
// or the deepest node reached (nullptr with exactOnly).
TShellnode* TShellTree::findNode(const ShellItem& target, bool exactOnly)
{
    TShellnode* node = m_root;
    if (!node)
        return nullptr;
    const QStringList roots = ShellNamespace::volumeRoots();
    if (ShellNamespace::routeScore(node->Item(), target, roots) == ShellNamespace::kExact)
        return node;
    for (;;) {
        ensureChildren(node);
        TShellnode* best = nullptr;
        int bestScore = 0;
        for (int i = 0; i < node->childCount(); ++i) {
            TShellnode* c = node->childNode(i);
            const int s = ShellNamespace::routeScore(c->Item(), target, roots);
            if (s > bestScore) {
                bestScore = s;
                best = c;
            }
        }
        if (!best)
            return exactOnly ? nullptr : node;
        if (bestScore == ShellNamespace::kExact)
            return best;
        node = best;
    }
}

void TShellTree::ensureChildren(TShellnode* node)
{
    if (!node->isExpanded())
        node->setExpanded(true);   // fills the node unless OnExpanding vetoes
    else if (!node->m_filled) {
        readChildren(node, false);
        node->m_filled = true;
    }
}

void TShellTree::selectNode(TShellnode* node)
{
    if (!node)
        return;
    setCurrentItem(node);
    scrollToItem(node);
}

void TShellTree::onItemExpanded(QTreeWidgetItem* item)
{
    auto* node = static_cast<TShellnode*>(item);
    if (!m_built || m_destroying)
        return;
    bool allow = true;
    if (OnExpanding)
        OnExpanding(this, node, allow);
    if (!allow) {
        collapseItem(node);
        return;
    }
    if (m_updAuto || !node->m_filled) {
        readChildren(node, m_updAutoRec);
        node->m_filled = true;
    }
}

void TShellTree::GotoSpecialFolder(TPidls pidl)
{
    ensureBuilt();
    std::optional<ShellItem> item = pidl == PIDL_USERDEFINED
        ? (m_userRoot.isNull() ? std::nullopt : std::optional<ShellItem>(m_userRoot))
        : ShellNamespace::special(pidl);
    if (!item)
        return;
    if (TShellnode* n = findNode(*item, true))
        selectNode(n);
}

void TShellTree::SetUserDefinedRoot(const ShellItem& item)
{
    if (item == m_userRoot)
        return;
    m_userRoot = item;
    if (m_built && m_rootUsePIDL && m_rootPIDL == PIDL_USERDEFINED)
        buildRoot(false);
}

TShellnode* TShellTree::nodeForPath(const QString& p) const
{
    if (!m_root || p.isEmpty())
        return nullptr;
    const QStringList roots = ShellNamespace::volumeRoots();
    const ShellItem target = ShellNamespace::fromPath(p);
    TShellnode* node = m_root;
    for (;;) {
        if (ShellNamespace::routeScore(node->Item(), target, roots) == ShellNamespace::kExact)
            return node;
        TShellnode* best = nullptr;
        int bestScore = 0;
        for (int i = 0; i < node->childCount(); ++i) {
            const int s = ShellNamespace::routeScore(node->childNode(i)->Item(), target, roots);
            if (s > bestScore) {
                bestScore = s;
                best = node->childNode(i);
            }
        }
        if (!best)
            return nullptr;
        node = best;
    }
}

// --- Property setters ---

void TShellTree::setRootUsePIDL(bool v)
{
    if (v == m_rootUsePIDL)
        return;
    m_rootUsePIDL = v;
    if (m_built)
        buildRoot(false);
}

void TShellTree::setRootPIDL(TPidls v)
{
    if (v == m_rootPIDL)
        return;
    m_rootPIDL = v;
    if (m_built && m_rootUsePIDL)
        buildRoot(false);
}

void TShellTree::setRootDir(const QString& v)
{
    if (v == m_rootDir)
        return;
    m_rootDir = v;
    if (m_built && !m_rootUsePIDL)
        buildRoot(true);
}

void TShellTree::setOptions(TVisOptions v)
{
    if (v == m_options)
        return;
    m_options = v;
    updateNotifyFilter();
    settingsChanged();
    if (m_root)
        changeFilters(m_root);
    if (m_built)
        Refresh();
}

void TShellTree::setShowVirtualFolders(bool v)
{
    if (v == m_showVirtualFolders)
        return;
    m_showVirtualFolders = v;
    settingsChanged();
    if (m_built)
        Refresh();
}

void TShellTree::setShowSharedOverlay(bool v)
{
    if (v == m_showSharedOverlay)
        return;
    m_showSharedOverlay = v;
    if (m_built)
        Refresh();
}

void TShellTree::setShowLinkOverlay(bool v)
{
    if (v == m_showLinkOverlay)
        return;
    m_showLinkOverlay = v;
    if (m_built)
        Refresh();
}

void TShellTree::setShowIcons(bool v)
{
    if (v == m_showIcons)
        return;
    m_showIcons = v;
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        setNodeLooks(static_cast<TShellnode*>(*it));
}

void TShellTree::setFileMask(const QString& v)
{
    m_fileMask = v;
    m_mask = foldertree::TreeMask(v);
    settingsChanged();
    if (m_built && (m_options & TF_NONFOLDERS))
        Refresh();
}

void TShellTree::setFileMaskUse(bool v)
{
    if (v == m_fileMaskUse)
        return;
    m_fileMaskUse = v;
    settingsChanged();
    if (m_built && (m_options & TF_NONFOLDERS))
        Refresh();
}

void TShellTree::setFileSortType(TFileSortType v)
{
    m_fileSortType = v;
    if (m_root) {
        UpdateLock lock(this);
        resortAll(m_root);
    }
}

void TShellTree::setFileSortOrder(TFileSortOrder v)
{
    m_fileSortOrder = v;
    if (m_root) {
        UpdateLock lock(this);
        resortAll(m_root);
    }
}

void TShellTree::setShowLines(bool v)
{
    m_showLines = v;
    viewport()->update();
}

void TShellTree::settingsChanged()
{
    ++m_settingsSerial;   // refreshes read with the old settings are dropped
}

void TShellTree::updateNotifyFilter()
{
    m_notifyFilter = notify::ATTRIBUTES | ((m_options & TF_FOLDERS) ? notify::DIR_NAME : 0)
        | ((m_options & TF_NONFOLDERS) ? notify::FILE_NAME : 0);
}

// --- Suspend and resume (the delete command's WM_TREE_SUSPEND / WM_TREE_RESUME) ---

void TShellTree::suspend()
{
    m_suspended = true;
    setOptions(m_options & ~TVisOptions(TF_FOLDERS));
    if (m_root)
        releaseMonitors(m_root);
}

void TShellTree::resume()
{
    m_suspended = false;
    setOptions(m_options | TF_FOLDERS);
    if (m_root)
        restoreMonitors(m_root);
}
