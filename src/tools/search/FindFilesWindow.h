#pragma once
#include "platform/Pump.h"
#include "tools/search/engine/FindFile.h"
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

class QAction;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTimeEdit;
class QTreeView;
class RadioGroup;
namespace search {
class FoundFilesModel;
class FoundFilesSort;
class BusyAnimation;
class SpinEdit;
struct FoundRow;
} // namespace search

// The search tool's window "查找文件": collects the criteria, runs its TFindFile `FindFile`, lists the found
// entries and opens or locates them. Stays on top, opens centred, and is meant to be shown without an owner
// with Qt::WA_DeleteOnClose.
class Tfindfiles : public QWidget {
    Q_OBJECT
public:
    explicit Tfindfiles(QWidget* parent = nullptr);
    ~Tfindfiles() override;

    // Shows a folder in one of the main window's file lists (OrvoF1); set by the opener.
    std::function<void(const QString& folder)> onShowInMainWindow;

    // --- Handlers ---
    void FormCreate();
    void FindButtonClick();
    void StopButtonClick();
    void SubfoldersClick();
    void ThreadedClick();
    void ExactAttrClick();
    void IgnoreCaseClick();
    void ADClick();
    void ATClick();
    void BDClick();
    void BTClick();
    void BrowseButtonClick();
    void SizeMinKeyUp();
    void SizeMaxKeyUp();
    void FindFileNewFolder(search::TFindFile* sender, const QString& folder, bool& ignoreFolder);
    void FindFileFound(search::TFindFile* sender, const QString& folder, const search::TSearchRec& fileInfo);
    void FindFileComplete(search::TFindFile* sender);
    void FoundFilesColumnClick(int column);
    int FoundFilesCompare(int row1, int row2, int column) const;   // rows of the result store
    void FoundFilesDblClick();
    void CustomItem3Click();
    void CustomItem2Click();

    // --- Results, in the order shown ---
    int resultCount() const;
    QString resultText(int row, int column) const;   // column 0 the name, k the k-th sub-item
    QString statusText() const;
    int sortColumn() const { return m_sortColumn; }
    bool sortDescending() const { return m_sortDescending; }

    // --- Controls ---
    QTabWidget* PageControl = nullptr;
    QLineEdit* Filename = nullptr;
    QLineEdit* Containing = nullptr;
    QCheckBox* IgnoreCase = nullptr;
    QLineEdit* Location = nullptr;
    QCheckBox* Subfolders = nullptr;
    QPushButton* BrowseButton = nullptr;
    QCheckBox* Threaded = nullptr;
    RadioGroup* DateRangeChoice = nullptr;
    QCheckBox* AD = nullptr;
    QDateEdit* AfterDate = nullptr;
    QCheckBox* AT = nullptr;
    QTimeEdit* AfterTime = nullptr;
    QCheckBox* BD = nullptr;
    QDateEdit* BeforeDate = nullptr;
    QCheckBox* BT = nullptr;
    QTimeEdit* BeforeTime = nullptr;
    QGroupBox* Attributes = nullptr;
    QCheckBox* ExactAttr = nullptr;
    QCheckBox* Readonly = nullptr;
    QCheckBox* Hidden = nullptr;
    QCheckBox* Archive = nullptr;
    QCheckBox* System = nullptr;
    QCheckBox* Directory = nullptr;
    QGroupBox* FileSize = nullptr;
    search::SpinEdit* SizeMin = nullptr;
    search::SpinEdit* SizeMax = nullptr;
    QPushButton* Button2 = nullptr;     // Find
    QPushButton* Button1 = nullptr;     // Stop
    search::BusyAnimation* Animate = nullptr;
    QTreeView* FoundFiles = nullptr;
    QMenu* PopupMenu1 = nullptr;
    QAction* O1 = nullptr;
    QAction* E1 = nullptr;
    QAction* OrvoF1 = nullptr;
    QStatusBar* StatusBar = nullptr;
    search::TFindFile* FindFile = nullptr;

protected:
    void closeEvent(QCloseEvent* e) override;   // FormClose
    void showEvent(QShowEvent* e) override;

private:
    void buildControls();
    QWidget* buildLocationPage();
    QWidget* buildDatePage();
    QWidget* buildAdvancedPage();
    static void sizeKeyUp(search::SpinEdit* edit);
    void flushRows();
    void keepAlive();
    const search::FoundRow* selectedRow() const;

    search::FoundFilesModel* m_results = nullptr;
    search::FoundFilesSort* m_sorted = nullptr;
    int m_folderCount = 0;
    QElapsedTimer m_startTick;
    int m_sortColumn = -1;
    bool m_sortDescending = false;
    bool m_inlineSearch = false;        // the running search walks inside FindButtonClick
    bool m_closeRequested = false;      // closed during an inline search: close once it has unwound
    bool m_centred = false;
    plat::PumpGate m_pump;              // inline searches dispatch messages at most every 15 ms
    QTimer m_rowTimer;                  // threaded searches insert found rows in batches
};
