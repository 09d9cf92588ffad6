// The main window's commands for one tool window.
#include "app/Orvo.h"

void TOrvo::switchSplitMerge() {}
void TOrvo::ToolButton31Click() {}
