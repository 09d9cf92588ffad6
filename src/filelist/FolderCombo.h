#pragma once
// The folder combo above each file list (`TLsDirTreeCombo28`): a read-only edit with the selected folder's
// image and caption and a drop-down button that opens a floating folder tree (`TLsDirTreeView`). Picking a
// node shows that folder in the linked file list.
#include "filelist/FileListView.h"
#include <QLineEdit>
#include <QPointer>
#include <functional>

class QToolButton;
class QTreeWidgetItem;
class TLsDirTreeView;

class TLsDirTreeCombo28 : public QLineEdit, public FileListLink {
    Q_OBJECT
public:
    explicit TLsDirTreeCombo28(QWidget* parent = nullptr);
    ~TLsDirTreeCombo28() override;

    static QString About() { return QStringLiteral("Version 2.8.7.0"); }

    QString SelectedPath() const { return m_selectedPath; }
    void setSelectedPath(const QString& value);
    TLsFilelistView28* FileList() const { return m_fileList; }
    void setFileList(TLsFilelistView28* list);
    bool ExpandRoot() const { return m_expandRoot; }
    void setExpandRoot(bool value) { m_expandRoot = value; }
    bool HideSelection() const { return m_hideSelection; }
    void setHideSelection(bool value);
    int TreeHeight() const { return m_treeHeight; }
    void setTreeHeight(int value) { m_treeHeight = value; }
    void setGlyph(const QIcon& glyph);

    // FileListLink: the list went to a folder by itself; folders were created, deleted or renamed.
    void SelectPath(const QString& path) override;
    void RebuildTree(bool expandRoot) override;
    bool DroppedDown() const override;
    void DropDown() override;
    // Expands the computer node (the main window's "first node expanded").
    void expandFirstNode();

    // Sender: the tree for a mouse pick, the combo otherwise.
    std::function<void(QObject* sender, const QString& selectedPath)> OnPathChange;
    std::function<void(QObject* sender)> OnDblClick;

    QToolButton* Btn() const { return m_btn; }
    TLsDirTreeView* Tree() const { return m_tree; }

    // A node picked in the tree (mouse click or Enter).
    void pickNode(QTreeWidgetItem* node, QObject* sender);
    // The combo's keys, also while the tree has the focus; true when used.
    bool handleKey(QKeyEvent* e);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    void closeTree();
    void showNode(QTreeWidgetItem* node);
    void layoutButton();
    bool driveReady(QTreeWidgetItem* node);

    QToolButton* m_btn;
    TLsDirTreeView* m_tree;
    QPointer<TLsFilelistView28> m_fileList;
    QString m_selectedPath;
    QIcon m_image;
    bool m_expandRoot = true;
    bool m_hideSelection = true;
    int m_treeHeight = 240;
};

using FolderCombo = TLsDirTreeCombo28;
