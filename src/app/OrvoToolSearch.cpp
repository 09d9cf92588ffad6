// The main window's commands for one tool window.
#include "app/Orvo.h"

void TOrvo::switchSearch() {}
void TOrvo::ToolButton30Click() {}
