#include "foldertree/MovePanel.h"
#include "ui/WindowMover.h"

TMovePanel::TMovePanel(QWidget* parent) : QFrame(parent)
{
    ui::WindowMover::install(this);
}
