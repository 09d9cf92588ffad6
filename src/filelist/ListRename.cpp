// In-place rename of a list row: starting the edit, and carrying out the rename when it ends.
#include "filelist/ListRename.h"
#include "filelist/engine/ListNames.h"
#include "filelist/FileListView.h"
#include "fileops/DialogsPrompter.h"
#include "platform/Path.h"
#include "ui/Dialogs.h"
#include "ui/UpdatesSuspended.h"
#include "ui/WaitCursor.h"
#include <optional>
#include <QAbstractItemView>
#include <algorithm>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace path = plat::path;

RenameDelegate::RenameDelegate(TLsFilelistView28* list) : QStyledItemDelegate(list), m_list(list)
{
    connect(this, &QAbstractItemDelegate::closeEditor, this, [this] { m_editor.clear(); });
}

QWidget* RenameDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const
{
    if (index.column() != 0 || !m_list->beginCaptionEdit(index.row()))
        return nullptr;
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    m_editor = editor;
    return editor;
}

QSize RenameDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (m_itemWidth > 0)
        size.setWidth(m_itemWidth);
    return size;
}

void RenameDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const
{
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line)
        return;
    // The rename runs once the editor has closed: it re-lists the rows the editor sits on.
    const QString text = line->text();
    const QPointer<TLsFilelistView28> list(m_list);
    QTimer::singleShot(0, m_list, [list, text] {
        if (list)
            list->endCaptionEdit(text);
    });
}

bool TLsFilelistView28::isEditingCaption() const
{
    return std::any_of(m_renameDelegates.begin(), m_renameDelegates.end(),
                       [](const RenameDelegate* d) { return d->isEditing(); });
}

bool TLsFilelistView28::beginCaptionEdit(int row)
{
    if (ReadOnly() || row < 0 || row >= rowCount())
        return false;
    if (subItem(row, 5) == QLatin1String("drv") || lister().isParentRow(row))
        return false;
    m_renameSource = subItem(row, 4);
    m_renameCaption = caption(row);
    m_renameKind = subItem(row, 5);
    return true;
}

bool TLsFilelistView28::editRow(int row)
{
    QAbstractItemView* view = currentView();
    const QModelIndex index = model()->index(row, 0);
    if (!index.isValid())
        return false;
    // The current row follows without touching the selection (a held Ctrl would toggle it).
    m_selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    view->scrollTo(index);
    view->edit(index);
    return isEditingCaption();
}

void TLsFilelistView28::RenameSelected()
{
    for (int row : selectedRows()) {
        if (subItem(row, 5) == QLatin1String("drv"))
            continue;
        if (ReadOnly()) {
            ui::Dialogs::get().warning(dialogOwner(), QStringLiteral("It's ReadOnly"));
            return;
        }
        editRow(row);
        return;
    }
}

void TLsFilelistView28::endCaptionEdit(const QString& text)
{
    const QString source = path::withoutTrailingSep(m_renameSource);
    if (source.isEmpty())
        return;
    m_renameSource.clear();
    // A hidden extension stays: the caption showed the name without it.
    QString newName = text;
    const QString oldName = path::namePart(source);
    if (m_renameCaption != oldName && oldName.startsWith(m_renameCaption) && !text.isEmpty())
        newName += oldName.mid(m_renameCaption.size());
    if (text.isEmpty() || newName == oldName)
        return;   // nothing typed, or the same name: no change, no refresh
    const bool wasDir = m_renameKind.compare(QLatin1String("dir"), Qt::CaseInsensitive) == 0;
    ui::WaitCursor busy;
    std::optional<ui::UpdatesSuspended> frozen(std::in_place, this);
    fileops::DialogsPrompter prompter(dialogOwner());
    const filelist::RenameOutcome outcome = filelist::renameEntry(source, newName, prompter);
    UpdateFileList();
    if (wasDir)
        linkRebuild(false);
    // The row stays selected under its new name (or its old one when the rename failed), ready for another F2.
    const QString shown = outcome == filelist::RenameOutcome::Renamed ? path::folderPart(source) + newName : source;
    for (int row = 0; row < rowCount(); ++row) {
        if (path::samePath(subItem(row, 4), shown)) {
            selectRow(row);
            currentView()->scrollTo(model()->index(row, 0));
            break;
        }
    }
    frozen.reset();
    if (outcome == filelist::RenameOutcome::Renamed)
        Q_EMIT edited();
}
