#pragma once
#include "filelist/FileLister.h"
#include "fileops/engine/Transfer.h"
#include <QWidget>
#include <functional>

class QAbstractItemModel;
class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStackedWidget;
class QTreeView;
class TFileListHeader;
class TFileListModel;

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
    void OneLevelUp();
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
    TFileListHeader* header() const { return m_header; }
    QAbstractItemModel* model() const;
    const filelist::TFileLister& lister() const { return m_lister; }

    std::function<void(QObject* sender, const QString& selectedItem)> OnItemChange;

    // The transfer list: items marked by cut or copy (ClipList, ClipOperation) and their paste.
    fileops::TTransferList Transfer;
    // The selected rows as the file commands see them, in list order.
    QList<fileops::ListItem> selectedItems() const;

Q_SIGNALS:
    void changed();          // rows or selection changed (the list's OnChange)
    void itemClicked();      // the ordinary OnClick after OnItemChange
    void doubleClicked();
    void listingFinished();
    void mousePressed();     // a button went down on the items (before the view handles it)
    void mouseReleased();
    void mouseMoved();
    void keyPressed();       // a key went down in the list (before the view handles it)
    void edited();           // an in-place rename was carried out

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void itemChangeFromInput();
    void applyColumnWidths();
    void updateArrow();
    void onListStarted();
    void onListFinished();
    void attachListView(bool attach);

    filelist::TFileLister m_lister;
    TFileListModel* m_model = nullptr;
    QItemSelectionModel* m_selection = nullptr;
    QStackedWidget* m_stack = nullptr;
    QTreeView* m_tree = nullptr;
    QListView* m_list = nullptr;
    TFileListHeader* m_header = nullptr;

    int m_widthName = 155, m_widthSize = 75, m_widthType = 95, m_widthMod = 123, m_widthAttr = 0;
    TViewStyle m_viewStyle = vsReport;
    bool m_dblClickToOpen = true;
    bool m_popUpMenuEnabled = true;
    QString m_selectedItem;
    int m_busyCursors = 0;
};
