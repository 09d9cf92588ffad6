// The main window's commands for one tool window.
#include "app/Orvo.h"
#include "tools/compare/window/Fc_wahl.h"

// "/b", the right button of ToolButton30 and "文件比较&B" each open a new selection window.
void TOrvo::switchCompare()
{
    showToolWindow(new TFC);
}

void TOrvo::ToolButton30RightClick()
{
    showToolWindow(new TFC);
}

void TOrvo::B9Click()
{
    showToolWindow(new TFC);
}
