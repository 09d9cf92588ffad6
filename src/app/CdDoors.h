#pragma once
// The CD door commands: the door button `cd` and `cdrom` toggle the default drive's door; the right button
// on `cd` offers every drive's door in PopmenuCDctrl, rebuilt each time it opens.
#include <QObject>

class TOrvo;
class QAction;
class QMenu;

namespace app {

class CdDoors : public QObject {
    Q_OBJECT
public:
    explicit CdDoors(TOrvo& window);

    // Creates cdrom and the pop-up menu with its two submenus.
    void createCommands();
    // Connects the door button (already on the tool bar).
    void connectControls();

    void cdromClick();          // toggles the default drive's door
    void cdClick();             // the button toggles cdrom
    void PopmenuCDctrlPopup();  // rebuilds the per-drive submenus

private:
    void showDoorState();

    TOrvo& m_w;
};

} // namespace app
