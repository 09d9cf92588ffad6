#include "filelist/FileListView.h"
#include "filelist/FileListHeader.h"
#include "filelist/FileListModel.h"
#include "filelist/ListRename.h"
#include "filelist/FileListPopup.h"
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QPointer>
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

static void initFilelistResources()
{
    Q_INIT_RESOURCE(filelist);
}

TLsFilelistView28::TLsFilelistView28(QWidget* parent) : QWidget(parent)
{
    initFilelistResources();
    m_model = new FileListModel(m_lister, this);
    m_selection = new QItemSelectionModel(m_model, this);

    m_tree = new QTreeView;
    m_header = new FileListHeader(m_tree);
    m_tree->setHeader(m_header);
    m_tree->setModel(m_model);
    m_tree->setSelectionModel(m_selection);
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setAllColumnsShowFocus(true);
    m_tree->setSortingEnabled(false);
    m_header->setStretchLastSection(false);
    m_header->setMinimumSectionSize(0);   // the path and kind columns are practically hidden
    m_header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_list = new QListView;
    m_list->setUniformItemSizes(true);
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(2000);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setWrapping(true);

    // Captions are edited by F2, the rename commands and a slow second click on the selected row (timed
    // here, so that a double click never leaves an edit behind).
    // One delegate per view: a delegate commits to every view it serves, and a view warns about editors of another.
    for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(m_tree), static_cast<QAbstractItemView*>(m_list)}) {
        v->setSelectionMode(QAbstractItemView::ExtendedSelection);
        v->setSelectionBehavior(QAbstractItemView::SelectRows);
        v->setEditTriggers(QAbstractItemView::NoEditTriggers);
        auto* delegate = new RenameDelegate(this);
        m_renameDelegates.append(delegate);
        v->setItemDelegateForColumn(0, delegate);
        v->installEventFilter(this);
        v->viewport()->installEventFilter(this);
        v->viewport()->setMouseTracking(true);   // the main window follows the mouse between the lists
    }

    m_stack = new QStackedWidget;
    m_stack->addWidget(m_tree);
    m_stack->addWidget(m_list);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);

    connect(m_header, &QHeaderView::sectionClicked, this, &TLsFilelistView28::ColumnClick);
    connect(m_model, &FileListModel::columnSetChanged, this, [this] {
        applyColumnWidths();
        updateArrow();
    });
    connect(m_model, &FileListModel::sortIndicatorChanged, this, &TLsFilelistView28::updateArrow);
    connect(m_model, &FileListModel::listStarted, this, &TLsFilelistView28::onListStarted);
    connect(m_model, &FileListModel::listFinished, this, &TLsFilelistView28::onListFinished);
    connect(m_selection, &QItemSelectionModel::selectionChanged, this, &TLsFilelistView28::changed);
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &TLsFilelistView28::changed);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &TLsFilelistView28::changed);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TLsFilelistView28::changed);
    // Appended rows are measured alone; any other change measures all rows again.
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { fitListColumns(first, last); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { fitListColumns(); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] { fitListColumns(); });
    connect(m_model, &QAbstractItemModel::layoutChanged, this, [this] { fitListColumns(); });

    Transfer.OnRelist = [this] { UpdateFileList(); };
    m_popup = new TLsFilelistView28PopUp(this);
    m_slowEdit.setSingleShot(true);
    connect(&m_slowEdit, &QTimer::timeout, this, [this] {
        if (m_slowEditRow >= 0 && selectedRows() == QList<int>{m_slowEditRow})
            editRow(m_slowEditRow);
        m_slowEditRow = -1;
    });
    applyColumnWidths();   // the file columns are in place from the start
    updateArrow();
}

TLsFilelistView28::~TLsFilelistView28()
{
    m_lister.setObserver(nullptr);
    m_lister.setStopa(true);
    // The views send events while they are torn down; they must no longer reach the filter.
    for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(m_tree), static_cast<QAbstractItemView*>(m_list)}) {
        v->removeEventFilter(this);
        v->viewport()->removeEventFilter(this);
    }
    // The views and the model read the lister: they go before it does.
    delete m_stack;
    delete m_selection;
    delete m_model;
    while (m_busyCursors > 0) {
        QGuiApplication::restoreOverrideCursor();
        --m_busyCursors;
    }
}

QString TLsFilelistView28::Directory() const { return m_lister.Directory(); }
void TLsFilelistView28::setDirectory(const QString& value) { m_lister.setDirectory(value); }
QString TLsFilelistView28::Mask() const { return m_lister.Mask(); }
void TLsFilelistView28::setMask(const QString& value) { m_lister.setMask(value); }
quint32 TLsFilelistView28::FileType() const { return m_lister.FileType(); }
void TLsFilelistView28::setFileType(quint32 value) { m_lister.setFileType(value); }
bool TLsFilelistView28::ShowFolders() const { return m_lister.ShowFolders(); }
void TLsFilelistView28::setShowFolders(bool value) { m_lister.setShowFolders(value); }
bool TLsFilelistView28::ParentDirEnabled() const { return m_lister.ParentDirEnabled(); }
void TLsFilelistView28::setParentDirEnabled(bool value) { m_lister.setParentDirEnabled(value); }
bool TLsFilelistView28::HideFileExt() const { return m_lister.HideFileExt(); }
void TLsFilelistView28::setHideFileExt(bool value) { m_lister.setHideFileExt(value); }
bool TLsFilelistView28::hhf() const { return m_lister.hhf(); }
void TLsFilelistView28::setHhf(bool value) { m_lister.setHhf(value); }
bool TLsFilelistView28::hsf() const { return m_lister.hsf(); }
void TLsFilelistView28::setHsf(bool value) { m_lister.setHsf(value); }
bool TLsFilelistView28::ReadOnly() const { return m_lister.ReadOnly(); }
void TLsFilelistView28::setReadOnly(bool value) { m_lister.setReadOnly(value); }
bool TLsFilelistView28::stopa() const { return m_lister.stopa(); }
void TLsFilelistView28::setStopa(bool value) { m_lister.setStopa(value); }

void TLsFilelistView28::UpdateFileList() { m_lister.UpdateFileList(); }
void TLsFilelistView28::ColumnClick(int column) { m_lister.ColumnClick(column); }
int TLsFilelistView28::SortColumn() const { return m_lister.SortColumn(); }
bool TLsFilelistView28::SortDescending() const { return m_lister.SortDescending(); }
bool TLsFilelistView28::SortEnabled() const { return m_lister.SortEnabled(); }
bool TLsFilelistView28::DriveColumnsShown() const { return m_lister.DriveColumnsShown(); }
qint64 TLsFilelistView28::DriveFreeSpace() const { return m_lister.DriveFreeSpace(); }
qint64 TLsFilelistView28::TotalSize() const { return m_lister.TotalSize(); }
int TLsFilelistView28::rowCount() const { return m_lister.rowCount(); }
QString TLsFilelistView28::caption(int row) const { return m_lister.caption(row); }
QString TLsFilelistView28::subItem(int row, int i) const { return m_lister.subItem(row, i); }
QAbstractItemModel* TLsFilelistView28::model() const { return m_model; }

QAbstractItemView* TLsFilelistView28::currentView() const
{
    return m_viewStyle == vsReport ? static_cast<QAbstractItemView*>(m_tree) : m_list;
}

void TLsFilelistView28::setViewStyle(TViewStyle style)
{
    m_viewStyle = style;
    if (style == vsReport) {
        m_stack->setCurrentWidget(m_tree);
        attachListView(false);
        return;
    }
    attachListView(true);
    const bool large = style == vsIcon;
    m_list->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    m_list->setIconSize(large ? QSize(32, 32) : QSize(16, 16));
    m_list->setFlow(style == vsList ? QListView::TopToBottom : QListView::LeftToRight);
    m_list->setMovement(QListView::Static);
    m_list->setWrapping(true);
    m_list->setGridSize(large ? QSize(80, 64) : QSize());
    m_stack->setCurrentWidget(m_list);
    fitListColumns();
}

// The list view gives every item the size of its first one; in the list and small-icon styles every item
// takes the width of the longest caption instead, up to the width of the pane.
void TLsFilelistView28::fitListColumns(int first, int last)
{
    RenameDelegate* delegate = m_renameDelegates.value(1);
    if (!delegate)
        return;
    const bool fitted = (m_viewStyle == vsList || m_viewStyle == vsSmallIcon) && m_list->model() == m_model;
    if (!fitted) {
        m_longestCaption.clear();
    } else {
        const QFontMetrics metrics(m_list->font());
        if (last < 0) {   // all rows
            m_longestCaption.clear();
            first = 0;
            last = rowCount() - 1;
        }
        int longest = m_longestCaption.isEmpty() ? -1 : metrics.horizontalAdvance(m_longestCaption);
        for (int row = std::max(0, first); row <= last && row < rowCount(); ++row) {
            const QString text = caption(row);
            const int advance = metrics.horizontalAdvance(text);
            if (advance > longest) {
                longest = advance;
                m_longestCaption = text;
            }
        }
    }
    applyListItemWidth();
}

void TLsFilelistView28::applyListItemWidth()
{
    RenameDelegate* delegate = m_renameDelegates.value(1);
    if (!delegate)
        return;
    int width = 0;
    if (m_viewStyle == vsIcon) {
        // Items share the first item's size: give each caption the whole grid cell, not the width of "..".
        width = m_list->gridSize().width();
    } else if (!m_longestCaption.isEmpty()) {
        // The size the style gives an item with an icon and the longest caption.
        QStyleOptionViewItem option;
        option.initFrom(m_list);
        option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
        option.text = m_longestCaption;
        option.decorationSize = m_list->iconSize();
        option.decorationPosition = QStyleOptionViewItem::Left;
        option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.font = m_list->font();
        option.fontMetrics = QFontMetrics(option.font);
        option.widget = m_list;
        width = m_list->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), m_list).width();
        const int room = m_list->viewport()->width() - 2 * m_list->spacing();
        if (room > 0)
            width = std::min(width, room);
    }
    if (width == delegate->itemWidth())
        return;
    delegate->setItemWidth(width);
    if (m_list->model() == m_model)
        m_list->doItemsLayout();
}

// The icon/list view follows the model only while it is shown, so a hidden one does no layout work.
void TLsFilelistView28::attachListView(bool attach)
{
    if (attach == (m_list->model() == m_model))
        return;
    QItemSelectionModel* created = nullptr;
    if (attach) {
        m_list->setModel(m_model);
        created = m_list->selectionModel();
        m_list->setSelectionModel(m_selection);
    } else {
        m_list->setModel(nullptr);
        created = m_list->selectionModel();
    }
    if (created && created != m_selection && attach)
        created->deleteLater();
    if (m_selection->currentIndex().isValid())
        currentView()->scrollTo(m_selection->currentIndex());
}

QList<int> TLsFilelistView28::selectedRows() const
{
    std::vector<bool> seen(size_t(std::max(0, rowCount())), false);
    for (const QItemSelectionRange& r : m_selection->selection()) {
        for (int row = r.top(); row <= r.bottom(); ++row) {
            if (row >= 0 && size_t(row) < seen.size())
                seen[size_t(row)] = true;
        }
    }
    QList<int> rows;
    for (size_t i = 0; i < seen.size(); ++i) {
        if (seen[i])
            rows.append(int(i));
    }
    return rows;
}

void TLsFilelistView28::selectRow(int row, bool add)
{
    const QModelIndex index = m_model->index(row, 0);
    if (!index.isValid())
        return;
    m_selection->select(index, (add ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect) | QItemSelectionModel::Rows);
    m_selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

QList<fileops::ListItem> TLsFilelistView28::selectedItems() const
{
    QList<fileops::ListItem> items;
    for (int row : selectedRows())
        items.append({caption(row), subItem(row, 4), subItem(row, 5)});
    return items;
}

void TLsFilelistView28::clearSelection()
{
    m_selection->clearSelection();
}

int TLsFilelistView28::SelectedNumber() const
{
    const int selected = int(selectedRows().size());
    return selected > 0 ? selected : rowCount();
}

qint64 TLsFilelistView28::SelectedSize() const
{
    return m_lister.selectedSize(selectedRows());
}

bool TLsFilelistView28::eventFilter(QObject* watched, QEvent* event)
{
    const bool onView = watched == m_tree || watched == m_list;
    const bool onViewport = watched == m_tree->viewport() || watched == m_list->viewport();
    if (watched == m_list->viewport() && event->type() == QEvent::Resize)
        applyListItemWidth();   // the pane's width caps the columns
    if (onViewport) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            Q_EMIT mousePressed(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
            break;
        case QEvent::MouseButtonRelease: Q_EMIT mouseReleased(); break;
        case QEvent::MouseMove: Q_EMIT mouseMoved(); break;
        default: break;
        }
    }
    if (onView && event->type() == QEvent::KeyPress) {
        // The list's own keys first, then the ordinary key event.
        const QPointer<TLsFilelistView28> self(this);
        const bool used = handleKey(static_cast<QKeyEvent*>(event));
        if (!self)
            return true;
        Q_EMIT keyPressed();
        if (used)
            return true;
    }
    if (onViewport && event->type() == QEvent::ContextMenu && m_popUpMenuEnabled
        && currentView()->contextMenuPolicy() == Qt::DefaultContextMenu) {
        showBuiltInPopup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    if (onViewport && event->type() == QEvent::MouseButtonPress) {
        // A press on the only selected row, on its caption, may become a slow second click.
        const auto* me = static_cast<QMouseEvent*>(event);
        m_slowEdit.stop();
        const QModelIndex at = currentView()->indexAt(me->position().toPoint());
        const bool plain = me->button() == Qt::LeftButton && me->modifiers() == Qt::NoModifier;
        m_slowEditRow = plain && at.isValid() && at.column() == 0 && selectedRows() == QList<int>{at.row()} ? at.row() : -1;
    }
    if (onViewport && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QWidget* viewport = static_cast<QWidget*>(watched);
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        viewport->removeEventFilter(this);
        QCoreApplication::sendEvent(watched, event);   // the view's own handling first
        viewport->installEventFilter(this);
        if (m_slowEditRow >= 0 && currentView()->indexAt(pos).row() == m_slowEditRow && !ReadOnly())
            m_slowEdit.start(QApplication::doubleClickInterval());
        else
            m_slowEditRow = -1;
        itemChangeFromInput();
        return true;
    }
    if (onViewport && event->type() == QEvent::MouseButtonDblClick) {
        m_slowEdit.stop();
        m_slowEditRow = -1;
        QWidget* viewport = static_cast<QWidget*>(watched);
        viewport->removeEventFilter(this);
        const QPointer<TLsFilelistView28> self(this);
        QCoreApplication::sendEvent(watched, event);
        if (!self)
            return true;
        viewport->installEventFilter(this);
        handleDoubleClick();
        return true;
    }
    if (onView && event->type() == QEvent::KeyRelease) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down)
            itemChangeFromInput();
    }
    return QWidget::eventFilter(watched, event);
}

// Click or Up/Down release: the first selected row becomes SelectedItem; nothing at all without one.
void TLsFilelistView28::itemChangeFromInput()
{
    const QList<int> rows = selectedRows();
    if (rows.isEmpty())
        return;
    m_selectedItem = subItem(rows.first(), 4);
    if (OnItemChange)
        OnItemChange(this, m_selectedItem);
    Q_EMIT itemClicked();
}

void TLsFilelistView28::applyColumnWidths()
{
    const QList<int> widths = m_lister.DriveColumnsShown()
        ? QList<int>{160, 110, 90, 90, 50, 0, 0}
        : QList<int>{m_widthName, m_widthSize, m_widthType, m_widthMod, m_widthMod, 2, 2, 2, m_widthAttr};
    for (int i = 0; i < widths.size() && i < m_header->count(); ++i) {
        m_header->setSectionHidden(i, false);
        m_header->resizeSection(i, widths[i]);
    }
}

void TLsFilelistView28::updateArrow()
{
    m_header->setArrow(m_lister.DriveColumnsShown() ? -1 : m_lister.SortColumn(), m_lister.SortDescending());
}

void TLsFilelistView28::onListStarted()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        ++m_busyCursors;
    }
}

void TLsFilelistView28::onListFinished()
{
    if (m_busyCursors > 0) {
        QGuiApplication::restoreOverrideCursor();
        --m_busyCursors;
    }
    if (rowCount() > 0 && !m_selection->hasSelection())
        m_selection->setCurrentIndex(m_model->index(0, 0), QItemSelectionModel::NoUpdate);
    Q_EMIT listingFinished();
}
