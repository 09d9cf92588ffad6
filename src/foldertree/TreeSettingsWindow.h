#pragma once
// The folder tree's settings window ("目录树设置").
#include "foldertree/engine/ShellTypes.h"
#include <QPointer>
#include <QWidget>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QTabWidget;
class TMovePanel;
class RadioGroup;
class TShellTree;

// What the settings window changes in the main window besides the tree itself.
struct ShellTreeSetHost {
    std::function<void(bool)> foldersShown;              // menu item `ff`
    std::function<void(bool)> filesShown;                // `CustomItem8`, `wjpx` enabled, flag "yf"
    std::function<void(bool)> hiddenShown;               // `CustomItem9`, flag "hd"
    std::function<void(bool)> fileMaskUseChanged;        // menu item `fmu`
    std::function<void(const QString&)> maskText;        // the filter box `Mask1`
};

// "目录树设置": the folder tree's options as check boxes, radio groups and buttons. Every control acts
// on the tree at once; there is no OK/Cancel step. One window exists at a time.
class TShellTreeSet : public QWidget {
    Q_OBJECT
public:
    TShellTreeSet(TShellTree* tree, ShellTreeSetHost host = {}, QWidget* parent = nullptr);
    ~TShellTreeSet() override;

    // Shows the one window, creating it (initialised from the tree) when none is open.
    static TShellTreeSet* open(TShellTree* tree, ShellTreeSetHost host = {});
    static TShellTreeSet* current();

    // The `PidlRoot` item order.
    static const QList<TPidls>& pidlOrder();

    // --- Controls ---
    TMovePanel* MovePanel1 = nullptr;
    QTabWidget* Pages = nullptr;
    QWidget* Standard = nullptr;
    QWidget* RootOptions = nullptr;
    QWidget* FileOptions = nullptr;
    QGroupBox* Options = nullptr;
    QCheckBox* CB_TF_FOLDERS = nullptr;
    QCheckBox* CB_TF_NONFOLDERS = nullptr;
    QCheckBox* CB_TF_HIDDEN = nullptr;
    QGroupBox* UpdateMode = nullptr;
    QCheckBox* UpdAutoThread = nullptr;
    QCheckBox* UpdAuto = nullptr;
    QCheckBox* UpdAutoRec = nullptr;
    QGroupBox* ShowOptions = nullptr;
    QCheckBox* ShowSharedOverlay = nullptr;
    QCheckBox* ShowLinkOverlay = nullptr;
    QCheckBox* ShowVirtualFolders = nullptr;
    QCheckBox* ShowIcons = nullptr;
    QCheckBox* ShowMessages = nullptr;
    QCheckBox* sr = nullptr;
    QCheckBox* sl = nullptr;
    QCheckBox* pmm = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QCheckBox* RootUsePidl = nullptr;
    QComboBox* DriveComboBox1 = nullptr;
    RadioGroup* PidlRoot = nullptr;
    QPushButton* rd = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QCheckBox* FileMaskUse = nullptr;
    RadioGroup* FileSortOrder = nullptr;
    RadioGroup* FileSorttype = nullptr;
    QGroupBox* Misc = nullptr;
    QCheckBox* ReadOnly = nullptr;
    QPushButton* EditST = nullptr;
    QPushButton* Update = nullptr;
    QPushButton* Quit = nullptr;

    // --- Handlers ---
    void CB_TF_FOLDERSClick();
    void CB_TF_NONFOLDERSClick();
    void CB_TF_HIDDENClick();
    void UpdAutoThreadClick();
    void UpdAutoClick();
    void UpdAutoRecClick();
    void ShowSharedOverlayClick();
    void ShowLinkOverlayClick();
    void ShowVirtualFoldersClick();
    void ShowIconsClick();
    void ShowMessagesClick();
    void srClick();
    void slClick();
    void pmmClick();
    void RootUsePidlClick();
    void DriveComboBox1Change(int index);
    void PidlRootClick(int index);
    void rdClick();
    void FileMaskUseClick();
    void FileSortOrderClick(int index);
    void FileSorttypeClick(int index);
    void ReadOnlyClick();
    void EditSTClick();
    void UpdateClick();
    void QuitClick();

private:
    void buildControls();
    void FormCreate();
    void setOption(TVisOption option, bool on);
    void updateEditST();

    QPointer<TShellTree> m_tree;
    ShellTreeSetHost m_host;
};
