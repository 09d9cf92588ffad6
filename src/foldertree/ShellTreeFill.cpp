// Reading children into the tree: full re-reads, the add-or-update of each item, sorting, the change
// monitors with their refreshes off the GUI thread, and volume arrival and removal.
#include "foldertree/ShellTree.h"
#include "foldertree/ShellTreeLock.h"
#include "foldertree/engine/ChildReadThread.h"
#include "platform/Path.h"
#include "ui/WaitCursor.h"
#include <QSet>
#include <algorithm>

using plat::ShellEntry;
using plat::ShellNamespace;

namespace {
constexpr int kBulkInsert = 32;   // more new children than this are appended and sorted at once
constexpr int kDeltaLimit = 256;  // larger differences are applied as a full re-read
}

plat::EnumRequest TShellTree::enumRequest() const
{
    plat::EnumRequest r;
    r.flags = quint32(m_options.toInt());
    if (m_fileMaskUse && (m_options & TF_NONFOLDERS))
        r.mask = m_mask;
    return r;
}

// The admission of one enumerated item (virtual items, the file mask, OnFileAdd).
bool TShellTree::accept(const ShellEntry& e)
{
    const bool fileSystem = e.attributes & (sfgao::FILESYSTEM | sfgao::FILESYSANCESTOR);
    if (!m_showVirtualFolders && !fileSystem)
        return false;
    if ((m_options & TF_NONFOLDERS) && fileSystem && !e.isFolder()) {
        if (m_fileMaskUse && !m_mask.matches(plat::path::namePart(e.parsingName())))
            return false;
        if (OnFileAdd) {
            bool allow = true;
            OnFileAdd(this, e.item.path, e.attributes, allow);
            if (!allow)
                return false;
        }
    }
    return true;
}

void TShellTree::Refresh()
{
    ensureBuilt();
    if (m_root)
        readChildren(m_root, true);
}

void TShellTree::RefreshNode(TShellnode* node)
{
    if (node)
        readChildren(node, false);
}

// Re-reads a node's children on the GUI thread; `recursive` also re-reads its expanded descendants.
void TShellTree::readChildren(TShellnode* node, bool recursive)
{
    ui::WaitCursor wait;
    UpdateLock lock(this);
    applyChildren(node, ShellNamespace::children(node->Item(), enumRequest()));
    if (!recursive)
        return;
    for (int i = 0; i < node->childCount(); ++i) {
        TShellnode* c = node->childNode(i);
        if (c->isExpanded())
            readChildren(c, true);
    }
}

void TShellTree::applyChildren(TShellnode* node, const QList<ShellEntry>& entries)
{
    UpdateLock lock(this);
    ++node->m_generation;
    node->m_lastRead = entries;
    node->m_readStale = false;
    const int before = node->childCount();
    QHash<QString, TShellnode*> byKey;
    byKey.reserve(before);
    for (int i = 0; i < before; ++i) {
        TShellnode* c = node->childNode(i);
        c->m_seen = false;
        byKey.insert(c->Key(), c);
    }
    QList<TShellnode*> added;
    QList<TShellnode*> updated;
    bool resort = false;
    for (const ShellEntry& e : entries) {
        TShellnode* existing = byKey.value(e.key);
        if (!accept(e)) {
            if (existing)
                existing->m_seen = false;
            continue;
        }
        if (existing) {
            existing->m_seen = true;
            resort |= updateNode(existing, e);
            updated.append(existing);
        } else {
            auto* n = new TShellnode(this, e);
            n->m_seen = true;
            setNodeLooks(n);
            added.append(n);
        }
    }
    // Children that were not seen go, with their monitors.
    int unseen = 0;
    for (int i = 0; i < before; ++i)
        unseen += node->childNode(i)->m_seen ? 0 : 1;
    if (unseen == before && before > 0) {
        qDeleteAll(node->takeChildren());
    } else if (unseen > 0) {
        for (int i = node->childCount() - 1; i >= 0; --i)
            if (!node->childNode(i)->m_seen)
                delete node->takeChild(i);
    }
    for (TShellnode* c : updated)
        settleChild(c, false);
    addNewChildren(node, added, resort);
    finishChildren(node, resort);
}

// A monitor's refresh: only the entries that changed since the node's last read are looked at, each
// found by its sort position, so a folder of tens of thousands of children is refreshed without walking
// all of them. Entries the last read did not have have no node yet.
void TShellTree::applyDelta(TShellnode* node, const plat::ChildDelta& delta, const QList<ShellEntry>& entries)
{
    UpdateLock lock(this);
    ++node->m_generation;
    QList<TShellnode*> doomed;
    QList<TShellnode*> added;
    bool resort = false;
    for (const ShellEntry& old : delta.removed)
        if (TShellnode* c = childFor(node, old))
            doomed.append(c);
    QList<TShellnode*> targets;
    for (const ShellEntry& old : delta.previous)
        targets.append(childFor(node, old));
    auto take = [&](const ShellEntry& e, TShellnode* c) {
        if (!accept(e)) {
            if (c)
                doomed.append(c);
        } else if (c) {
            resort |= updateNode(c, e);
            settleChild(c, false);
        } else {
            auto* n = new TShellnode(this, e);
            setNodeLooks(n);
            added.append(n);
        }
    };
    for (qsizetype i = 0; i < delta.changed.size(); ++i)
        take(delta.changed[i], targets[i]);
    for (const ShellEntry& e : delta.added)
        take(e, nullptr);
    node->m_lastRead = entries;
    node->m_readStale = false;
    qDeleteAll(doomed);   // each leaves its parent as it goes
    addNewChildren(node, added, resort);
    finishChildren(node, resort);
}

void TShellTree::forgetRead(TShellnode* node)
{
    node->m_lastRead.clear();
    node->m_readStale = true;
    ++node->m_generation;   // a refresh read meanwhile is dropped and read again
}

// The child shown for an earlier read of an entry: found by its sort position among the (sorted)
// children; a read the tree did not accept has no node.
TShellnode* TShellTree::childFor(TShellnode* node, const ShellEntry& read)
{
    int lo = 0, hi = node->childCount();
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (compareEntries(node->childNode(mid)->m_entry, read) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (int i = lo; i < node->childCount() && compareEntries(node->childNode(i)->m_entry, read) == 0; ++i)
        if (node->childNode(i)->Key() == read.key)
            return node->childNode(i);
    return nullptr;
}

// Has-children of a child: its sub-folder attribute; with files listed a folder without sub-folders has
// children when it is expanded or a probe found one. A child without children loses its filled mark and
// its child nodes, and gets a monitor of its own.
void TShellTree::settleChild(TShellnode* c, bool isNew)
{
    bool has = c->m_entry.hasSubFolder();
    if (!has && (m_options & TF_NONFOLDERS) && c->m_entry.isFolder())
        has = (!isNew && c->isExpanded()) || c->m_entry.anyChild;
    setHasChildren(c, has);
    if (!has) {
        c->m_filled = false;
        if (c->childCount() > 0)
            qDeleteAll(c->takeChildren());
        forgetRead(c);
        if (!c->m_monitorStarted)
            startMonitor(c);
    }
}

// New children go in place when few (the others are sorted already), else appended and sorted at once.
void TShellTree::addNewChildren(TShellnode* node, const QList<TShellnode*>& added, bool& resort)
{
    for (TShellnode* c : added)
        settleChild(c, true);
    if (added.isEmpty())
        return;
    if (resort || added.size() > kBulkInsert || node->childCount() == 0) {
        node->addChildren(QList<QTreeWidgetItem*>(added.begin(), added.end()));
        resort = true;
        return;
    }
    for (TShellnode* n : added) {
        int lo = 0, hi = node->childCount();
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            if (compareNodes(*node->childNode(mid), *n) <= 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        node->insertChild(lo, n);
    }
}

void TShellTree::finishChildren(TShellnode* node, bool resort)
{
    // The first child added under a node starts its monitor; so does finding the node empty, so that an
    // empty folder (the root too) shows what is created in it later.
    if (!node->m_monitorStarted)
        startMonitor(node);
    setHasChildren(node, node->childCount() > 0);
    if (resort)
        sortNode(node);
}

// Takes a fresh entry for an existing node; true when its sort position may have changed.
bool TShellTree::updateNode(TShellnode* node, const ShellEntry& entry)
{
    const ShellEntry& old = node->m_entry;
    const bool moved = old.displayName != entry.displayName || old.rank != entry.rank
        || old.isFolder() != entry.isFolder() || old.size != entry.size || old.modifiedNs != entry.modifiedNs
        || old.typeName != entry.typeName;
    const bool looks = moved || old.attributes != entry.attributes || old.icon != entry.icon
        || old.openIcon != entry.openIcon;
    node->m_entry = entry;
    if (looks)
        setNodeLooks(node);
    return moved;
}

void TShellTree::setNodeLooks(TShellnode* node)
{
    const ShellEntry& e = node->m_entry;
    QString text = node == m_root || e.displayName.isEmpty() ? e.parsingName() : e.displayName;
    if (node->text(0) != text)
        node->QTreeWidgetItem::setData(0, Qt::DisplayRole, text);
    int overlay = -1;
    if (m_showSharedOverlay && (e.attributes & sfgao::SHARE))
        overlay = 0;
    else if (m_showLinkOverlay && (e.attributes & sfgao::LINK))
        overlay = 1;
    node->m_overlay = overlay;
    node->setIcon(0, iconFor(e, overlay));
}

void TShellTree::setHasChildren(TShellnode* node, bool has)
{
    node->m_hasChildren = has;
    const auto policy = has ? QTreeWidgetItem::ShowIndicator : QTreeWidgetItem::DontShowIndicator;
    if (node->childIndicatorPolicy() != policy)
        node->setChildIndicatorPolicy(policy);
}

int TShellTree::compareNodes(const TShellnode& a, const TShellnode& b) const
{
    return compareEntries(a.m_entry, b.m_entry);
}

int TShellTree::compareEntries(const ShellEntry& x, const ShellEntry& y) const
{
    const quint32 fs = sfgao::FILESYSTEM | sfgao::FILESYSANCESTOR;
    const bool filesPair = !x.isFolder() && !y.isFolder() && (x.attributes & fs) && (y.attributes & fs);
    if (!filesPair)
        return ShellNamespace::compare(x, y, 0);
    const int r = ShellNamespace::compare(x, y, int(m_fileSortType));
    // The file order is inverted: so_Ascending lists files in descending key order.
    return m_fileSortOrder == so_Ascending ? -r : r;
}

void TShellTree::sortNode(TShellnode* node)
{
    const int n = node->childCount();
    bool sorted = true;
    for (int i = 1; i < n && sorted; ++i)
        sorted = compareNodes(*node->childNode(i - 1), *node->childNode(i)) <= 0;
    if (!sorted)
        node->sortChildren(0, Qt::AscendingOrder);
}

void TShellTree::resortAll(TShellnode* node)
{
    sortNode(node);
    for (int i = 0; i < node->childCount(); ++i)
        if (node->childNode(i)->childCount() > 0)
            resortAll(node->childNode(i));
}

// --- Change monitors ---

void TShellTree::startMonitor(TShellnode* node)
{
    node->m_monitorStarted = true;
    if (m_suspended || node->m_monitor)
        return;
    const QString p = node->Path();
    if (p.trimmed().isEmpty())
        return;   // a virtual item gets no monitor
    node->m_monitor = std::make_unique<TDiscMonitorThread>(p, m_notifyFilter, [this, node] { monitorRefresh(node); });
    node->m_monitor->Start();
}

void TShellTree::monitorRefresh(TShellnode* node)
{
    if (!m_updAutoThread || m_destroying)
        return;
    requestRead(node);
}

// A monitor's refresh reads the folder off the GUI thread and applies the result here, so a folder of
// tens of thousands of entries does not stall the window. One read per node at a time; changes that
// arrive meanwhile are read again afterwards.
void TShellTree::requestRead(TShellnode* node)
{
    if (node->m_read) {
        node->m_readAgain = true;
        return;
    }
    auto* reader = new ChildReadThread(node->Item(), enumRequest(), node->m_lastRead);
    node->m_read = reader;
    m_reads.insert(reader, Read{node, node->m_generation, m_settingsSerial, !node->m_readStale || node->childCount() == 0});
    connect(reader, &QThread::finished, this, [this, reader] { readFinished(reader); }, Qt::QueuedConnection);
    reader->start();
}

void TShellTree::readFinished(ChildReadThread* reader)
{
    auto it = m_reads.find(reader);
    if (it == m_reads.end())
        return;
    const Read r = it.value();
    m_reads.erase(it);
    const QList<ShellEntry> entries = reader->takeResult();
    const plat::ChildDelta& delta = reader->delta();   // the reader is deleted later
    const bool complete = reader->completed();
    reader->deleteLater();
    TShellnode* node = r.node;
    if (!node)
        return;   // the node went meanwhile
    node->m_read = nullptr;
    const bool current = complete && r.generation == node->m_generation && r.settings == m_settingsSerial;
    if (current && m_updAutoThread) {
        ++m_quiet;   // no shell messages during a monitor's refresh
        if (r.delta && delta.size() <= kDeltaLimit)
            applyDelta(node, delta, entries);
        else
            applyChildren(node, entries);
        --m_quiet;
    } else if (!current) {
        node->m_readAgain = true;   // read with old settings or against an outdated last read: again
    }
    if (std::exchange(node->m_readAgain, false) && m_updAutoThread)
        requestRead(node);
}

void TShellTree::nodeGone(TShellnode* node)
{
    if (node == m_root)
        m_root = nullptr;
    if (node->m_read) {
        auto it = m_reads.find(node->m_read);
        if (it != m_reads.end())
            it->node = nullptr;
    }
}

void TShellTree::releaseMonitors(TShellnode* node)
{
    node->m_monitor.reset();
    for (int i = 0; i < node->childCount(); ++i)
        releaseMonitors(node->childNode(i));
}

void TShellTree::restoreMonitors(TShellnode* node)
{
    if (node->m_monitorStarted && !node->m_monitor)
        startMonitor(node);
    for (int i = 0; i < node->childCount(); ++i)
        restoreMonitors(node->childNode(i));
}

void TShellTree::changeFilters(TShellnode* node)
{
    if (node->m_monitor)
        node->m_monitor->ChangeFilter(m_notifyFilter);
    for (int i = 0; i < node->childCount(); ++i)
        changeFilters(node->childNode(i));
}

int TShellTree::monitorCount() const
{
    int n = 0;
    for (QTreeWidgetItemIterator it(const_cast<TShellTree*>(this)); *it; ++it) {
        const TShellnode* node = static_cast<const TShellnode*>(*it);
        if (node->m_monitor && node->m_monitor->Watching())
            ++n;
    }
    return n;
}

// --- Volume arrival and removal ---

TShellnode* TShellTree::computerNode() const
{
    if (!m_root)
        return nullptr;
    if (m_root->Item().id == QLatin1String("drives"))
        return m_root;
    if (m_root->Item().id.isEmpty())
        return nullptr;   // only the desktop or a single-level item holds the computer node
    for (int i = 0; i < m_root->childCount(); ++i)
        if (m_root->childNode(i)->Item().id == QLatin1String("drives"))
            return m_root->childNode(i);
    return nullptr;
}

namespace {
bool affected(const QString& path, const QStringList& roots)
{
    for (const QString& r : roots)
        if (plat::path::samePath(path, r) || plat::path::isUnder(path, r))
            return true;
    return false;
}
} // namespace

void TShellTree::VolumesArrived(const QStringList& roots)
{
    if (!m_built)
        return;
    UpdateLock lock(this);
    ++m_quiet;
    if (TShellnode* computer = computerNode(); computer && computer->m_filled) {
        readChildren(computer, false);
        for (int i = 0; i < computer->childCount(); ++i) {
            TShellnode* c = computer->childNode(i);
            if ((c->Attributes() & sfgao::FILESYSTEM) && affected(c->Path(), roots)) {
                if (c->m_filled)
                    readChildren(c, false);
                setHasChildren(c, true);
            }
        }
    }
    if (m_root && m_root->Item().id.isEmpty() && roots.contains(m_root->Path()))
        readChildren(m_root, false);
    --m_quiet;
}

void TShellTree::VolumesRemoved(const QStringList& roots)
{
    if (!m_built)
        return;
    UpdateLock lock(this);
    ++m_quiet;
    if (TShellnode* computer = computerNode(); computer && computer->m_filled) {
        for (int i = 0; i < computer->childCount(); ++i) {
            TShellnode* c = computer->childNode(i);
            if ((c->Attributes() & sfgao::FILESYSTEM) && affected(c->Path(), roots)) {
                c->setExpanded(false);
                qDeleteAll(c->takeChildren());
                forgetRead(c);
                c->m_filled = false;
                setHasChildren(c, true);
            }
        }
        readChildren(computer, false);   // volumes no longer mounted leave the computer node
    }
    if (m_root && m_root->Item().id.isEmpty() && roots.contains(m_root->Path()))
        readChildren(m_root, false);
    --m_quiet;
}
