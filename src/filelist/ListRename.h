#pragma once
#include <QPointer>
#include <QStyledItemDelegate>

class TLsFilelistView28;

// Caption editing of a file list's rows: the start of an edit asks the list (which records the rename
// source or refuses), and an accepted text goes back to the list once the editor has closed.
class RenameDelegate : public QStyledItemDelegate {
public:
    explicit RenameDelegate(TLsFilelistView28* list);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool isEditing() const { return !m_editor.isNull(); }
    // A width every item takes (the list and small-icon styles size their columns by it); 0 for the natural one.
    void setItemWidth(int width) { m_itemWidth = width; }
    int itemWidth() const { return m_itemWidth; }

private:
    TLsFilelistView28* m_list;
    mutable QPointer<QWidget> m_editor;   // the open editor
    int m_itemWidth = 0;
};
