// The main window's commands for one tool window.
#include "app/Orvo.h"

void TOrvo::switchProcesses() {}
void TOrvo::ToolButton29Click() {}
void TOrvo::P12Click() {}
