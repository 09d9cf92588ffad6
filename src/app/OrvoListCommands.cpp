// Rename, batch rename, new folders and text documents, open and quick view from the main window's menus.
#include "app/Orvo.h"

void TOrvo::EditFClick() {}
void TOrvo::remClick() {}
void TOrvo::ASRClick() {}
void TOrvo::xjwjjClick() {}
void TOrvo::N37Click() {}
void TOrvo::N16Click() {}
void TOrvo::B6Click() {}
void TOrvo::Open1_oldClick() {}
void TOrvo::QuickView1_oldClick() {}
