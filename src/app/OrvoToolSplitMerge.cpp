// The main window's commands for one tool window.
#include "app/Orvo.h"
#include "tools/splitmerge/Fsf.h"

// "/h": a new split/merge window; the main window stays visible.
void TOrvo::switchSplitMerge()
{
    auto* w = new Tfsf;
    w->setMainWindow(this);
    showToolWindow(w);
}

// ToolButton31 and H8: a new split/merge window; the main window hides until that window closes.
void TOrvo::ToolButton31Click()
{
    auto* w = new Tfsf;
    w->setMainWindow(this);
    showToolWindow(w);
    hide();
}
