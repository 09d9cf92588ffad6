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
    // The folder tree's path; starts at the desktop folder.
    QString treePath() const { return m_treePath; }
    void setTreePath(const QString& path) { m_treePath = path; }
    bool treeFoldersShown() const { return m_treeFolders; }
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
    QFrame* ShellTree1 = nullptr;           // placeholder until the folder tree exists
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

    SettingsStore m_store;
    QString m_targetFolder;
    QString m_treePath;
    bool m_treeFolders = true;
    QSize m_savedSize{0, 0};
    bool m_replaceOnClash = false;
    bool m_dragMoves = false;
    bool m_dragLink = false;
    bool m_autostart = false;
    bool m_contextMenu = false;
    bool m_autoPathList = false;
    int m_lastDropResult = 0;
    QColor m_mainColor;
    QColor m_treeColor;
    QColor m_list1Color;
    QColor m_list2Color;
};
