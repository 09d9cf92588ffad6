// The main window's commands for one tool window.
#include "app/Orvo.h"

void TOrvo::switchCompare() {}
void TOrvo::ToolButton30RightClick() {}
void TOrvo::B9Click() {}
