// The main window's commands for one tool window.
#include "app/Orvo.h"
#include "tools/compress/Ysjys.h"

// Each command opens a new, independent compress/decompress window.
void TOrvo::switchCompress()
{
    showToolWindow(new Tysjys);
}

void TOrvo::ToolButton29RightClick()
{
    showToolWindow(new Tysjys);
}

void TOrvo::PAK1Click()
{
    showToolWindow(new Tysjys);
}
