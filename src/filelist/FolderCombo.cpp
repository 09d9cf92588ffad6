#include "filelist/FolderCombo.h"
#include "filelist/FolderPopupTree.h"
#include "filelist/ListShell.h"
#include "platform/Path.h"
#include "platform/Volumes.h"
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace path = plat::path;

namespace {

constexpr int kButtonWidth = 17;
constexpr int kImageLeft = 5;
constexpr int kTextLeftWithImage = 23;
constexpr int kIconSize = 16;

bool isDrivesWord(const QString& s)
{
    return s.compare(QLatin1String("Drives"), Qt::CaseInsensitive) == 0;
}

bool samePicked(const QString& a, const QString& b)
{
    if (isDrivesWord(a) || isDrivesWord(b))
        return isDrivesWord(a) && isDrivesWord(b);
    return a == b;
}

} // namespace

TLsDirTreeCombo28::TLsDirTreeCombo28(QWidget* parent) : QLineEdit(parent)
{
    setReadOnly(true);
    setContextMenuPolicy(Qt::NoContextMenu);   // right-button releases bring no menu
    m_btn = new QToolButton(this);
    m_btn->setObjectName(QStringLiteral("Btn"));
    m_btn->setFocusPolicy(Qt::NoFocus);
    m_btn->setContextMenuPolicy(Qt::NoContextMenu);
    m_btn->setArrowType(Qt::DownArrow);
    m_btn->setCursor(Qt::ArrowCursor);
    connect(m_btn, &QToolButton::clicked, this, [this] { DropDown(); });
    m_tree = new TLsDirTreeView(this);
    m_tree->hide();
    m_tree->resize(width(), m_treeHeight);
    m_tree->build(m_expandRoot);
    showNode(m_tree->computerNode());
    layoutButton();
}

TLsDirTreeCombo28::~TLsDirTreeCombo28()
{
    if (m_fileList && m_fileList->DirTreeCombo() == this)
        m_fileList->setDirTreeCombo(nullptr);
}

void TLsDirTreeCombo28::setSelectedPath(const QString& value)
{
    if (!samePicked(value, m_selectedPath))
        m_selectedPath = value;
    if (m_fileList)
        m_fileList->setDirectory(value);
}

void TLsDirTreeCombo28::setFileList(TLsFilelistView28* list)
{
    if (m_fileList == list)
        return;
    if (m_fileList && m_fileList->DirTreeCombo() == this)
        m_fileList->setDirTreeCombo(nullptr);
    m_fileList = list;
    if (!list)
        return;
    list->setDirTreeCombo(this);
    if (!m_selectedPath.isEmpty()) {
        list->setDirectory(m_selectedPath);
        list->UpdateFileList();
    }
}

void TLsDirTreeCombo28::setHideSelection(bool value)
{
    m_hideSelection = value;
}

void TLsDirTreeCombo28::setGlyph(const QIcon& glyph)
{
    m_btn->setArrowType(glyph.isNull() ? Qt::DownArrow : Qt::NoArrow);
    m_btn->setIcon(glyph);
}

void TLsDirTreeCombo28::showNode(QTreeWidgetItem* node)
{
    if (!node)
        return;
    m_image = node->icon(0);
    setText(node->text(0));
    setCursorPosition(0);
    layoutButton();
    update();
}

void TLsDirTreeCombo28::SelectPath(const QString& p)
{
    if (p.isEmpty() || (p.size() == 1 && p != QStringLiteral("/")) || !path::isDirectory(p))
        return;
    const QString full = path::normalizeFolder(p);
    m_tree->setUpdatesEnabled(false);
    m_tree->collapseSubtree(m_tree->computerNode());
    QTreeWidgetItem* node = m_tree->driveNodeFor(full);
    bool complete = node != nullptr;
    if (node) {
        m_tree->computerNode()->setExpanded(true);
        m_tree->setCurrentItem(node);
        m_tree->loadChildrenNow(node);
        node->setExpanded(true);
        const QString rest = full.mid(TLsDirTreeView::nodePath(node).size());
        for (const QString& name : rest.split(path::kSep, Qt::SkipEmptyParts)) {
            // Only the current node's own children can hold the next component.
            QTreeWidgetItem* match = nullptr;
            for (int i = 0; i < node->childCount() && !match; ++i) {
                if (node->child(i)->text(0) == name)
                    match = node->child(i);
            }
            if (!match) {
                complete = false;
                break;
            }
            node = match;
            m_tree->setCurrentItem(node);
            m_tree->loadChildrenNow(node);
            node->setExpanded(true);
        }
    }
    m_tree->setUpdatesEnabled(true);
    if (!complete)
        return;
    m_tree->scrollToItem(node);
    showNode(node);
    if (!samePicked(full, m_selectedPath))
        m_selectedPath = full;
    if (OnPathChange)
        OnPathChange(this, full);
}

void TLsDirTreeCombo28::RebuildTree(bool expandRoot)
{
    m_tree->build(expandRoot);
}

void TLsDirTreeCombo28::expandFirstNode()
{
    if (QTreeWidgetItem* computer = m_tree->computerNode())
        computer->setExpanded(true);
}

bool TLsDirTreeCombo28::DroppedDown() const
{
    return m_tree->isVisible();
}

void TLsDirTreeCombo28::DropDown()
{
    if (m_tree->isVisible()) {
        closeTree();
        return;
    }
    m_tree->syncVolumes();
    // Below the combo; above it when the tree would pass the screen's bottom.
    QRect r(mapToGlobal(QPoint(0, height())), QSize(width(), m_treeHeight));
    const QScreen* s = screen();
    if (s && r.bottom() > s->geometry().bottom())
        r.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
    m_tree->setGeometry(r);
    m_tree->setEnabled(true);
    m_tree->show();
    m_tree->raise();
    m_tree->setFocus(Qt::PopupFocusReason);
    if (QTreeWidgetItem* current = m_tree->currentItem())
        m_tree->scrollToItem(current);
}

void TLsDirTreeCombo28::closeTree()
{
    if (m_tree->isVisible())
        m_tree->hide();
    m_tree->setEnabled(false);
}

bool TLsDirTreeCombo28::driveReady(QTreeWidgetItem* node)
{
    if (TLsDirTreeView::nodeKind(node) != TLsDirTreeView::DriveNode ||
        node->data(0, TLsDirTreeView::DriveTypeRole).toInt() != int(plat::DriveType::Removable))
        return true;
    return filelist::DriveReady(window(), TLsDirTreeView::nodePath(node));
}

void TLsDirTreeCombo28::pickNode(QTreeWidgetItem* node, QObject* sender)
{
    if (!node)
        return;
    const QString p = TLsDirTreeView::nodePath(node);
    setSelectedPath(p);
    const bool byMouse = sender == m_tree;
    if (byMouse)
        showNode(node);
    if (OnPathChange)
        OnPathChange(sender, p);
    closeTree();
    if (driveReady(node) && !byMouse)
        showNode(node);
}

bool TLsDirTreeCombo28::handleKey(QKeyEvent* e)
{
    QTreeWidgetItem* node = m_tree->currentItem();
    QTreeWidgetItem* computer = m_tree->computerNode();
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (node)
            pickNode(node, this);
        return true;
    case Qt::Key_Escape:
        closeTree();
        return true;
    case Qt::Key_Left:
        if (node) {
            if (node->isExpanded())
                m_tree->collapseSubtree(node);
            QTreeWidgetItem* above = m_tree->itemAbove(node);
            if (node != computer && above && above != computer)
                m_tree->setCurrentItem(above);
        }
        return true;
    case Qt::Key_Up:
        if (node && node != computer) {
            if (QTreeWidgetItem* above = m_tree->itemAbove(node))
                m_tree->setCurrentItem(above);
        }
        return true;
    case Qt::Key_Right:
        if (node)
            node->setExpanded(true);
        return true;
    case Qt::Key_Down:
        if (node) {
            QTreeWidgetItem* next = node->isExpanded() ? node->child(0) : m_tree->itemBelow(node);
            if (next)
                m_tree->setCurrentItem(next);
        }
        return true;
    case Qt::Key_F4:
        DropDown();
        if (m_tree->isVisible())
            m_tree->setFocus(Qt::PopupFocusReason);
        return true;
    default:
        return false;
    }
}

void TLsDirTreeCombo28::keyPressEvent(QKeyEvent* e)
{
    if (handleKey(e))
        e->accept();
    else
        QLineEdit::keyPressEvent(e);
}

void TLsDirTreeCombo28::focusOutEvent(QFocusEvent* e)
{
    // Opening the tree moves the focus into it; any other loss of focus closes it.
    if (e->reason() != Qt::PopupFocusReason && !m_tree->hasFocus())
        closeTree();
    QLineEdit::focusOutEvent(e);
}

void TLsDirTreeCombo28::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    layoutButton();
}

void TLsDirTreeCombo28::layoutButton()
{
    m_btn->setGeometry(width() - kButtonWidth - 4, 2, kButtonWidth, std::max(0, height() - 4));
    setTextMargins(m_image.isNull() ? 0 : kTextLeftWithImage, 0, kButtonWidth + 4 + 2, 0);
}

void TLsDirTreeCombo28::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    if (m_image.isNull())
        return;
    QPainter p(this);
    m_image.paint(&p, QRect(kImageLeft, (height() - kIconSize) / 2, kIconSize, kIconSize));
}

void TLsDirTreeCombo28::mouseDoubleClickEvent(QMouseEvent* e)
{
    QLineEdit::mouseDoubleClickEvent(e);
    if (OnDblClick)
        OnDblClick(this);
}
