#pragma once
#include "AppTestSupport.h"
#include "app/FilterBar.h"
#include "app/ListActions.h"
#include "app/PaneLayout.h"
#include "app/PathBar.h"
#include "foldertree/ShellTree.h"
#include "support/MainWindowFixture.h"
#include "support/QtPrinters.h"

// The main window on a clean account: no settings, autostart or context-menu entries, no list files.
class OrvoFixture : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        apptest::cleanAccount();
        MainWindowFixture::SetUp();
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        apptest::cleanAccount();
    }
};
