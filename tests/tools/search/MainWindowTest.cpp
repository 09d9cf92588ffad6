// The main window's find commands: ToolButton30, A13, Ctrl+F2 and the "/f" switch.
#include "support/MainWindowFixture.h"
#include "app/ToolLauncher.h"
#include "filelist/FileListView.h"
#include "platform/Services.h"
#include "support/Fakes.h"
#include "support/QtPrinters.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "tools/search/FindFilesWindow.h"
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTreeView>
#include <gtest/gtest.h>
#include <memory>

namespace {

class SearchCommands : public test::MainWindowFixture {
protected:
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        for (const char* name : {"orvofindf", "orvofindf.exe"})
            QFile::remove(companion(QString::fromUtf8(name)));
    }
    static QList<Tfindfiles*> searchWindows() { return toolWindows<Tfindfiles>(); }
    static QString companion(const QString& name) { return QCoreApplication::applicationDirPath() + u'/' + name; }
    static void makeCompanion(const QString& name, bool executable)
    {
        QFile f(companion(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                    : QFile::ReadOwner | QFile::WriteOwner);
    }
};

TEST_F(SearchCommands, EachCommandOpensANewSearchWindowWithTheTransferName)
{
    TOrvo& w = open();
    ASSERT_TRUE(w.dirbox);
    w.dirbox->addItem(QStringLiteral("/some/folder/report 2024.txt"));
    w.dirbox->setCurrentIndex(w.dirbox->count() - 1);
    w.toolLauncher().ToolButton30Click();
    w.A13->trigger();
    EXPECT_EQ(w.handleHotkey(Qt::ControlModifier, Qt::Key_F2), TOrvo::kHotkeySearch);
    const QList<Tfindfiles*> opened = searchWindows();
    ASSERT_EQ(opened.size(), 3);
    for (Tfindfiles* f : opened) {
        EXPECT_EQ(f->Filename->text(), QStringLiteral("report 2024.txt"));
        EXPECT_EQ(f->parentWidget(), nullptr);
        EXPECT_TRUE(f->testAttribute(Qt::WA_DeleteOnClose));
        EXPECT_TRUE(f->isVisible());
    }
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(SearchCommands, TheSwitchOpensOneWindowWithAnEmptyName)
{
    open({QStringLiteral("/F")});
    const QList<Tfindfiles*> opened = searchWindows();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0]->Filename->text(), QString());
}

TEST_F(SearchCommands, ACompanionFinderBesideTheProgramIsStartedInstead)
{
    TOrvo& w = open();
    makeCompanion(QStringLiteral("orvofindf"), false);   // not executable: the built-in window opens
    w.toolLauncher().ToolButton30Click();
    EXPECT_EQ(searchWindows().size(), 1);
    EXPECT_TRUE(launcher.started.empty());

    makeCompanion(QStringLiteral("orvofindf.exe"), true);
    w.toolLauncher().ToolButton30Click();
    makeCompanion(QStringLiteral("orvofindf"), true);
    w.handleHotkey(Qt::ControlModifier, Qt::Key_F2);
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(launcher.started[0].program, companion(QStringLiteral("orvofindf.exe")));
    EXPECT_EQ(launcher.started[1].program, companion(QStringLiteral("orvofindf")));   // without ".exe" first
    EXPECT_TRUE(launcher.started[1].args.isEmpty());
    EXPECT_EQ(searchWindows().size(), 1);
}

TEST_F(SearchCommands, ShowInTheMainWindowSetsTheTreeDrivenList)
{
    test::TempTree t;
    t.file("sub/found.txt", 1);
    TOrvo& w = open();
    w.toolLauncher().switchSearch();
    ASSERT_EQ(searchWindows().size(), 1);
    Tfindfiles* f = searchWindows().first();
    f->Location->setText(t.root());
    f->Filename->setText(QStringLiteral("found.txt"));
    f->Button2->click();
    while (f->FindFile->Busy())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(f->resultCount(), 1);
    f->FoundFiles->setCurrentIndex(f->FoundFiles->model()->index(0, 0));
    f->OrvoF1->trigger();
    EXPECT_EQ(w.treeDrivenList()->Directory(), t.path("sub/"));
}

} // namespace
