#pragma once
// The main window's filter bar: the extension filter box `Mask1` with its list of masks, and the box's pop-up
// menu `PopupMenu4` (apply the mask to the tree or a list, save, load, edit and delete the mask-list file).
#include <QObject>
#include <QStringList>

class TOrvo;

namespace app {

class FilterBar : public QObject {
    Q_OBJECT
public:
    static const QStringList kDefaultFilters;

    explicit FilterBar(TOrvo& window);

    // Creates the pop-up menu's commands (N17 … N7) and the menu.
    void createCommands();
    // Sets up Mask1 with the default masks once it exists.
    void connectControls();

    void Mask1KeyPress();           // Enter: the tree-driven list takes the mask
    void Mask1DblClick();
    void N17Click();                // the tree
    void N18Click();                // list one
    void N19Click();                // list two
    void N3Click();                 // save the mask list
    void N4Click();                 // load it
    void B1Click();                 // edit it
    void N7Click();                 // delete it

protected:
    // Enter and double clicks in the filter box.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TOrvo& m_w;
};

} // namespace app
