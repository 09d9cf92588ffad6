#pragma once
#include "app/SettingsStore.h"
#include <QColor>
#include <QMainWindow>
#include <QSize>
#include <QStringList>
#include <QTimer>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QMenu;
class QScrollArea;
class QSpinBox;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class TLsFilelistView28;
class TShellTree;
class TShellnode;

class TOrvo;
// Connects the file lists' own commands that open main-window tools (the search window from a list).
void orvoWireListCommands(TOrvo& w);

// The main window: folder tree on the left, two file lists on the right, tool bars on top, the filter bar
// and status bar at the bottom. Owns the program's settings, hotkeys and the coordination with other instances.
class TOrvo : public QMainWindow {
    Q_OBJECT
public:
    static const QString kCaption;          // "Orvo 文件管理器"
    static constexpr int kClientWidth = 940;
    static constexpr int kClientHeight = 629;

    // Hotkey ids.
    static constexpr int kHotkeyProcesses = 1000;   // Ctrl+F1
    static constexpr int kHotkeySearch = 1001;      // Ctrl+F2
    static constexpr int kHotkeyShowHide = 1002;    // Ctrl+F3
    static constexpr int kHotkeyMd5 = 1003;         // Alt+F5

    // `args` are the command-line parameters without the program name.
    explicit TOrvo(const QStringList& args = {}, QWidget* parent = nullptr);
    ~TOrvo() override;

    // --- State other parts of the window use ---
    QString targetFolder() const { return m_targetFolder; }
    void setTargetFolder(const QString& folder) { m_targetFolder = folder; }
    // The folder tree's path (with its trailing separator; empty when no folder is selected).
    QString treePath() const;
    void setTreePath(const QString& path);
    bool treeFoldersShown() const;
    // The list the folder tree and the path bar address (list one until the tree can drive list two).
    TLsFilelistView28* treeDrivenList() const;
    QSize savedWindowSize() const { return m_savedSize; }

    // Name-clash policy: true = paste replaces same-name items, false = copies get the "复件" prefix.
    bool replaceOnNameClash() const { return m_replaceOnClash; }
    // Drag policy: true = drag and drop moves, false = copies.
    bool dragMoves() const { return m_dragMoves; }
    // Outward drags offer links only (set by `tfkjfs`, cleared when the drag policy changes or loads).
    bool dragOffersLink() const { return m_dragLink; }
    int lastDropResult() const { return m_lastDropResult; }

    QColor mainColor() const { return m_mainColor; }
    QColor treeColor() const { return m_treeColor; }
    QColor list1Color() const { return m_list1Color; }
    QColor list2Color() const { return m_list2Color; }

    // --- Start-up and coordination ---
    // All parameters joined by one blank.
    static QString pathArgument(const QStringList& args);
    void processSwitches(const QStringList& args);
    void openPathArgument(const QStringList& args);
    // Dispatches a pressed hotkey; returns the id of the row it matched, 0 for none.
    int handleHotkey(Qt::KeyboardModifiers mods, int key);
    // Handles a message posted by an instance; true when it was one of ours.
    bool handleInstanceMessage(int message);
    void treeSuspend();
    void treeResume();

    // Settings: load (start and restore defaults) and the writers used by later commands.
    void loadSettings();
    void writeFlag(const QString& name, bool on);     // beeps on failure
    void writeColor(const QString& name, const QColor& color);
    void applyColors();

    // --- Command handlers ---
    void Exit1_oldClick();
    void S3Click();
    void OrvoM2Click();
    void orvowjClick();
    void kautoClick();
    void addzyClick();
    void zdlClick();
    void ztfClick();
    void dragbl_oldClick();
    void tfkjfsClick();
    void N2Click();

    // Tool windows, started from the tool bar, the tools menu, hotkeys and switches. Each tool's commands
    // live in its own OrvoTool*.cpp; a command does nothing while its window is not part of the program.
    void ToolButton29Click();       // process manager (Ctrl+F1)
    void ToolButton29RightClick();  // compress/decompress
    void ToolButton30Click();       // file search (A13, Ctrl+F2)
    void ToolButton30RightClick();  // file compare
    void ToolButton31Click();       // split/merge (H8), hides the main window
    void md5WithSelection();        // MD5 window with the selected files (right button on ToolButton31, MD52, Alt+F5)
    void P12Click();                // process manager
    void PAK1Click();               // compress/decompress
    void B9Click();                 // file compare
    void switchSearch();            // "/f"
    void switchProcesses();         // "/p"
    void switchCompress();          // "/y"
    void switchSplitMerge();        // "/h"
    void switchCompare();           // "/b"
    void switchMd5();               // "/m"
    // Shows a tool window created without an owner; it deletes itself when closed.
    static void showToolWindow(QWidget* window);

    // --- Path bar and history ---
    void pathboxKeyPress();         // Enter
    void ToolButton3Click();
    void pathboxDblClick();
    void pathboxSelect(int index);
    void up1Click();
    void down1Click();
    void openpath1Click();
    void CustomItem41Click();
    void ComboBox2Click();
    void Paste0Click();
    void J1Click();
    void Addpath1_oldClick();
    void Deletepath1_oldClick();
    void cls1_oldClick();
    void save1_oldClick();
    void load1_oldClick();
    void CustomItem15Click();
    void N8Click();
    void CustomItem44Click();
    // Adds a folder to the history unless an item exactly equal to it is present.
    void addHistoryOnce(const QString& folder);
    QStringList history() const;

    // --- Extension filters ---
    void Mask1KeyPress();           // Enter
    void Mask1DblClick();
    void N17Click();
    void N18Click();
    void N19Click();
    void N3Click();
    void N4Click();
    void B1Click();
    void N7Click();
    static const QStringList kDefaultFilters;

    // --- Panes and view options ---
    void fvClick();
    void DirtreeFlist1_oldClick();
    void DirTreeFList2_oldClick();
    void shfvClick();
    void FLVSH1_oldClick();
    void HFListV2_oldClick();
    void IcondClick();
    void setDrivenViewStyle(int style);
    void HideFolderClick();
    void syjClick();
    void he_oldClick();
    void hha_oldClick();
    void sr_oldClick();
    void ftrClick();
    void ftaClick();
    void V2Click();                 // the View menu or PopupMenu1 opens: check marks from the driven list
    void ToolButton8Click();
    void ColorBoxChange();
    void phintClick();
    bool treeDrivesListTwo() const;

    // --- Folder tree commands and events ---
    void treesetClick();
    void ffClick();
    void CustomItem8Click();
    void CustomItem9Click();
    void fmuClick();
    void setTreeSortType(int type);
    void setTreeSortOrder(int order);
    void CustomItem10Click();
    void R5Click();
    void TreeSizeClick();
    void CalculateTreeClick();
    void GetRootDir1Click();
    void PopupMenu7Popup();
    void ShellTree1Change();
    void ShellTree1Click(TShellnode* node);
    void ShellTree1Edited();
    void F4Click();

    // --- Rename, new items, open and quick view (OrvoListCommands.cpp) ---
    void EditFClick();              // RenameF
    void remClick();
    void ASRClick();                // ASR, ReA
    void xjwjjClick();
    void N37Click();
    void N16Click();
    void B6Click();
    void Open1_oldClick();          // Open1, dakai
    void QuickView1_oldClick();     // QuickView1, ksll
    TLsFilelistView28* popupList() const { return m_popupList; }

    // --- Transfer list and delete ---
    enum class TransferSource { None, ListOne, ListTwo };
    void Cut0Click();
    void Copy0Click();
    void DeleteF_oldClick();
    void delFMouseDown();
    void dirboxClick(int index);
    TransferSource transferSource() const { return m_transferSource; }

    // --- Status ---
    void showStatistics();
    TLsFilelistView28* activeList() const { return m_active; }
    void setActiveList(TLsFilelistView28* list) { m_active = list; }

    // --- Pane coordination and command state ---
    void listChanged(TLsFilelistView28* list);
    void listClicked(TLsFilelistView28* list);
    void listDblClicked(TLsFilelistView28* list);
    void listMouseDown(TLsFilelistView28* list);
    void listMouseUp(TLsFilelistView28* list);
    void listKeyDown(TLsFilelistView28* list);
    void listMouseMove(TLsFilelistView28* list);
    void listEdited(TLsFilelistView28* list);
    void PopupMenu6Popup(TLsFilelistView28* list);
    void Timer1Timer();
    void Timer3Timer();
    void Timer4Timer();
    void RefreshClick();
    void PrevLevelClick();
    void stop1Click();
    void BtnSearchClick();
    void SelectAll1_oldClick();
    void R3Click();
    void SetBtnMenuState();
    bool mousePressed() const { return m_mousePressed; }
    int listTwoWidth() const { return m_listTwoWidth; }
    TLsFilelistView28* otherList(TLsFilelistView28* list) const;
    static const QStringList kQuickViewExtensions;

    // --- Controls ---
    QToolBar* ToolBar1 = nullptr;
    QToolBar* ToolBar2 = nullptr;
    QComboBox* pathbox = nullptr;
    QToolButton* ToolButton29 = nullptr;
    QToolButton* ToolButton30 = nullptr;
    QToolButton* ToolButton31 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* up1 = nullptr;
    QToolButton* down1 = nullptr;
    QWidget* LsDirTreeCombo281 = nullptr;   // placeholders until the folder combos exist
    QWidget* LsDirTreeCombo282 = nullptr;
    QSplitter* Splitter1 = nullptr;
    QFrame* Panel2 = nullptr;
    TShellTree* ShellTree1 = nullptr;
    QToolButton* treeset = nullptr;
    QToolButton* TreeSize = nullptr;
    QMenu* PopupMenu7 = nullptr;            // folder tree commands
    QMenu* wjpx = nullptr;                  // file sort submenu
    QMenu* K3 = nullptr;                    // special folders submenu
    QAction* L8 = nullptr;
    QAction* A6 = nullptr;
    QAction* ff = nullptr;
    QAction* B5 = nullptr;
    QAction* CustomItem8 = nullptr;
    QAction* D7 = nullptr;
    QAction* CustomItem9 = nullptr;
    QAction* fmu = nullptr;
    QAction* C6 = nullptr;
    QAction* D8 = nullptr;
    QAction* E5 = nullptr;
    QAction* F3 = nullptr;
    QAction* G2 = nullptr;
    QAction* H4 = nullptr;
    QAction* J3 = nullptr;
    QAction* R5 = nullptr;
    QAction* C9 = nullptr;
    QAction* G3 = nullptr;
    QAction* F4 = nullptr;
    QWidget* Panel1 = nullptr;
    QSplitter* Splitter2 = nullptr;
    TLsFilelistView28* LsFilelistView281 = nullptr;
    TLsFilelistView28* LsFilelistView282 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* Panel3 = nullptr;
    QToolBar* ToolBar3 = nullptr;
    QComboBox* ColorBox = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QComboBox* Mask1 = nullptr;
    QComboBox* dirbox = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel0 = nullptr;
    QLabel* StatusPanel1 = nullptr;
    QMenu* PopupMenu2 = nullptr;            // path bar
    QMenu* PopupMenu4 = nullptr;            // filter box
    QMenu* PopupMenu1 = nullptr;            // view style and show/hide of the driven list
    QMenu* PopupMenu9 = nullptr;            // which list to hide
    QMenu* PopupMenu6 = nullptr;            // the lists' pop-up menu
    QMenu* V2 = nullptr;                    // View menu

    // Tool bar buttons.
    QToolButton* Paste0 = nullptr;
    QToolButton* del1 = nullptr;
    QToolButton* cut0 = nullptr;
    QToolButton* copy0 = nullptr;
    QToolButton* ASR = nullptr;
    QToolButton* rwtime = nullptr;
    QToolButton* Attribute = nullptr;
    QToolButton* ToolButton11 = nullptr;    // refresh
    QToolButton* ToolButton13 = nullptr;    // drives
    QToolButton* ToolButton14 = nullptr;    // folders shown
    QToolButton* ToolButton15 = nullptr;    // select all
    QToolButton* fv = nullptr;
    QToolButton* shfv = nullptr;
    QToolButton* Icond = nullptr;
    QToolButton* ToolButton8 = nullptr;
    QToolButton* phint = nullptr;

    // Path bar menu.
    QAction* N110 = nullptr;
    QAction* N22 = nullptr;
    QAction* M3 = nullptr;
    QAction* paste3 = nullptr;
    QAction* J1 = nullptr;
    QAction* A2 = nullptr;
    QAction* D3 = nullptr;
    QAction* C1 = nullptr;
    QAction* S2 = nullptr;
    QAction* L2 = nullptr;
    QAction* B3 = nullptr;
    QAction* N8 = nullptr;
    QAction* E2 = nullptr;
    // Filter menu.
    QAction* N17 = nullptr;
    QAction* N18 = nullptr;
    QAction* N19 = nullptr;
    QAction* N3 = nullptr;
    QAction* N4 = nullptr;
    QAction* B1 = nullptr;
    QAction* N7 = nullptr;
    // Panes and view.
    QAction* N112 = nullptr;
    QAction* N211 = nullptr;
    QAction* FLVSH1 = nullptr;
    QAction* yc1 = nullptr;
    QAction* HFListV2 = nullptr;
    QAction* yc2 = nullptr;
    QAction* B2 = nullptr;
    QAction* B8 = nullptr;
    QAction* M1 = nullptr;
    QAction* M7 = nullptr;
    QAction* L1 = nullptr;
    QAction* L7 = nullptr;
    QAction* D2 = nullptr;
    QAction* D10 = nullptr;
    QAction* N21 = nullptr;
    QAction* F8 = nullptr;
    QAction* U1 = nullptr;
    QAction* U3 = nullptr;
    QAction* E1 = nullptr;
    QAction* E6 = nullptr;
    QAction* H1 = nullptr;
    QAction* H7 = nullptr;
    QAction* S1 = nullptr;
    QAction* S7 = nullptr;
    QAction* R1 = nullptr;
    QAction* ftr = nullptr;
    QAction* A1 = nullptr;
    QAction* fta = nullptr;
    QAction* zkl = nullptr;
    // Coordination commands.
    QAction* J4 = nullptr;
    QAction* I2 = nullptr;
    QAction* stop1 = nullptr;
    QAction* stop2 = nullptr;
    QAction* F9 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* R3 = nullptr;
    // Commands whose state follows the selection (the enable table).
    QAction* Paste1 = nullptr;
    QAction* paste2 = nullptr;
    QAction* fsd = nullptr;
    QAction* fsd1 = nullptr;
    QAction* rem = nullptr;
    QAction* ReA = nullptr;
    QAction* RenameF = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* cut2 = nullptr;
    QAction* copy2 = nullptr;
    QAction* copytocb = nullptr;
    QAction* del2 = nullptr;
    QAction* DeleteF = nullptr;
    QAction* sx2 = nullptr;
    QAction* sxxg = nullptr;
    QAction* G5 = nullptr;
    QAction* RewriteTime = nullptr;
    QAction* Properties = nullptr;
    QAction* h16 = nullptr;
    QAction* hexv = nullptr;
    QAction* N37 = nullptr;
    QAction* B6 = nullptr;
    QAction* xjwjj = nullptr;
    QAction* N16 = nullptr;
    QAction* Open1 = nullptr;
    QAction* dakai = nullptr;
    QAction* QuickView1 = nullptr;
    QAction* ksll = nullptr;

    QTimer Timer1;
    QTimer Timer2;
    QTimer Timer3;
    QTimer Timer4;

    QAction* X2 = nullptr;
    QAction* S3 = nullptr;
    QAction* OrvoM1 = nullptr;
    QAction* OrvoM2 = nullptr;
    QAction* OrvoF1 = nullptr;
    QAction* orvowj = nullptr;
    QAction* OrvoE1 = nullptr;
    QAction* kauto = nullptr;
    QAction* kau = nullptr;
    QAction* addzy = nullptr;
    QAction* addz = nullptr;
    QAction* zdl = nullptr;
    QAction* th = nullptr;
    QAction* fj = nullptr;
    QAction* ztf = nullptr;
    QAction* dragbl = nullptr;
    QAction* tfcopy = nullptr;
    QAction* tfcut = nullptr;
    QAction* tfkjfs = nullptr;
    QAction* N2 = nullptr;
    QAction* L3 = nullptr;
    QAction* A13 = nullptr;
    QAction* H8 = nullptr;
    QAction* MD52 = nullptr;
    QAction* P12 = nullptr;
    QAction* PAK1 = nullptr;
    QAction* B9 = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanes();
    void buildMenus();
    QAction* command(const QString& caption, void (TOrvo::*handler)(), bool checkable = false);
    void FormCreate(const QStringList& args);
    void FormShow();
    void FormCloseQuery();
    void FormDestroy();
    void registerHotkeys();
    void unregisterHotkeys();
    void showClashPolicy();
    void showDragPolicy();
    bool startOwnExecutable();
    void savePathList();
    void loadPathList();
    void buildCommandControls();
    void buildViewControls();
    void connectLists();
    // The path-bar text as a folder with its trailing separator, or "" after the error box for a missing one.
    // An empty text, and unless `anyLength` a one-character text other than "/", give "" without a box.
    QString pathBarFolder(bool anyLength = false);
    void showMissing(const QString& text);
    void openInList(TLsFilelistView28* list);
    void toggleListAttribute(bool (TLsFilelistView28::*get)() const, void (TLsFilelistView28::*set)(bool),
                             bool reread);
    void toggleFileType(quint32 bit);
    void setFv(bool down);
    void stepHistory(int delta);
    void timerRelist(TLsFilelistView28* renamed);
    // The folder tree as the panes see it.
    bool treeHasSelection() const;
    void treeSetFileMask(const QString& mask);
    void treeRepaint();
    void treeClearSelection();
    void buildTreeControls();
    void treeOptionFlip(quint32 option);
    void cutCopy(int mode);
    void setTreeRoot(bool userDefined);
    bool transferPending() const;

    SettingsStore m_store;
    QString m_targetFolder;
    QSize m_savedSize{0, 0};
    bool m_replaceOnClash = false;
    bool m_dragMoves = false;
    bool m_dragLink = false;
    bool m_autostart = false;
    bool m_contextMenu = false;
    bool m_autoPathList = false;
    int m_lastDropResult = 0;
    int m_historyIndex = -1;                // the history item last chosen or stepped to
    TLsFilelistView28* m_active = nullptr;
    bool m_mousePressed = false;
    bool m_list1Hidden = false;
    bool m_list2Hidden = true;
    bool m_statusPanelHidden = false;
    int m_listTwoWidth = 0;
    TransferSource m_transferSource = TransferSource::None;
    TLsFilelistView28* m_popupList = nullptr;   // the list whose pop-up menu opened last
    QColor m_mainColor;
    QColor m_treeColor;
    QColor m_list1Color;
    QColor m_list2Color;
};
