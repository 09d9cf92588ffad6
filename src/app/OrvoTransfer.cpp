// The transfer list: cut, copy and paste between the panes.
#include "app/Orvo.h"

// Nothing can be pending before cut and copy fill a transfer list, so paste stays disabled until then.
void TOrvo::Paste0Click() {}
