#pragma once
// The file lists' actions in the main window: cut, copy, paste and delete with the transfer-list box `dirbox`,
// rename, batch rename, new folders and text documents, open, quick view and select all, the lists' pop-up menu
// `PopupMenu6`, and the command-enable table that sets every such command's state from the selection. The
// actions work on the lists' selections; those that address one list use the active list set here.
#include <QObject>
#include <QStringList>

class TLsFilelistView28;
class TOrvo;

namespace app {

class ListActions : public QObject {
    Q_OBJECT
public:
    enum class TransferSource { None, ListOne, ListTwo };
    static const QStringList kQuickViewExtensions;

    explicit ListActions(TOrvo& window);

    // Creates the commands Paste1 … ksll, SelectAll1, R3 and the lists' pop-up menu (which lists stop2).
    void createCommands();
    // Connects the tool bar buttons (Paste0, cut0, copy0, del1, ASR, ToolButton15), dirbox and the lists'
    // pop-up menus once they exist.
    void connectControls();

    // The list the active-list commands address, and the list whose pop-up menu opened last.
    TLsFilelistView28* activeList() const { return m_active; }
    void setActiveList(TLsFilelistView28* list) { m_active = list; }
    TLsFilelistView28* popupList() const { return m_popupList; }

    // The command-enable table.
    void SetBtnMenuState();
    void PopupMenu6Popup(TLsFilelistView28* list);

    // Rename, new items, open, quick view, select all.
    void EditFClick();              // RenameF
    void remClick();
    void ASRClick();                // ASR, ReA
    void xjwjjClick();
    void N37Click();
    void N16Click();
    void B6Click();
    void Open1_oldClick();          // Open1, dakai
    void QuickView1_oldClick();     // QuickView1, ksll
    void SelectAll1_oldClick();     // SelectAll1, ToolButton15
    void R3Click();                 // refresh the list whose pop-up menu opened
    void h16Click();                // h16, hexv: a new hex viewer window (HexCommands.cpp)

    // Transfer list and delete.
    void Cut0Click();               // cut0, Cut1, cut2
    void Copy0Click();              // copy0, Copy1, copy2
    void Paste0Click();             // Paste0, Paste1, paste2, paste3
    void DeleteF_oldClick();        // del1, del2, DeleteF
    void delFMouseDown();           // right button on del1: the recycle bin
    void dirboxClick(int index);
    TransferSource transferSource() const { return m_transferSource; }
    // Cut or copied items are waiting in either list.
    bool transferPending() const;

private:
    void cutCopy(int mode);

    TOrvo& m_w;
    TLsFilelistView28* m_active = nullptr;
    TLsFilelistView28* m_popupList = nullptr;
    TransferSource m_transferSource = TransferSource::None;
};

} // namespace app
