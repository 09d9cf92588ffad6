#pragma once
// The file list (`TLsFilelistView28`): details, icon and list views over one model, with its commands,
// keys, in-place rename and popup menu.
#include "filelist/engine/FileLister.h"
#include "fileops/engine/Transfer.h"
#include <QTimer>
#include <QWidget>
#include <functional>

class QAbstractItemModel;
class QAbstractItemView;
class QItemSelectionModel;
class QKeyEvent;
class QListView;
class QMenu;
class QStackedWidget;
class QTreeView;
class FileListHeader;
class FileListModel;
class TLsFilelistView28PopUp;
class RenameDelegate;

// A folder view linked to a file list (the folder-tree combo, or a small folder tree): the list asks it to
// follow a folder the list went to by itself, and to rebuild after folders were created or renamed. A
// linked control clears the link (setDirTreeCombo/setDirTree(nullptr)) before it goes.
class FileListLink {
public:
    virtual ~FileListLink() = default;
    virtual void SelectPath(const QString& path) = 0;
    virtual void RebuildTree(bool expandRoot) = 0;
    // The combo's floating tree (F4 opens or closes it, Escape closes it); a plain tree has none.
    virtual bool DroppedDown() const { return false; }
    virtual void DropDown() {}
};

enum TFileAttr : quint32 { ftReadOnly = 1, ftHidden = 2, ftSystem = 4, ftArchive = 32, ftNormal = 128 };
enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

// The file list of one browsing pane: the contents of a folder or the mounted volumes, one row per
// entry with the caption and its sub-items (sub-item 4 the full path, 5 the kind marker). A details view
// and an icon/list view share one model and one selection; the view style picks the one shown.
class TLsFilelistView28 : public QWidget {
    Q_OBJECT
public:
    explicit TLsFilelistView28(QWidget* parent = nullptr);
    ~TLsFilelistView28() override;

    QString Directory() const;
    void setDirectory(const QString& value);
    QString Mask() const;
    void setMask(const QString& value);
    quint32 FileType() const;
    void setFileType(quint32 value);
    bool ShowFolders() const;
    void setShowFolders(bool value);
    bool ParentDirEnabled() const;
    void setParentDirEnabled(bool value);
    bool HideFileExt() const;
    void setHideFileExt(bool value);
    bool hhf() const;
    void setHhf(bool value);
    bool hsf() const;
    void setHsf(bool value);
    bool DblClickToOpen() const { return m_dblClickToOpen; }
    void setDblClickToOpen(bool value) { m_dblClickToOpen = value; }
    bool PopUpMenuEnabled() const { return m_popUpMenuEnabled; }
    void setPopUpMenuEnabled(bool value) { m_popUpMenuEnabled = value; }
    bool ReadOnly() const;            // caption editing off; listing requests are ignored while set
    void setReadOnly(bool value);
    bool stopa() const;
    void setStopa(bool value);

    int Width_Name() const { return m_widthName; }
    void setWidth_Name(int w) { m_widthName = w; }
    int Width_Size() const { return m_widthSize; }
    void setWidth_Size(int w) { m_widthSize = w; }
    int Width_Type() const { return m_widthType; }
    void setWidth_Type(int w) { m_widthType = w; }
    int Width_Mod() const { return m_widthMod; }
    void setWidth_Mod(int w) { m_widthMod = w; }
    int Width_Attr() const { return m_widthAttr; }
    void setWidth_Attr(int w) { m_widthAttr = w; }

    TViewStyle ViewStyle() const { return m_viewStyle; }
    void setViewStyle(TViewStyle style);

    QString SelectedItem() const { return m_selectedItem; }
    int SelectedNumber() const;
    qint64 SelectedSize() const;
    qint64 DriveFreeSpace() const;
    qint64 TotalSize() const;

    void UpdateFileList();
    void OneLevelUp();   // also tells the linked tree and combo to select the parent
    void ColumnClick(int column);
    int SortColumn() const;
    bool SortDescending() const;
    bool SortEnabled() const;
    bool DriveColumnsShown() const;

    int rowCount() const;
    QString caption(int row) const;
    QString subItem(int row, int i) const;   // i = 0..7 (file) or 0..5 (drive)
    QList<int> selectedRows() const;         // ascending
    void selectRow(int row, bool add = false);
    void clearSelection();

    QAbstractItemView* currentView() const;
    QTreeView* detailsView() const { return m_tree; }
    QListView* iconView() const { return m_list; }
    FileListHeader* header() const { return m_header; }
    QAbstractItemModel* model() const;
    const filelist::FileLister& lister() const { return m_lister; }

    std::function<void(QObject* sender, const QString& selectedItem)> OnItemChange;
    // Opens the program's search window for a folder (FindInFolder); nothing happens while unset.
    std::function<void(QObject* sender, const QString& folder)> OnFindInFolder;

    FileListLink* DirTreeCombo() const { return m_dirTreeCombo; }
    void setDirTreeCombo(FileListLink* link) { m_dirTreeCombo = link; }
    FileListLink* DirTree() const { return m_dirTree; }
    void setDirTree(FileListLink* link) { m_dirTree = link; }

    // --- The list's own commands (keys, built-in popup menu, and the main window's menus) ---
    void OpenItem();
    void ViewFile();
    void FindInFolder();              // only while the list has the input focus
    void NewFolder();
    void RenameSelected();
    bool DeleteItems(bool permanent);
    void CutCopy(int operation);      // 0 copy, 2 cut
    bool PasteFiles(const QString& folder, bool renameOnCollision);
    void SendTo(int mode);            // 0 any folder, 1 clipboard contents, 2 clipboard paths, 3 desktop link
    void ShowProperties();
    // Full path of the row whose caption is being edited (set when editing starts).
    QString RenameSource() const { return m_renameSource; }
    bool isEditingCaption() const;
    // The list's own handling of a key pressed in it; true when the key was used.
    bool handleKey(QKeyEvent* e);
    // The built-in popup menu (also when a host shows its own instead).
    TLsFilelistView28PopUp* builtInPopup() const { return m_popup; }

    // The transfer list: items marked by cut or copy (ClipList, ClipOperation) and their paste.
    fileops::TransferList Transfer;
    // The selected rows as the file commands see them, in list order.
    QList<fileops::ListItem> selectedItems() const;

Q_SIGNALS:
    void changed();          // rows or selection changed (the list's OnChange)
    void itemClicked();      // the ordinary OnClick after OnItemChange
    void doubleClicked();
    void listingFinished();
    void mousePressed(QPoint globalPos);   // a button went down on the items (before the view handles it)
    void mouseReleased();
    void mouseMoved();
    void keyPressed();       // a key went down in the list (before the view handles it)
    void edited();           // an in-place rename was carried out

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class RenameDelegate;
    // In-place rename: the start of editing (refused while read-only, and for drive and ".." rows) and
    // its end with the accepted text.
    bool beginCaptionEdit(int row);
    void endCaptionEdit(const QString& text);
    bool editRow(int row);
    void handleDoubleClick();
    void showBuiltInPopup(const QPoint& globalPos);
    QWidget* dialogOwner();
    void linkSelect(const QString& folder);
    void linkRebuild(bool afterNewFolder);
    void itemChangeFromInput();
    void applyColumnWidths();
    void updateArrow();
    void onListStarted();
    void onListFinished();
    void attachListView(bool attach);
    // Sizes the list-style columns to the longest caption; `first`..`last` are newly appended rows, and
    // without them every row is measured.
    void fitListColumns(int first = 0, int last = -1);
    void applyListItemWidth();

    filelist::FileLister m_lister;
    FileListModel* m_model = nullptr;
    QItemSelectionModel* m_selection = nullptr;
    QStackedWidget* m_stack = nullptr;
    QTreeView* m_tree = nullptr;
    QListView* m_list = nullptr;
    FileListHeader* m_header = nullptr;

    int m_widthName = 155, m_widthSize = 75, m_widthType = 95, m_widthMod = 123, m_widthAttr = 0;
    TViewStyle m_viewStyle = vsReport;
    bool m_dblClickToOpen = true;
    bool m_popUpMenuEnabled = true;
    QString m_selectedItem;
    int m_busyCursors = 0;
    FileListLink* m_dirTreeCombo = nullptr;
    FileListLink* m_dirTree = nullptr;
    QString m_longestCaption;                  // the widest caption in the list styles
    QList<RenameDelegate*> m_renameDelegates;   // the report view's and the other styles' view's
    TLsFilelistView28PopUp* m_popup = nullptr;
    QString m_renameSource;
    QString m_renameCaption;   // the caption when editing started
    QString m_renameKind;      // and the row's kind marker
    QTimer m_slowEdit;         // a second, slow click on the selected row edits its caption
    int m_slowEditRow = -1;
};
