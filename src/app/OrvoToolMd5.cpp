// The main window's commands for one tool window.
#include "app/Orvo.h"

void TOrvo::switchMd5() {}
void TOrvo::md5WithSelection() {}
