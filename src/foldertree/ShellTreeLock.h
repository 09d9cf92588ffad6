#pragma once
#include "foldertree/ShellTree.h"

// Holds the tree's repainting while nodes change; nested locks repaint once at the outermost end.
class TShellTree::UpdateLock {
public:
    explicit UpdateLock(TShellTree* tree) : m_tree(tree)
    {
        if (m_tree->m_lockDepth++ == 0)
            m_tree->setUpdatesEnabled(false);
    }
    ~UpdateLock()
    {
        if (--m_tree->m_lockDepth == 0)
            m_tree->setUpdatesEnabled(true);
    }
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;
private:
    TShellTree* m_tree;
};
