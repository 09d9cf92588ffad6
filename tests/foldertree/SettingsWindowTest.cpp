#include "TreeFixture.h"
#include "foldertree/MovePanel.h"
#include "ui/RadioGroup.h"
#include "foldertree/TreeSettingsWindow.h"
#include "platform/Services.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <memory>

using test::childTexts;

namespace {

// What the window told the main window.
struct HostLog {
    QList<bool> folders, files, hidden, maskUse;
    QStringList masks;
    ShellTreeSetHost host()
    {
        return {[this](bool v) { folders << v; }, [this](bool v) { files << v; }, [this](bool v) { hidden << v; },
                [this](bool v) { maskUse << v; }, [this](const QString& m) { masks << m; }};
    }
};

class SettingsWindow : public test::TreeFixture {
protected:
    void SetUp() override
    {
        volumes.volumes = {test::volume("/"), test::volume(t.path("usb"))};
        t.dir("usb/stick-folder");
        t.dir("plain");
    }
    void TearDown() override
    {
        window.reset();
        QDir(test::desktopDir()).removeRecursively();
    }
    TShellTreeSet* open()
    {
        window = std::make_unique<TShellTreeSet>(&tree, log.host());
        return window.get();
    }
    test::FakeVolumes volumes;
    plat::ScopedServices scoped{test::withVolumes(&volumes)};
    HostLog log;
    std::unique_ptr<TShellTreeSet> window;
};

TEST_F(SettingsWindow, InitialisedFromTheTreeWithoutChangingIt)
{
    t.file("plain/a.doc");
    tree.SetUserDefinedRoot(plat::ShellNamespace::fromPath(t.root()));
    tree.setRootPIDL(PIDL_USERDEFINED);
    tree.setOptions(TF_FOLDERS | TF_NONFOLDERS);
    tree.setFileMask(" *.Doc;;*.jpg ");
    tree.setFileMaskUse(true);
    tree.setFileSortOrder(so_Descending);
    tree.setFileSortType(so_Date);
    tree.setUpdAutoRec(true);
    tree.setShowLines(false);
    tree.ensureBuilt();
    TShellnode* root = tree.Root();
    TShellTreeSet* w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("目录树设置"));
    EXPECT_EQ(w->size(), QSize(278, 304));
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(w->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(w->Pages->currentWidget(), w->Standard);
    EXPECT_EQ(w->Pages->tabText(1), QStringLiteral("根目录选项&R"));
    EXPECT_EQ(w->PidlRoot->ItemIndex(), 17);
    EXPECT_EQ(w->PidlRoot->button(17)->text(), QStringLiteral("自定义"));
    EXPECT_EQ(tree.Root(), root);   // nothing rebuilt
    EXPECT_TRUE(w->RootUsePidl->isChecked());
    EXPECT_TRUE(w->CB_TF_FOLDERS->isChecked());
    EXPECT_TRUE(w->CB_TF_NONFOLDERS->isChecked());
    EXPECT_FALSE(w->CB_TF_HIDDEN->isChecked());
    EXPECT_TRUE(w->UpdAutoRec->isChecked());
    EXPECT_TRUE(w->FileMaskUse->isChecked());
    EXPECT_EQ(w->FileSortOrder->ItemIndex(), 1);
    EXPECT_EQ(w->FileSorttype->ItemIndex(), 3);
    EXPECT_FALSE(w->sl->isChecked());
    EXPECT_TRUE(w->sr->isChecked());
    EXPECT_FALSE(w->pmm->isVisibleTo(w));
    EXPECT_EQ(log.files, QList<bool>{true});   // the files option is applied once more
    EXPECT_EQ(log.masks, QStringList{"*.doc;*.jpg"});
    EXPECT_TRUE(log.folders.isEmpty());
    EXPECT_EQ(tree.Options(), TF_FOLDERS | TF_NONFOLDERS);
}

TEST_F(SettingsWindow, ControlsActOnTheTreeAtOnce)
{
    t.file("plain/b.txt");
    t.file("plain/a.txt");
    t.dir(".secret");
    tree.setRootUsePIDL(false);
    tree.setRootDir(t.root());
    tree.ensureBuilt();
    TShellTreeSet* w = open();
    w->CB_TF_NONFOLDERS->click();
    EXPECT_TRUE(tree.Options() & TF_NONFOLDERS);
    EXPECT_EQ(log.files, (QList<bool>{false, true}));
    TShellnode* plain = tree.nodeForPath(t.path("plain"));
    plain->setExpanded(true);
    EXPECT_EQ(childTexts(plain), (QStringList{"b.txt", "a.txt"}));   // "    反 序": Z to A
    w->Pages->setCurrentWidget(w->FileOptions);
    w->FileSortOrder->button(1)->click();                              // "    正 序": A to Z
    EXPECT_EQ(tree.FileSortOrder(), so_Descending);
    EXPECT_EQ(childTexts(plain), (QStringList{"a.txt", "b.txt"}));
    w->FileSorttype->button(1)->click();
    EXPECT_EQ(tree.FileSortType(), so_Size);
    w->CB_TF_HIDDEN->click();
    EXPECT_TRUE(childTexts(tree.Root()).contains(".secret"));
    EXPECT_EQ(log.hidden, QList<bool>{true});
    w->CB_TF_FOLDERS->click();
    EXPECT_FALSE(tree.Options() & TF_FOLDERS);
    EXPECT_EQ(log.folders, QList<bool>{false});
    EXPECT_TRUE(childTexts(tree.Root()).isEmpty());
    w->CB_TF_FOLDERS->click();
    w->FileMaskUse->click();
    EXPECT_TRUE(tree.FileMaskUse());
    EXPECT_EQ(log.maskUse, QList<bool>{true});
    const QList<std::pair<QCheckBox*, std::function<bool()>>> boxes = {
        {w->UpdAutoThread, [&] { return tree.UpdAutoThread(); }},
        {w->UpdAuto, [&] { return tree.UpdAuto(); }},
        {w->UpdAutoRec, [&] { return tree.UpdAutoRec(); }},
        {w->ShowSharedOverlay, [&] { return tree.ShowSharedOverlay(); }},
        {w->ShowLinkOverlay, [&] { return tree.ShowLinkOverlay(); }},
        {w->ShowVirtualFolders, [&] { return tree.ShowVirtualFolders(); }},
        {w->ShowIcons, [&] { return tree.ShowIcons(); }},
        {w->ShowMessages, [&] { return tree.ShowMessages(); }},
        {w->sr, [&] { return tree.ShowRoot(); }},
        {w->sl, [&] { return tree.ShowLines(); }},
        {w->ReadOnly, [&] { return tree.ReadOnly(); }},
    };
    for (const auto& [box, value] : boxes) {
        const bool before = value();
        box->click();
        EXPECT_NE(value(), before) << box->objectName().toStdString();
        EXPECT_EQ(value(), box->isChecked()) << box->objectName().toStdString();
    }
    w->pmm->click();
    EXPECT_EQ(tree.PopupMenuMode(), pmm_PopupMenu);
    EXPECT_EQ(tree.Root()->icon(0).isNull(), !tree.ShowIcons());
}

TEST_F(SettingsWindow, RenameButtonFollowsTheSelectionAndReadOnly)
{
    tree.setRootUsePIDL(false);
    tree.setRootDir(t.root());
    tree.ensureBuilt();
    tree.show();
    TShellTreeSet* w = open();
    EXPECT_FALSE(w->EditST->isEnabled());   // the root cannot be renamed
    tree.setCurrentItem(tree.nodeForPath(t.path("plain")));
    EXPECT_TRUE(w->EditST->isEnabled());
    w->ReadOnly->click();
    EXPECT_FALSE(w->EditST->isEnabled());
    w->ReadOnly->click();
    w->EditST->click();
    EXPECT_TRUE(tree.findChild<QLineEdit*>());
}

TEST_F(SettingsWindow, SpecialFolderChoiceAndRootButton)
{
    test::desktopDir();
    tree.setRootUsePIDL(false);
    tree.setRootDir(t.root());
    tree.setRootUsePIDL(true);
    tree.setRootPIDL(PIDL_DRIVES);
    tree.ensureBuilt();
    TShellTreeSet* w = open();
    EXPECT_EQ(w->PidlRoot->ItemIndex(), 9);
    w->PidlRoot->button(16)->click();   // "回收站"
    EXPECT_EQ(tree.RootPIDL(), PIDL_DESKTOP);
    EXPECT_EQ(tree.Root()->Item().id, QStringLiteral("desktop"));
    EXPECT_EQ(tree.Selected()->text(0), QStringLiteral("回收站"));
    w->rd->click();
    EXPECT_EQ(tree.RootPIDL(), PIDL_BITBUCKET);
    EXPECT_EQ(tree.Root()->Item().id, QStringLiteral("bitbucket"));
}

TEST_F(SettingsWindow, DriveChoiceTakesEffectWithoutTheDefaultRoot)
{
    test::desktopDir();
    tree.ensureBuilt();
    TShellnode* root = tree.Root();
    TShellTreeSet* w = open();
    ASSERT_EQ(w->DriveComboBox1->count(), 2);
    EXPECT_TRUE(w->RootUsePidl->isChecked());
    w->DriveComboBox1->setCurrentIndex(1);
    w->DriveComboBox1Change(1);
    EXPECT_EQ(tree.Root(), root);   // nothing visible changes
    w->RootUsePidl->click();
    EXPECT_EQ(tree.Root()->Path(), t.path("usb"));
    EXPECT_EQ(childTexts(tree.Root()), QStringList{"stick-folder"});
}

TEST_F(SettingsWindow, RefreshButtonReReadsTheTree)
{
    tree.setRootUsePIDL(false);
    tree.setRootDir(t.root());
    tree.setUpdAutoThread(false);
    tree.ensureBuilt();
    TShellTreeSet* w = open();
    t.dir("later");
    EXPECT_FALSE(childTexts(tree.Root()).contains("later"));
    w->Update->click();
    EXPECT_TRUE(childTexts(tree.Root()).contains("later"));
}

TEST_F(SettingsWindow, OneWindowAtATimeAndANewOneAfterClosing)
{
    tree.setRootUsePIDL(false);
    tree.setRootDir(t.root());
    TShellTreeSet* first = TShellTreeSet::open(&tree);
    EXPECT_EQ(TShellTreeSet::open(&tree), first);
    EXPECT_EQ(TShellTreeSet::current(), first);
    EXPECT_TRUE(first->isVisible());
    first->Quit->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TShellTreeSet::current(), nullptr);
    tree.setFileSortOrder(so_Descending);
    TShellTreeSet* second = TShellTreeSet::open(&tree);
    EXPECT_EQ(second->FileSortOrder->ItemIndex(), 1);   // initialised from the tree again
    second->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(TShellTreeSet::current(), nullptr);
}

TEST(MovePanel, DraggingAFreeSpotMovesTheWindow)
{
    QWidget window;
    auto* panel = new TMovePanel(&window);
    panel->setGeometry(0, 0, 200, 100);
    window.resize(200, 100);
    window.move(100, 100);
    window.show();
    const QPoint start = window.pos();
    auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons, Qt::MouseButton button) {
        const QPointF local = panel->mapFromGlobal(global);
        QMouseEvent e(type, local, local, global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(panel, &e);
    };
    const QPoint press = panel->mapToGlobal(QPoint(10, 10));
    send(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, press + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
    send(QEvent::MouseButtonRelease, press + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
    send(QEvent::MouseMove, press + QPoint(60, 60), Qt::NoButton, Qt::NoButton);   // released: no move
    EXPECT_EQ(window.pos(), start + QPoint(30, 20));
}

} // namespace
