#pragma once
// The main window's tool launcher: opens the tool windows (file search, file compare, compress/decompress,
// MD5, split/merge, process manager) from the tool bar buttons ToolButton29–31, the tools menu, the hotkeys,
// the command-line switches and the file lists' own find.
#include <QObject>
#include <QStringList>

class TOrvo;
class Tfindfiles;

namespace app {

// A companion program in `folder` (the program folder when empty): `name` without ".exe" first, then with it.
// Empty when there is none.
QString companionProgram(const QString& name, const QString& folder = QString());
// Starts the companion program `name` with `args` through the launcher; false when there is none.
bool startCompanion(const QString& name, const QStringList& args = {});

class ToolLauncher : public QObject {
    Q_OBJECT
public:
    explicit ToolLauncher(TOrvo& window);

    // Creates the tools menu's commands (A13, H8, MD52, P12, PAK1, B9).
    void createCommands();
    // Connects ToolButton29–31 (left and right button) and the lists' find once they exist.
    void connectControls();
    // Runs the tool switch `lowerArg` ("/f", "/p", "/y", "/h", "/b", "/m"); false for any other text.
    bool runSwitch(const QString& lowerArg);

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

private:
    // A new search window whose "show in main window" opens the folder in the tree-driven list.
    Tfindfiles* newSearchWindow();
    void showSplitMergeWindow();

    TOrvo& m_w;
};

} // namespace app
