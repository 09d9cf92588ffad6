#pragma once
#include "filelist/engine/Admission.h"
#include "filelist/engine/FileRow.h"
#include "platform/Pump.h"
#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <memory>
#include <vector>

namespace filelist {

// What a view over the rows needs to hear. Rows reach observers in batches, when the listing pumps.
class ListObserver {
public:
    virtual ~ListObserver() = default;
    virtual void listingStarted() {}
    virtual void rowsAboutToReset() {}                      // the column set changes
    virtual void rowsReset() {}
    virtual void rowsAboutToBeRemoved(int first, int last) {}  // all rows, when a listing starts
    virtual void rowsRemoved() {}
    virtual void rowsAboutToBeAppended(int first, int last) {}
    virtual void rowsAppended() {}
    virtual void rowsAboutToBeSorted() {}
    virtual void rowsSorted(const std::vector<int>& newPosition) {}   // old row index -> new row index
    virtual void sortStateChanged() {}
    virtual void listingFinished() {}
};

// The widget-free part of the file list: properties, the cooperative listing of a folder or of the
// mounted volumes into rows, the admission test, the header-click sort, and the cell texts.
// Runs on the GUI thread; pumps pending events while listing and tolerates being re-entered.
class FileLister {
public:
    FileLister();
    ~FileLister();
    FileLister(const FileLister&) = delete;
    FileLister& operator=(const FileLister&) = delete;

    void setObserver(ListObserver* o) { m_observer = o; }

    QString Directory() const { return m_directory; }
    void setDirectory(const QString& value);
    QString Mask() const { return m_mask; }
    void setMask(const QString& value);
    quint32 FileType() const { return m_fileType; }
    void setFileType(quint32 value);
    bool ShowFolders() const { return m_showFolders; }
    void setShowFolders(bool value);
    bool ParentDirEnabled() const { return m_parentDirEnabled; }
    void setParentDirEnabled(bool v) { m_parentDirEnabled = v; }
    bool HideFileExt() const { return m_hideFileExt; }
    void setHideFileExt(bool v) { m_hideFileExt = v; }
    bool hhf() const { return m_hhf; }
    void setHhf(bool v) { m_hhf = v; }
    bool hsf() const { return m_hsf; }
    void setHsf(bool v) { m_hsf = v; }
    bool ReadOnly() const { return m_readOnly; }
    void setReadOnly(bool v) { m_readOnly = v; }
    bool stopa() const { return m_stopa; }
    void setStopa(bool v) { m_stopa = v; }

    qint64 TotalSize() const { return m_totalSize; }
    int SortColumn() const { return m_sortColumn; }
    bool SortDescending() const { return m_sortDescending; }
    bool SortEnabled() const { return m_sortEnabled; }
    bool DriveColumnsShown() const { return m_driveColumnsShown; }
    int listings() const { return m_listings; }   // listings started so far

    void UpdateFileList();
    void OneLevelUp();
    void ColumnClick(int column);

    // Rows published to observers (all rows once a listing has finished or pumped).
    int rowCount() const;
    QString caption(int row) const;
    QString subItem(int row, int i) const;
    int iconIndex(int row) const;
    bool isParentRow(int row) const;
    const FileRow* fileRow(int row) const;
    const DriveRow* driveRow(int row) const;
    QString listedFolder() const { return m_listedDir; }   // folder the file rows belong to

    qint64 selectedSize(const QList<int>& rows) const;   // bytes, fresh from the file system
    qint64 DriveFreeSpace() const;                       // KB; 0 while the drive list is shown

    static bool isDrivesWord(const QString& s);
    static int parentIconIndex();

private:
    bool AddFiles(const QString& piece, quint32 mask);
    void AddFileItem(const plat::FindData& entry);
    void AddDrives();
    void clearRows();
    void setColumnSet(bool drives);
    void formatTime(plat::FileTime utc, char* out);
    void publish();
    bool publishBatch();   // true when a batch went out
    bool pumpIfDue();   // false when this object was destroyed during the pump

    ListObserver* m_observer = nullptr;
    QString m_directory = QStringLiteral("Drives");
    QString m_mask = QStringLiteral("*.*");
    quint32 m_fileType = 1 | 2 | 4 | 32;
    bool m_showFolders = true;
    bool m_parentDirEnabled = true;
    bool m_hideFileExt = false;
    bool m_hhf = true;
    bool m_hsf = true;
    bool m_readOnly = false;
    bool m_stopa = true;

    qint64 m_totalSize = 0;
    int m_sortColumn = 0;
    bool m_sortDescending = true;
    bool m_sortEnabled = false;
    bool m_driveColumnsShown = false;
    quint32 m_passAttributes = 0;
    int m_listings = 0;

    QString m_listedDir;
    std::vector<FileRow> m_files;      // in the order found
    std::vector<int> m_order;          // row k shows m_files[m_order[k]]
    std::vector<DriveRow> m_drives;
    int m_published = 0;
    QElapsedTimer m_sincePublish;
    qint64 m_batchCostMs = 0;          // how long the pump after the last batch took
    struct TypeMemo;
    std::unique_ptr<TypeMemo> m_typeMemo;   // type name and icon per raw extension, for this listing
    qint64 m_lastTimeSec = 0;                // the last time formatted, and its text
    char m_lastTimeText[plat::kTimeTextLength] = {};
    bool m_haveLastTime = false;
    qint64 m_parentIndex = -1;         // index in m_files of the parent entry; -2 when there are several
    quint64 m_version = 0;             // changes whenever rows are added, removed or reordered
    plat::PumpGate m_pump;             // long listings and sorts let events run at most every 15 ms
    std::shared_ptr<int> m_life = std::make_shared<int>(0);
};

} // namespace filelist
