// The main window's commands for one tool window.
#include "app/Orvo.h"

void TOrvo::switchCompress() {}
void TOrvo::ToolButton29RightClick() {}
void TOrvo::PAK1Click() {}
