#pragma once
#include "app/SettingsStore.h"
#include <QColor>
#include <QMainWindow>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <memory>

class QAction;
class TLsDirTreeCombo28;
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

namespace app {
class AttributeCommands;
class FilterBar;
class ListActions;
class PaneLayout;
class PathBar;
class ToolLauncher;
} // namespace app

// The main window ("Orvo 文件管理器"): folder tree on the left, two file lists on the right, tool bars on top,
// the filter bar and status bar at the bottom. It owns the controls under their documented names and six
// parts that hold the commands: the path bar, the filter bar, the list actions, the tool launcher, the
// pane layout and the properties commands. Itself it keeps the folder tree, the coordination of the panes, the settings, the hotkeys,
// start-up and the coordination with other instances.
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

    // --- The parts ---
    app::PathBar& pathBar() const { return *m_pathBar; }
    app::FilterBar& filterBar() const { return *m_filterBar; }
    app::ListActions& listActions() const { return *m_listActions; }
    app::ToolLauncher& toolLauncher() const { return *m_toolLauncher; }
    app::PaneLayout& paneLayout() const { return *m_paneLayout; }
    app::AttributeCommands& attributeCommands() const { return *m_attributeCommands; }

    // --- State the parts use ---
    QString targetFolder() const { return m_targetFolder; }
    void setTargetFolder(const QString& folder) { m_targetFolder = folder; }
    // The folder tree's path (with its trailing separator; empty when no folder is selected).
    QString treePath() const;
    void setTreePath(const QString& path);
    bool treeFoldersShown() const;
    bool treeHasSelection() const;
    // The tree shows files through `mask` (and checks "use the mask").
    void treeSetFileMask(const QString& mask);
    void treeRepaint();
    // Whether `fv` is down, and so the list the folder tree and the path bar address.
    bool treeDrivesListTwo() const;
    TLsFilelistView28* treeDrivenList() const;
    TLsFilelistView28* otherList(TLsFilelistView28* list) const;
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

    // --- Start-up and coordination with other instances (Orvo.cpp) ---
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
    void Exit1_oldClick();          // X2
    void S3Click();                 // shrink/restore
    void OrvoM2Click();             // OrvoM1, OrvoM2: restart
    void orvowjClick();             // orvowj, OrvoF1, OrvoE1: another instance

    // --- Settings (OrvoSettings.cpp): load at start and on restore, the writers, the mirroring commands ---
    void loadSettings();
    void writeFlag(const QString& name, bool on);     // beeps on failure
    void writeColor(const QString& name, const QColor& color);
    void applyColors();
    void kautoClick();
    void addzyClick();
    void zdlClick();
    void ztfClick();
    void dragbl_oldClick();
    void tfkjfsClick();
    void N2Click();
    void ToolButton8Click();
    void ColorBoxChange();
    void ColorBoxActivated(int index);     // the custom item asks for a colour first
    void showColorInBox(const QColor& color);

    // --- Folder tree commands and events (OrvoTree.cpp) ---
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

    // --- Pane coordination and status (OrvoCoordination.cpp) ---
    void showStatistics();
    void listChanged(TLsFilelistView28* list);
    void listClicked(TLsFilelistView28* list);
    void listDblClicked(TLsFilelistView28* list);
    void listMouseDown(TLsFilelistView28* list, QPoint globalPos);
    void ShellTree1MouseDown(QPoint globalPos);
    void ShellTree1MouseUp();
    void listMouseUp(TLsFilelistView28* list);
    void listKeyDown(TLsFilelistView28* list);
    void listMouseMove(TLsFilelistView28* list);
    void listEdited(TLsFilelistView28* list);
    void Timer1Timer();
    void Timer3Timer();
    void Timer4Timer();
    void RefreshClick();            // J4, ToolButton11
    void LsDirTreeCombo281PathChange();
    void LsDirTreeCombo282PathChange();
    void LsDirTreeCombo281DblClick();
    void LsDirTreeCombo282DblClick();
    void rebuildCombos(bool rebuildOne, bool rebuildTwo);   // the others get their first node expanded
    void PrevLevelClick();          // I2, ToolButton13
    void stop1Click();              // stop1, stop2
    void BtnSearchClick();          // F9
    bool mousePressed() const { return m_mousePressed; }
    QPoint pressPoint() const { return m_pressPoint; }   // screen position of the last press

    // --- Controls, with the part that holds their commands ---
    // Tool bars, panes, the tree and the lists (OrvoControls.cpp builds them).
    QToolBar *ToolBar1{}, *ToolBar2{}, *ToolBar3{};
    TLsDirTreeCombo28* LsDirTreeCombo281 = nullptr;   // folder combo of list one
    TLsDirTreeCombo28* LsDirTreeCombo282 = nullptr;   // folder combo of list two
    QSplitter *Splitter1{}, *Splitter2{};
    QFrame* Panel2 = nullptr;               // the tree panel
    QWidget* Panel1 = nullptr;              // the lists and the preview
    QWidget* Panel3 = nullptr;              // the status extension panel
    TShellTree* ShellTree1 = nullptr;
    TLsFilelistView28* LsFilelistView281 = nullptr;
    TLsFilelistView28* LsFilelistView282 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;          // thumbnail size
    QStatusBar* StatusBar1 = nullptr;
    QLabel *StatusPanel0{}, *StatusPanel1{};
    QMenu* V2 = nullptr;                    // View menu

    // Path bar (PathBar).
    QComboBox* pathbox = nullptr;
    QToolButton *ToolButton3{}, *up1{}, *down1{};
    QMenu* PopupMenu2 = nullptr;            // path bar
    QAction *N110{}, *N22{}, *M3{}, *J1{}, *A2{}, *D3{}, *C1{}, *S2{}, *L2{}, *B3{}, *N8{}, *E2{};

    // Filter bar (FilterBar).
    QComboBox* Mask1 = nullptr;
    QMenu* PopupMenu4 = nullptr;            // filter box
    QAction *N17{}, *N18{}, *N19{}, *N3{}, *N4{}, *B1{}, *N7{};

    // List actions (ListActions): tool buttons, the transfer-list box, the lists' pop-up menu, the commands
    // whose state follows the selection.
    QToolButton *Paste0{}, *cut0{}, *copy0{}, *del1{}, *ASR{}, *rwtime{}, *Attribute{};
    QToolButton* ToolButton15 = nullptr;    // select all
    QComboBox* dirbox = nullptr;            // transfer list
    QMenu* PopupMenu6 = nullptr;            // the lists' pop-up menu
    QAction *Paste1{}, *paste2{}, *paste3{}, *fsd{}, *fsd1{}, *rem{}, *ReA{}, *RenameF{};
    QAction *Cut1{}, *Copy1{}, *cut2{}, *copy2{}, *copytocb{}, *del2{}, *DeleteF{};
    QAction *sx2{}, *sxxg{}, *G5{}, *RewriteTime{}, *Properties{}, *h16{}, *hexv{};
    QAction *N37{}, *B6{}, *xjwjj{}, *N16{}, *Open1{}, *dakai{}, *QuickView1{}, *ksll{}, *SelectAll1{}, *R3{};

    // Tool launcher (ToolLauncher).
    QToolButton* ToolButton29 = nullptr;    // process manager, right: compress
    QToolButton* ToolButton30 = nullptr;    // search, right: compare
    QToolButton* ToolButton31 = nullptr;    // split/merge, right: MD5
    QAction *A13{}, *H8{}, *MD52{}, *P12{}, *PAK1{}, *B9{};

    // Special folders, CD doors and programs (SpecialFolders, CdDoors, ProgramCommands).
    QMenu* P8 = nullptr;                    // "扩展&K"
    QAction *E3{}, *E7{}, *A4{}, *A14{}, *B4{}, *B10{}, *F2{}, *F10{}, *D5{}, *D12{}, *C3{}, *C11{}, *E4{};
    QAction *R8{}, *B7{}, *LumoW1{}, *LumoW2{}, *A9{};
    QToolButton* cd = nullptr;              // CD door, right: PopmenuCDctrl
    QAction* cdrom = nullptr;
    QMenu *PopmenuCDctrl{}, *mOpenCDROM{}, *mCloseCDROM{};

    // Pane layout (PaneLayout).
    QToolButton* ToolButton14 = nullptr;    // folders shown
    QToolButton *fv{}, *shfv{}, *Icond{}, *phint{};
    QMenu* PopupMenu1 = nullptr;            // view style and show/hide of the driven list
    QMenu* PopupMenu9 = nullptr;            // which list to hide
    QMenu* PopupMenu5 = nullptr;            // the tool windows, on phint's right click
    QAction *N112{}, *N211{}, *FLVSH1{}, *yc1{}, *HFListV2{}, *yc2{};
    QAction *B2{}, *B8{}, *M1{}, *M7{}, *L1{}, *L7{}, *D2{}, *D10{};
    QAction *N21{}, *F8{}, *U1{}, *U3{}, *E1{}, *E6{}, *H1{}, *H7{}, *S1{}, *S7{}, *R1{}, *ftr{}, *A1{}, *fta{}, *zkl{};

    // Folder tree (this window).
    QToolButton *treeset{}, *TreeSize{};
    QMenu* PopupMenu7 = nullptr;            // folder tree commands
    QMenu* wjpx = nullptr;                  // file sort submenu
    QMenu* K3 = nullptr;                    // special folders submenu
    QAction *L8{}, *A6{}, *ff{}, *B5{}, *CustomItem8{}, *D7{}, *CustomItem9{}, *fmu{};
    QAction *C6{}, *D8{}, *E5{}, *F3{}, *G2{}, *H4{}, *J3{}, *R5{}, *C9{}, *G3{}, *F4{};

    // Coordination, colours, window and settings commands (this window).
    QToolButton* ToolButton11 = nullptr;    // refresh
    QToolButton* ToolButton13 = nullptr;    // drives
    QToolButton* ToolButton8 = nullptr;     // background colour
    QComboBox* ColorBox = nullptr;
    QAction *J4{}, *I2{}, *stop1{}, *stop2{}, *F9{};
    QAction *X2{}, *S3{}, *OrvoM1{}, *OrvoM2{}, *OrvoF1{}, *orvowj{}, *OrvoE1{};
    QAction *kauto{}, *kau{}, *addzy{}, *addz{}, *zdl{}, *th{}, *fj{}, *ztf{};
    QAction *dragbl{}, *tfcopy{}, *tfcut{}, *tfkjfs{}, *N2{}, *L3{};

    QTimer Timer1;
    QTimer Timer2;
    QTimer Timer3;
    QTimer Timer4;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    // Dragging the window by its status bar.
    bool eventFilter(QObject* watched, QEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    // A command of this window with its documented name, running `handler` guarded.
    QAction* command(const char* name, const QString& caption, void (TOrvo::*handler)(), bool checkable = false);
    void buildMenus();
    void buildPanes();
    void buildViewControls();
    void buildTreeControls();
    void connectLists();
    void FormCreate(const QStringList& args);
    void FormShow();
    void FormCloseQuery();
    void FormDestroy();
    void registerHotkeys();
    void unregisterHotkeys();
    void showClashPolicy();
    void showDragPolicy();
    bool startOwnExecutable();
    void timerRelist(TLsFilelistView28* renamed);
    void treeClearSelection();
    void treeOptionFlip(quint32 option);
    void setTreeRoot(bool userDefined);

    std::unique_ptr<app::PathBar> m_pathBar;
    std::unique_ptr<app::FilterBar> m_filterBar;
    std::unique_ptr<app::ListActions> m_listActions;
    std::unique_ptr<app::ToolLauncher> m_toolLauncher;
    std::unique_ptr<app::PaneLayout> m_paneLayout;
    std::unique_ptr<app::AttributeCommands> m_attributeCommands;

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
    bool m_mousePressed = false;
    QPoint m_pressPoint;
    QColor m_mainColor;
    QColor m_boxColor;   // the colour the colour box shows
    QColor m_treeColor;
    QColor m_list1Color;
    QColor m_list2Color;
};
