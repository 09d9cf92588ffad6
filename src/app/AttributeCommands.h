#pragma once
// The main window's properties commands: the list's own properties box (Properties, sx2, a left click on
// Attribute), the attribute run over the selections of both lists (sxxg, G5, a right click on Attribute,
// all through Timer2 so that the run starts after the click), and the date rewrite (rwtime, RewriteTime).
#include <QObject>
#include <QStringList>

class TLsFilelistView28;
class TOrvo;

namespace app {

class AttributeCommands : public QObject {
    Q_OBJECT
public:
    explicit AttributeCommands(TOrvo& window);

    // Creates Properties, sx2, sxxg, G5 and RewriteTime.
    void createCommands();
    // Connects Attribute (left and right button), rwtime and Timer2 once they exist.
    void connectControls();

    void Properties_oldClick();     // Properties, sx2, Attribute
    void AttributeMouseDown();      // right button on Attribute: Timer2 in 10 ms
    void sxxgClick();               // sxxg, G5: Timer2 in 100 ms
    void AttrClick();               // Timer2: the attribute run
    void rwtimeClick();             // rwtime, RewriteTime

private:
    // Full paths of the selected items of `list`, in list order, without drive entries and "..".
    static QStringList selectedPaths(const TLsFilelistView28* list);

    TOrvo& m_w;
};

} // namespace app
