// The built-in popup menu: its items and tags, the enabling rules, the dispatch and the send-to folder.
#include "CommandFixture.h"
#include "filelist/engine/ListLaunch.h"
#include "filelist/FileListPopup.h"
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>
#include <QTreeView>

namespace {

const QStringList kRuledItems = {
    QStringLiteral("ItemOpen"),    QStringLiteral("ItemView"),     QStringLiteral("SubMenuSend"),
    QStringLiteral("ItemOpCut"),   QStringLiteral("ItemOpCopy"),   QStringLiteral("ItemOpPaste"),
    QStringLiteral("ItemRename"),  QStringLiteral("ItemDelete"),   QStringLiteral("ItemProperty"),
    QStringLiteral("ItemFolder"),  QStringLiteral("Send_To0"),     QStringLiteral("Send_To1"),
    QStringLiteral("Send_To2"),    QStringLiteral("Send_To3"),
};

class Popup : public CommandFixture {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        for (const char* name : {"a.txt", "b.zip", "d.wmf", "e.rtf", "f.h"})
            t.file(QString::fromUtf8(name), 1);
        list->setDirectory(t.root());
    }
    TLsFilelistView28PopUp* menu() const { return list->builtInPopup(); }
    QStringList enabledItems()
    {
        menu()->updateEnabled();
        QStringList on;
        for (const QString& name : kRuledItems) {
            QAction* a = menu()->item(name);
            EXPECT_NE(a, nullptr) << name.toStdString();
            if (a && a->isEnabled())
                on << name;
        }
        return on;
    }
};

TEST_F(Popup, ItemsCaptionsAndTagsInMenuOrder)
{
    QStringList shown;
    for (QAction* a : menu()->actions())
        shown << (a->isSeparator() ? QStringLiteral("-") : a->text() + u'=' + a->data().toString());
    EXPECT_EQ(shown, (QStringList{QStringLiteral("打开&O=1"), QStringLiteral("快速查看&V=2"), QStringLiteral("-"),
                                  QStringLiteral("发送到&F =3"), QStringLiteral("-"), QStringLiteral("剪切&T=4"),
                                  QStringLiteral("复制&C=5"), QStringLiteral("粘贴&P=6"), QStringLiteral("-"),
                                  QStringLiteral("改名&R=7"), QStringLiteral("删除&D=8"), QStringLiteral("-"),
                                  QStringLiteral("属性&A=9"), QStringLiteral("-"), QStringLiteral("新文件夹&N=10")}));
    QStringList send;
    for (QAction* a : menu()->SendMenu->actions())
        send << a->objectName() + u'|' + a->text() + u'=' + a->data().toString();
    EXPECT_EQ(send, (QStringList{QStringLiteral("Send_To0|任何文件夹...=30"), QStringLiteral("Send_To1|剪贴板将内容=31"),
                                 QStringLiteral("Send_To2|剪贴板将文件路径名=32"), QStringLiteral("Send_To3|桌面快捷方式=33")}));
}

struct RuleCase {
    const char* name;
    QStringList selected;
    bool pending;
    bool drives;
    QStringList enabled;
};

class PopupRules : public Popup, public ::testing::WithParamInterface<RuleCase> {};

const QStringList kSelectionItems = {QStringLiteral("ItemOpen"), QStringLiteral("SubMenuSend"), QStringLiteral("ItemOpCut"),
                                     QStringLiteral("ItemOpCopy"), QStringLiteral("ItemDelete"), QStringLiteral("ItemProperty"),
                                     QStringLiteral("Send_To0"), QStringLiteral("Send_To2"), QStringLiteral("Send_To3")};

TEST_P(PopupRules, EnablesItemsForTheSelection)
{
    const RuleCase c = GetParam();
    test::FakeVolumes volumes;
    volumes.volumes = {plat::Volume{QStringLiteral("/"), QStringLiteral("/dev/sda1"), QStringLiteral("ext4"), QString(),
                                    plat::DriveType::Fixed, 1, 1}};
    plat::ScopedServices scoped(test::withVolumes(&volumes));
    if (c.drives)
        list->setDirectory(QStringLiteral("DRIVES"));
    if (c.pending)
        list->Transfer.ClipList = {t.path(QStringLiteral("b.zip"))};
    list->clearSelection();
    for (const QString& s : c.selected) {
        const int r = rowOf(s);
        ASSERT_GE(r, 0) << s.toStdString();
        list->selectRow(r, true);
    }
    const QStringList on = enabledItems();
    EXPECT_EQ(QSet<QString>(on.begin(), on.end()), QSet<QString>(c.enabled.begin(), c.enabled.end())) << on.join(u' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Table, PopupRules,
    ::testing::Values(
        RuleCase{"Nothing", {}, false, false, {QStringLiteral("ItemFolder")}},
        RuleCase{"PendingOnly", {}, true, false, {QStringLiteral("ItemFolder"), QStringLiteral("ItemOpPaste")}},
        RuleCase{"Text", {QStringLiteral("a.txt")}, false, false,
                 kSelectionItems + QStringList{QStringLiteral("ItemView"), QStringLiteral("ItemRename"),
                                               QStringLiteral("Send_To1"), QStringLiteral("ItemFolder")}},
        RuleCase{"Zip", {QStringLiteral("b.zip")}, false, false,
                 kSelectionItems + QStringList{QStringLiteral("ItemRename"), QStringLiteral("ItemFolder")}},
        RuleCase{"Metafile", {QStringLiteral("d.wmf")}, false, false,
                 kSelectionItems + QStringList{QStringLiteral("ItemRename"), QStringLiteral("Send_To1"),
                                               QStringLiteral("ItemFolder")}},
        RuleCase{"RichText", {QStringLiteral("e.rtf")}, false, false,
                 kSelectionItems + QStringList{QStringLiteral("ItemView"), QStringLiteral("ItemRename"),
                                               QStringLiteral("Send_To1"), QStringLiteral("ItemFolder")}},
        RuleCase{"TwoViewable", {QStringLiteral("a.txt"), QStringLiteral("f.h")}, true, false,
                 kSelectionItems + QStringList{QStringLiteral("ItemView"), QStringLiteral("ItemOpPaste"),
                                               QStringLiteral("ItemFolder")}},
        RuleCase{"Drives", {}, false, true, {}},
        RuleCase{"DriveRow", {QStringLiteral(" (/)  ")}, false, true,
                 kSelectionItems + QStringList{QStringLiteral("ItemRename")}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Popup, ItemsRunTheirCommands)
{
    select({QStringLiteral("a.txt"), QStringLiteral("b.zip"), QStringLiteral("f.h")});
    menu()->item(QStringLiteral("ItemOpCut"))->trigger();
    EXPECT_EQ(list->Transfer.ClipOperation, 2);
    EXPECT_EQ(list->Transfer.ClipList.size(), 3);
    menu()->item(QStringLiteral("Send_To2"))->trigger();
    const QStringList lines = QGuiApplication::clipboard()->text().split(u'\n');
    EXPECT_EQ(lines, (QStringList{t.path(QStringLiteral("a.txt")), t.path(QStringLiteral("b.zip")), t.path(QStringLiteral("f.h"))}));
    menu()->item(QStringLiteral("ItemFolder"))->trigger();
    EXPECT_TRUE(QFileInfo(t.path(QStringLiteral("新建的文件夹"))).isDir());
    EXPECT_EQ(list->RenameSource(), t.path(QStringLiteral("新建的文件夹")));
}

TEST_F(Popup, ShowsBesideTheClickUnlessTheHostHasItsOwnOrItIsOff)
{
    QWidget* viewport = list->detailsView()->viewport();
    const auto rightClick = [&] {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(20, 20), viewport->mapToGlobal(QPoint(20, 20)));
        QCoreApplication::sendEvent(viewport, &e);
    };
    rightClick();
    EXPECT_TRUE(menu()->isVisible());
    EXPECT_EQ(menu()->pos(), viewport->mapToGlobal(QPoint(30, 30)));
    menu()->hide();
    list->setPopUpMenuEnabled(false);
    rightClick();
    EXPECT_FALSE(menu()->isVisible());
    list->setPopUpMenuEnabled(true);
    list->detailsView()->setContextMenuPolicy(Qt::CustomContextMenu);
    rightClick();
    EXPECT_FALSE(menu()->isVisible());
}

TEST(PopupSendTo, ShortcutsOfTheSendToFolderBecomeInertItems)
{
    const QString folder = filelist::sendToFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile f(folder + QStringLiteral("mail.desktop"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Desktop Entry]\nType=Application\nName=邮件\nExec=false\n");
    f.close();
    test::ScriptedDialogs dialogs;
    TLsFilelistView28 list;
    TLsFilelistView28PopUp* menu = list.builtInPopup();
    QAction* item = menu->item(QStringLiteral("Send_To4"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("邮件"));
    EXPECT_EQ(item->data().toInt(), 34);
    EXPECT_EQ(menu->SendToPaths, QStringList{folder + QStringLiteral("mail.desktop")});
    item->trigger();   // nothing happens: no dialog, no launch
    EXPECT_TRUE(dialogs.calls().empty());
    QFile::remove(folder + QStringLiteral("mail.desktop"));
}

} // namespace
