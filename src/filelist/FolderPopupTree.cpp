#include "filelist/FolderPopupTree.h"
#include "filelist/FolderCombo.h"
#include "filelist/engine/RowFormats.h"
#include "filelist/engine/SubfolderReader.h"
#include "platform/Path.h"
#include "platform/Services.h"
#include "platform/ShellInfo.h"
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QCoreApplication>
#include <QThreadPool>
#include <algorithm>

namespace path = plat::path;

namespace {

constexpr int kBatchSize = 500;   // children added per event-loop turn

QIcon themeIcon(const QString& key, const QString& openKey = {})
{
    QIcon icon = QIcon::fromTheme(key);
    if (!openKey.isEmpty()) {
        const QIcon open = QIcon::fromTheme(openKey);
        for (const QSize& s : open.availableSizes())
            icon.addPixmap(open.pixmap(s), QIcon::Selected);
    }
    return icon;
}

} // namespace

// One background read of a node's children, then their addition in batches.
struct TLsDirTreeView::Load {
    QTreeWidgetItem* item = nullptr;
    std::atomic_bool stop{false};
    bool read = false;
    QList<filelist::Subfolder> children;
    qsizetype added = 0;
};

TLsDirTreeView::TLsDirTreeView(TLsDirTreeCombo28* combo)
    : QTreeWidget(combo), m_combo(combo), m_folderIcon(themeIcon(QStringLiteral("folder"), QStringLiteral("folder-open")))
{
    setWindowFlags(Qt::Popup);
    setAttribute(Qt::WA_NoMouseReplay);   // a click on the combo's button closes the tree without reopening it
    setObjectName(QStringLiteral("TLsDirTreeView"));
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEnabled(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    m_batchTimer.setInterval(0);
    connect(&m_batchTimer, &QTimer::timeout, this, &TLsDirTreeView::addBatch);
    connect(this, &QTreeWidget::itemExpanded, this, &TLsDirTreeView::itemExpanding);
}

TLsDirTreeView::~TLsDirTreeView()
{
    for (const auto& load : m_loads)
        load->stop = true;
}

QString TLsDirTreeView::nodePath(const QTreeWidgetItem* item)
{
    return item ? item->data(0, PathRole).toString() : QString();
}

TLsDirTreeView::Kind TLsDirTreeView::nodeKind(const QTreeWidgetItem* item)
{
    return Kind(item->data(0, KindRole).toInt());
}

TLsDirTreeView::LoadState TLsDirTreeView::loadState(const QTreeWidgetItem* item)
{
    return LoadState(item->data(0, StateRole).toInt());
}

void TLsDirTreeView::build(bool expandRoot)
{
    cancelLoads();
    setCurrentItem(nullptr);
    clear();
    auto* computer = new QTreeWidgetItem(QStringList{QStringLiteral("计算机")});
    computer->setData(0, PathRole, QStringLiteral("Drives"));
    computer->setData(0, KindRole, ComputerNode);
    computer->setData(0, StateRole, Loaded);
    computer->setIcon(0, themeIcon(QStringLiteral("computer")));
    addTopLevelItem(computer);
    if (plat::IVolumes* volumes = plat::services().volumes) {
        for (const plat::Volume& v : volumes->list())
            addDriveNode(v);
    }
    computer->setExpanded(expandRoot);
}

QTreeWidgetItem* TLsDirTreeView::addDriveNode(const plat::Volume& v)
{
    auto* node = new QTreeWidgetItem(QStringList{filelist::driveCaption(v)});
    node->setData(0, PathRole, path::withTrailingSep(v.root));
    node->setData(0, KindRole, DriveNode);
    node->setData(0, StateRole, NotLoaded);
    node->setData(0, DriveTypeRole, int(v.type));
    node->setIcon(0, themeIcon(plat::ShellInfo::driveIconKey(v.type)));
    node->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    computerNode()->addChild(node);
    return node;
}

void TLsDirTreeView::syncVolumes()
{
    QTreeWidgetItem* computer = computerNode();
    plat::IVolumes* volumes = plat::services().volumes;
    if (!computer || !volumes)
        return;
    const QList<plat::Volume> now = volumes->list();
    QStringList roots;
    for (const plat::Volume& v : now)
        roots << path::withTrailingSep(v.root);
    QStringList shown;
    QList<QTreeWidgetItem*> gone;
    for (int i = 0; i < computer->childCount(); ++i) {
        QTreeWidgetItem* node = computer->child(i);
        if (roots.contains(nodePath(node)))
            shown << nodePath(node);
        else
            gone << node;
    }
    if (!gone.isEmpty()) {
        cancelLoads();   // a removed node may be the one being loaded
        for (QTreeWidgetItem* node : gone) {
            if (currentItem() && (currentItem() == node || node->indexOfChild(currentItem()) >= 0 ||
                                  nodePath(currentItem()).startsWith(nodePath(node))))
                setCurrentItem(nullptr);
            delete node;
        }
    }
    for (qsizetype i = 0; i < now.size(); ++i) {
        if (!shown.contains(roots[i]))
            addDriveNode(now[i]);
    }
}

QTreeWidgetItem* TLsDirTreeView::driveNodeFor(const QString& folder) const
{
    QTreeWidgetItem* best = nullptr;
    QTreeWidgetItem* computer = computerNode();
    for (int i = 0; computer && i < computer->childCount(); ++i) {
        QTreeWidgetItem* node = computer->child(i);
        const QString root = nodePath(node);
        if (folder.startsWith(root) && (!best || root.size() > nodePath(best).size()))
            best = node;
    }
    return best;
}

QTreeWidgetItem* TLsDirTreeView::folderNode(const QString& parentPath, const QString& name, bool hasChildren) const
{
    auto* node = new QTreeWidgetItem(QStringList{name});
    node->setData(0, PathRole, QString(parentPath + name + path::kSep));
    node->setData(0, KindRole, FolderNode);
    node->setData(0, StateRole, NotLoaded);
    node->setIcon(0, m_folderIcon);
    node->setChildIndicatorPolicy(hasChildren ? QTreeWidgetItem::ShowIndicator
                                              : QTreeWidgetItem::DontShowIndicatorWhenChildless);
    return node;
}

void TLsDirTreeView::itemExpanding(QTreeWidgetItem* item)
{
    if (loadState(item) == NotLoaded)
        startLoad(item);
}

void TLsDirTreeView::loadChildrenNow(QTreeWidgetItem* item)
{
    if (loadState(item) == Loaded)
        return;
    if (loadState(item) == Loading) {
        // Finish a background load here: drop it and read again.
        for (auto it = m_loads.begin(); it != m_loads.end(); ++it) {
            if ((*it)->item == item) {
                (*it)->stop = true;
                m_loads.erase(it);
                break;
            }
        }
        qDeleteAll(item->takeChildren());
    }
    const QString parent = nodePath(item);
    QList<QTreeWidgetItem*> nodes;
    for (const filelist::Subfolder& s : filelist::readSubfolders(parent))
        nodes << folderNode(parent, s.name, s.hasChildren);
    item->addChildren(nodes);
    item->setData(0, StateRole, Loaded);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void TLsDirTreeView::startLoad(QTreeWidgetItem* item)
{
    item->setData(0, StateRole, Loading);
    auto load = std::make_shared<Load>();
    load->item = item;
    m_loads.push_back(load);
    const QString folder = nodePath(item);
    // The result goes back through the application object; a load is stopped (on the GUI thread) before its
    // tree or node goes, so a result that is not stopped still has both.
    QThreadPool::globalInstance()->start([load, folder, self = this] {
        QList<filelist::Subfolder> children = filelist::readSubfolders(folder, &load->stop);
        QMetaObject::invokeMethod(
            qApp,
            [load, self, children = std::move(children)]() mutable {
                if (load->stop)
                    return;
                load->children = std::move(children);
                load->read = true;
                self->m_batchTimer.start();
            },
            Qt::QueuedConnection);
    });
}

void TLsDirTreeView::addBatch()
{
    for (auto it = m_loads.begin(); it != m_loads.end(); ++it) {
        Load& load = **it;
        if (!load.read)
            continue;
        const QString parent = nodePath(load.item);
        QList<QTreeWidgetItem*> nodes;
        const qsizetype end = std::min(load.children.size(), load.added + kBatchSize);
        for (; load.added < end; ++load.added) {
            const filelist::Subfolder& s = load.children[load.added];
            nodes << folderNode(parent, s.name, s.hasChildren);
        }
        load.item->addChildren(nodes);
        if (load.added >= load.children.size()) {
            load.item->setData(0, StateRole, Loaded);
            load.item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
            m_loads.erase(it);
        }
        break;
    }
    const bool pending = std::any_of(m_loads.begin(), m_loads.end(), [](const auto& l) { return l->read; });
    if (!pending)
        m_batchTimer.stop();
}

void TLsDirTreeView::cancelLoads()
{
    m_batchTimer.stop();
    for (const auto& load : m_loads) {
        load->stop = true;
        // The node goes back to unloaded (its partial children dropped), so the next expansion reads again.
        qDeleteAll(load->item->takeChildren());
        load->item->setData(0, StateRole, NotLoaded);
        load->item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        load->item->setExpanded(false);
    }
    m_loads.clear();
}

void TLsDirTreeView::collapseSubtree(QTreeWidgetItem* item)
{
    if (!item)
        return;
    for (int i = 0; i < item->childCount(); ++i) {
        if (item->child(i)->isExpanded())
            collapseSubtree(item->child(i));
    }
    item->setExpanded(false);
}

bool TLsDirTreeView::onBranchArea(const QPoint& pos, QTreeWidgetItem* item) const
{
    return pos.x() < visualItemRect(item).left();
}

void TLsDirTreeView::mouseMoveEvent(QMouseEvent* e)
{
    // Hot tracking: the node under the pointer becomes the selected one.
    QTreeWidgetItem* item = itemAt(e->position().toPoint());
    if (item && item != currentItem() && !onBranchArea(e->position().toPoint(), item)) {
        setCurrentItem(item);
        ++m_hotMoves;
    }
    QTreeWidget::mouseMoveEvent(e);
}

bool TLsDirTreeView::event(QEvent* e)
{
    // While open the tree sees every press; one outside it closes the tree.
    if (e->type() == QEvent::MouseButtonPress &&
        !rect().contains(static_cast<QMouseEvent*>(e)->position().toPoint())) {
        hide();
        return true;
    }
    return QTreeWidget::event(e);
}

void TLsDirTreeView::mouseReleaseEvent(QMouseEvent* e)
{
    QTreeWidgetItem* item = itemAt(e->position().toPoint());
    if (e->button() == Qt::LeftButton && item && !onBranchArea(e->position().toPoint(), item)) {
        setCurrentItem(item);
        m_combo->pickNode(item, this);
        return;
    }
    QTreeWidget::mouseReleaseEvent(e);
}

void TLsDirTreeView::keyPressEvent(QKeyEvent* e)
{
    if (m_combo->handleKey(e)) {
        e->accept();
        return;
    }
    QTreeWidget::keyPressEvent(e);
}

void TLsDirTreeView::hideEvent(QHideEvent* e)
{
    setEnabled(false);
    QTreeWidget::hideEvent(e);
}
