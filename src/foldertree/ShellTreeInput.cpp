// The tree's interaction: in-place rename, the context menu, the mouse wheel, tips, connector lines
// and node icons.
#include "foldertree/ShellTree.h"
#include "foldertree/ShellTreeLock.h"
#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "platform/Launcher.h"
#include "platform/Path.h"
#include "platform/NumberFormat.h"
#include "platform/Services.h"
#include "platform/Times.h"
#include "platform/posix/Executable.h"
#include "ui/Dialogs.h"
#include "ui/IconCache.h"
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>

using plat::ShellEntry;
using plat::ShellNamespace;

// --- In-place rename ---

bool TShellTree::CanEdit(const TShellnode* node) const
{
    return node && node != m_root && !m_readOnly && (node->Attributes() & sfgao::CANRENAME);
}

void TShellTree::EditSelected()
{
    TShellnode* node = Selected();
    if (!CanEdit(node))
        return;
    setFocus();
    scrollToItem(node);
    editItem(node, 0);
}

bool TShellTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (index.isValid() && !CanEdit(static_cast<TShellnode*>(itemFromIndex(index))))
        return false;
    return QTreeWidget::edit(index, trigger, event);
}

bool TShellTree::RenameNode(TShellnode* node, const QString& text)
{
    if (!node)
        return false;
    QString newText = text;
    if (OnEdited)
        OnEdited(this, node, newText);
    const QString oldPath = node->Path();
    if (newText.isEmpty() || oldPath.isEmpty() || newText == plat::path::namePart(oldPath))
        return false;   // nothing to rename: the old text stays
    plat::ShellItem renamed;
    try {
        renamed = ShellNamespace::rename(node->Item(), newText);
    } catch (const plat::EShellError& err) {
        if (messagesAllowed())
            ui::Dialogs::get().error(this, err.message());
        return false;
    }
    UpdateLock lock(this);
    ShellEntry e = ShellNamespace::describe(renamed, enumRequest());
    e.key = newText;
    e.rank = node->m_entry.rank;
    node->m_entry = std::move(e);
    for (int i = 0; i < node->childCount(); ++i)
        renamePaths(node->childNode(i), oldPath, renamed.path);
    // The old watch ends with the move of its folder; the folder is watched again under its new name.
    if (node->m_monitor) {
        node->m_monitor.reset();
        startMonitor(node);
    }
    setNodeLooks(node);
    if (TShellnode* parent = node->parentNode()) {
        forgetRead(parent);   // its next refresh is a full re-read: its last read knows the old name
        sortNode(parent);
    }
    if (node == Selected()) {
        Q_EMIT changed(node);
        Q_EMIT pathChanged(Path());
    }
    return true;
}

void TShellTree::renamePaths(TShellnode* node, const QString& oldPath, const QString& newPath)
{
    QString& p = node->m_entry.item.path;
    if (plat::path::isUnder(p, oldPath))
        p = newPath + p.mid(oldPath.size());
    for (int i = 0; i < node->childCount(); ++i)
        renamePaths(node->childNode(i), oldPath, newPath);
}

// --- Context menu ---

void TShellTree::contextMenuEvent(QContextMenuEvent* e)
{
    QPoint pos = e->pos();
    if (e->reason() == QContextMenuEvent::Keyboard) {
        TShellnode* node = Selected();
        if (!node)
            return;
        pos = visualItemRect(node).center();
    }
    popupAt(pos);
    e->accept();
}

void TShellTree::popupAt(const QPoint& viewportPos)
{
    auto* node = static_cast<TShellnode*>(itemAt(viewportPos));
    if (!node)
        return;
    const QPersistentModelIndex previous(currentIndex());
    const QPersistentModelIndex target(indexFromItem(node));
    setCurrentItem(node);
    auto restore = [&] {
        if (previous.isValid())
            setCurrentIndex(previous);
    };
    bool allow = true;
    if (OnPopupMenu)
        OnPopupMenu(this, node, allow);
    if (!allow) {
        restore();
        return;
    }
    const QPoint global = viewport()->mapToGlobal(viewportPos);
    QString command;
    if (m_popupMenuMode == pmm_PopupMenu) {
        if (m_popupMenu)
            m_popupMenu->exec(global);
    } else {
        std::unique_ptr<QMenu> menu = systemMenu(node);
        if (OnSystemContextMenu)
            OnSystemContextMenu(this, node, menu.get());
        if (QAction* chosen = menu->exec(global))
            command = chosen->data().toString();
    }
    restore();
    // The menu ran its own event loop: the node may have gone meanwhile.
    if (!command.isEmpty() && target.isValid())
        runSystemCommand(static_cast<TShellnode*>(itemFromIndex(target)), command);
}

std::unique_ptr<QMenu> TShellTree::systemMenu(TShellnode* node)
{
    auto menu = std::make_unique<QMenu>(this);
    menu->addAction(QStringLiteral("打开&O"))->setData(QStringLiteral("open"));
    if (CanEdit(node))
        menu->addAction(QStringLiteral("改名&R"))->setData(QStringLiteral("rename"));
    if (node && !node->Path().isEmpty())
        menu->addAction(QStringLiteral("属性&A"))->setData(QStringLiteral("properties"));
    return menu;
}

void TShellTree::runSystemCommand(TShellnode* node, const QString& command)
{
    if (!node)
        return;
    if (command == QLatin1String("rename")) {
        selectNode(node);
        EditSelected();
    } else if (command == QLatin1String("open")) {
        if (node->Entry().isFolder()) {
            selectNode(node);
            node->setExpanded(true);
        } else if (OnOpenItem) {
            OnOpenItem(this, node);
        } else if (plat::ILauncher* l = plat::services().launcher) {
            // Programs start directly; everything else opens with the user's handler.
            const QString p = node->Path();
            if (plat::posix::isElfProgram(p))
                l->startDetached(p, {}, plat::path::folderPart(p));
            else
                l->openUrl(QUrl::fromLocalFile(p));
        }
    } else if (command == QLatin1String("properties")) {
        if (OnShowProperties)
            OnShowProperties(this, node);
        else
            showProperties(node);
    }
}

void TShellTree::showProperties(TShellnode* node)
{
    const QString p = node->Path();
    if (p.isEmpty() || !plat::services().fs)
        return;
    const std::optional<plat::FindData> fd = plat::services().fs->find(p);
    if (!fd) {
        if (messagesAllowed())
            ui::Dialogs::get().error(this, p + QStringLiteral("  不存在！"));
        return;
    }
    // The desktop's file manager shows its own properties when it offers them.
    if (plat::ILauncher* l = plat::services().launcher; l && l->showItemProperties(QUrl::fromLocalFile(p)))
        return;
    QStringList lines;
    lines << node->text(0);
    lines << QStringLiteral("类型: ") + node->Entry().typeName;
    lines << QStringLiteral("位置: ") + plat::path::folderPart(p);
    lines << QStringLiteral("大小: ") + plat::formatPicture(fd->size, u"#,##0") + QStringLiteral(" 字节");
    lines << QStringLiteral("创建时间: ") + plat::localTimeText(fd->creationNs);
    lines << QStringLiteral("修改时间: ") + plat::localTimeText(fd->writeNs);
    lines << QStringLiteral("访问时间: ") + plat::localTimeText(fd->accessNs);
    lines << QStringLiteral("属性: ") + plat::attributeLetters(fd->attributes);
    ui::Dialogs::get().info(this, lines.join(u'\n'), QStringLiteral("属性"));
}

// --- Mouse wheel ---

// A notch (|delta| >= 120) scrolls one page per whole 120 in its own direction and clears the sum;
// smaller deltas add up (the sum restarts when the direction changes) and every whole 40 scrolls a line.
void TShellTree::wheelEvent(QWheelEvent* e)
{
    const int delta = e->angleDelta().y();
    if (delta == 0) {
        QTreeWidget::wheelEvent(e);
        return;
    }
    QScrollBar* bar = verticalScrollBar();
    if (qAbs(delta) >= 120) {
        m_wheelSum = 0;
        for (int i = 0; i < qAbs(delta) / 120; ++i)
            bar->triggerAction(delta > 0 ? QAbstractSlider::SliderPageStepSub : QAbstractSlider::SliderPageStepAdd);
    } else {
        if ((m_wheelSum > 0 && delta < 0) || (m_wheelSum < 0 && delta > 0))
            m_wheelSum = 0;
        m_wheelSum += delta;
        while (qAbs(m_wheelSum) >= 40) {
            const bool up = m_wheelSum > 0;
            bar->triggerAction(up ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
            m_wheelSum += up ? -40 : 40;
        }
    }
    e->accept();
}

// --- Tips for texts that do not fit ---

bool TShellTree::viewportEvent(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        QTreeWidgetItem* item = m_toolTips ? itemAt(he->pos()) : nullptr;
        if (item) {
            const QRect r = visualItemRect(item);
            const int textWidth = fontMetrics().horizontalAdvance(item->text(0));
            const int iconWidth = m_showIcons ? iconSize().width() + 8 : 4;
            if (r.left() + iconWidth + textWidth > viewport()->width()) {
                QToolTip::showText(he->globalPos(), item->text(0), viewport(), r);
                return true;
            }
        }
        QToolTip::hideText();
        e->ignore();
        return true;
    }
    return QTreeWidget::viewportEvent(e);
}

// --- Connector lines ---

void TShellTree::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    if (m_showLines) {
        const int indent = indentation();
        QPen pen(palette().color(QPalette::Mid), 1, Qt::DotLine);
        painter->save();
        painter->setPen(pen);
        const int midY = rect.top() + rect.height() / 2;
        int right = rect.right() + 1;
        QModelIndex level = index;
        bool own = true;
        while (level.isValid() && right - indent >= rect.left()) {
            const int x = right - indent / 2;
            const bool hasNext = level.sibling(level.row() + 1, 0).isValid();
            const bool topLevel = !level.parent().isValid();
            if (!(topLevel && !rootIsDecorated())) {
                if (own) {
                    painter->drawLine(x, rect.top(), x, hasNext ? rect.bottom() : midY);
                    painter->drawLine(x, midY, right, midY);
                } else if (hasNext) {
                    painter->drawLine(x, rect.top(), x, rect.bottom());
                }
            }
            own = false;
            right -= indent;
            level = level.parent();
        }
        painter->restore();
    }
    QTreeWidget::drawBranches(painter, rect, index);
}

// --- Icons ---

namespace {

QPixmap withOverlay(const QPixmap& base, int overlay)
{
    QPixmap pm = base.isNull() ? QPixmap(16, 16) : base;
    if (base.isNull())
        pm.fill(Qt::transparent);
    if (overlay < 0)
        return pm;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = pm.width() / pm.devicePixelRatio();
    const QRectF box(0, s * 0.5, s * 0.5, s * 0.5);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
    if (overlay == 1) {   // shortcut arrow
        p.drawLine(box.bottomLeft() + QPointF(2, -2), box.topRight() + QPointF(-2, 2));
        p.drawLine(box.topRight() + QPointF(-2, 2), box.topRight() + QPointF(-2, 5));
        p.drawLine(box.topRight() + QPointF(-2, 2), box.topRight() + QPointF(-5, 2));
    } else {              // shared: a small hand-like bar
        p.fillRect(box.adjusted(2, 2, -2, -box.height() / 2), Qt::blue);
    }
    return pm;
}

} // namespace

QIcon TShellTree::iconFor(const ShellEntry& e, int overlay)
{
    if (!m_showIcons || e.icon < 0)
        return QIcon();
    const int open = e.openIcon >= 0 ? e.openIcon : e.icon;
    const QString key = QString::number(e.icon) + u':' + QString::number(open) + u':' + QString::number(overlay);
    auto it = m_icons.constFind(key);
    if (it != m_icons.constEnd())
        return it.value();
    ui::IconCache& cache = ui::IconCache::instance();
    QIcon icon;
    if (overlay < 0 && open == e.icon) {
        icon = cache.icon(e.icon);
    } else {
        const QSize size = iconSize().isValid() ? iconSize() : QSize(16, 16);
        icon.addPixmap(withOverlay(cache.icon(e.icon).pixmap(size), overlay), QIcon::Normal);
        icon.addPixmap(withOverlay(cache.icon(open).pixmap(size), overlay), QIcon::Selected);
    }
    m_icons.insert(key, icon);
    return icon;
}
