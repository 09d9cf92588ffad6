#pragma once
// The main window's pane layout: which file list the folder tree drives (`fv`), which lists are shown and how
// wide list two is (`shfv`, PopupMenu9), the driven list's view style and show/hide options (`Icond`,
// PopupMenu1 and the View menu), and the status extension panel (`phint`).
#include <QObject>

class TLsFilelistView28;
class TOrvo;

namespace app {

class PaneLayout : public QObject {
    Q_OBJECT
public:
    explicit PaneLayout(TOrvo& window);

    // Creates the commands N112 … zkl and the menus PopupMenu9 and PopupMenu1.
    void createCommands();
    // Connects ToolButton14, fv, shfv, Icond and phint once they exist.
    void connectControls();

    void fvClick();
    void setFv(bool down);                  // sets `fv` without running its command
    void DirtreeFlist1_oldClick();          // N112
    void DirTreeFList2_oldClick();          // N211
    void shfvClick();
    void FLVSH1_oldClick();                 // FLVSH1, yc1
    void HFListV2_oldClick();               // HFListV2, yc2
    void IcondClick();
    void setDrivenViewStyle(int style);     // B2, B8, M1, M7, L1, L7, D2, D10
    void HideFolderClick();                 // N21, F8, ToolButton14
    void syjClick();                        // U1, U3, right button on ToolButton14
    void he_oldClick();                     // E1, E6
    void hha_oldClick();                    // H1, H7
    void sr_oldClick();                     // S1, S7
    void ftrClick();                        // R1, ftr
    void ftaClick();                        // A1, fta
    void V2Click();                         // the View menu or PopupMenu1 opens: check marks from the driven list
    void phintClick();                      // phint, zkl

    // List two's width when both lists are shown.
    int listTwoWidth() const { return m_listTwoWidth; }

private:
    // Clears the selection of a hidden list, makes a shown list the active one and rewrites the status bar.
    void activateShownList();
    void toggleListAttribute(bool (TLsFilelistView28::*get)() const, void (TLsFilelistView28::*set)(bool),
                             bool reread);
    void toggleFileType(quint32 bit);

    TOrvo& m_w;
    bool m_list1Hidden = false;
    bool m_list2Hidden = true;
    bool m_statusPanelHidden = false;
    int m_listTwoWidth = 0;
};

} // namespace app
