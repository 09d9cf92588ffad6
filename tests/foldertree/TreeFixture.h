#pragma once
#include "TreeTestSupport.h"
#include "foldertree/ShellTree.h"
#include "support/TempTree.h"
#include <gtest/gtest.h>

namespace test {

// A tree rooted at a fresh temporary folder (or at the desktop).
class TreeFixture : public ::testing::Test {
protected:
    TShellnode* buildAt(const QString& dir, TVisOptions options = TF_FOLDERS)
    {
        tree.setOptions(options);
        tree.setRootUsePIDL(false);
        tree.setRootDir(dir);
        tree.ensureBuilt();
        return tree.Root();
    }
    TShellnode* node(const QString& path) { return tree.nodeForPath(path); }
    TShellnode* expand(const QString& path)
    {
        TShellnode* n = node(path);
        EXPECT_TRUE(n) << path.toStdString();
        if (n)
            n->setExpanded(true);
        return n;
    }
    TempTree t;
    TShellTree tree;
};

} // namespace test
