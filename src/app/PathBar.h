#pragma once
// The main window's path bar: the editable path box `pathbox` and its history of folders, the go, back and
// forward buttons, and the path box's pop-up menu `PopupMenu2` (open the path in a list or the tree, edit the
// history, save, load and edit the path-list file).
#include <QObject>
#include <QStringList>

class TLsFilelistView28;
class TOrvo;

namespace app {

class PathBar : public QObject {
    Q_OBJECT
public:
    explicit PathBar(TOrvo& window);

    // Creates the pop-up menu's commands (N110 … E2) and the menu; it also lists the window's paste3, zdl
    // and OrvoF1, which must exist by then.
    void createCommands();
    // Connects pathbox, ToolButton3, up1 and down1 once they exist.
    void connectControls();

    void pathboxKeyPress();         // Enter
    void ToolButton3Click();
    void pathboxDblClick();
    void pathboxSelect(int index);
    void up1Click();
    void down1Click();
    void openpath1Click();          // N110
    void CustomItem41Click();       // N22
    void ComboBox2Click();          // M3
    void J1Click();
    void Addpath1_oldClick();       // A2
    void Deletepath1_oldClick();    // D3
    void cls1_oldClick();           // C1
    void save1_oldClick();          // S2
    void load1_oldClick();          // L2
    void CustomItem15Click();       // B3
    void N8Click();
    void CustomItem44Click();       // E2

    // Adds a folder to the history unless an item exactly equal to it is present.
    void addHistoryOnce(const QString& folder);
    QStringList history() const;
    // The path-list file: the history is saved to it and loaded from it, keeping the typed text.
    void loadPathList();
    void savePathList();

protected:
    // Enter and double clicks in the path box.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The path-bar text as a folder with its trailing separator, or "" after the error box for a missing one.
    // An empty text, and unless `anyLength` a one-character text other than "/", give "" without a box.
    QString pathBarFolder(bool anyLength = false);
    void showMissing(const QString& text);
    void openInList(TLsFilelistView28* list);
    void stepHistory(int delta);

    TOrvo& m_w;
    int m_historyIndex = -1;    // the history item last chosen or stepped to
};

} // namespace app
