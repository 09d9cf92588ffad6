#pragma once
// The main window's special folders: desktop, documents, control panel, network, recycle bin and favourites
// opened in the desktop's own programs (E3 … C11), and the same places selected in the folder tree (K3).
#include "foldertree/engine/ShellTypes.h"
#include <QObject>
#include <QString>

class QMenu;
class QMenuBar;
class TOrvo;

namespace app {

// Where a special folder opened in the desktop leads on this desktop.
struct SpecialFolderTarget {
    enum Kind { Folder, Program, Url, Trash, Missing };
    Kind kind = Missing;
    QString target;     // the folder, the program's path or the address
};

class SpecialFolders : public QObject {
    Q_OBJECT
public:
    explicit SpecialFolders(TOrvo& window);

    // Creates E3/E7, A4/A14, B4/B10, F2/F10, D5/D12, C3/C11.
    void createCommands();

    // The target of special folder `id` (0 desktop, 3 control panel, 5 documents, 6 favourites, 10 recycle bin,
    // 18 network) on this desktop.
    static SpecialFolderTarget target(int id);
    // Opens special folder `id`; a folder this desktop does not have gives a message over `window`.
    static void open(QWidget* window, int id);
    // Selects special folder `pidl` in the tree of `window`; one this desktop does not have gives a message.
    static void gotoInTree(TOrvo& window, TPidls pidl);

    void desktopClick();        // E3, E7
    void controlPanelClick();   // A4, A14
    void documentsClick();      // B4, B10
    void favouritesClick();     // F2, F10
    void recycleBinClick();     // D5, D12
    void networkClick();        // C3, C11

private:
    TOrvo& m_w;
};

// Creates the special folder, CD door and program commands and the menu "扩展&K" (P8), placed before
// `before` on the menu bar; the about and README commands go to `help`.
void createExtensionCommands(TOrvo& window, QMenuBar* bar, QMenu* before, QMenu* help);
// Adds the CD door button to the command bar and the special folders to PopupMenu5 once both exist.
void connectExtensionControls(TOrvo& window);

} // namespace app
