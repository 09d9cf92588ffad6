// The folder tree as the other panes use it.
#include "app/Orvo.h"
#include <QFrame>

bool TOrvo::treeHasSelection() const
{
    return false;
}

void TOrvo::treeSetFileMask(const QString& mask)
{
    m_treeFileMask = mask;
}

void TOrvo::treeRepaint()
{
    ShellTree1->update();
}

void TOrvo::treeClearSelection() {}
