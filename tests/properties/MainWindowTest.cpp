// The main window's properties commands: the list's own properties box, the attribute run through Timer2
// over both lists with the refresh afterwards, and the date rewrite.
#include "PropertiesTestSupport.h"
#include "app/AttributeCommands.h"
#include "app/Commands.h"
#include "app/ListActions.h"
#include "filelist/FileListView.h"
#include "platform/Attributes.h"
#include "properties/AttributeWindow.h"
#include "properties/FileDateWindow.h"
#include "support/MainWindowFixture.h"
#include "support/TempTree.h"
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace proptest;

namespace {

class PropertiesCommands : public test::MainWindowFixture {
protected:
    // Selects the rows of `captions` in `list`.
    static void select(TLsFilelistView28* list, const QStringList& captions)
    {
        list->clearSelection();
        for (const QString& c : captions) {
            const int row = rowOf(list, c);
            ASSERT_GE(row, 0) << c.toStdString();
            list->selectRow(row, true);
        }
    }
    // The attribute letters column of a row as the list shows it now.
    static QString attributeColumn(const TLsFilelistView28* list, const QString& caption)
    {
        const int row = rowOf(list, caption);
        return row < 0 ? QStringLiteral("<none>") : list->subItem(row, 7);
    }
    test::TempTree t;
};

TEST_F(PropertiesCommands, AreAvailableAndFollowTheSelection)
{
    t.file(QStringLiteral("a.txt"), 1);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(t.root());
    for (QObject* c : std::initializer_list<QObject*>{w.sx2, w.sxxg, w.G5, w.RewriteTime, w.Properties, w.rwtime, w.Attribute})
        EXPECT_FALSE(app::isNotAvailable(c)) << c->objectName().toStdString();
    select(w.LsFilelistView281, {QStringLiteral("a.txt")});
    w.listActions().SetBtnMenuState();
    EXPECT_TRUE(w.sxxg->isEnabled());
    EXPECT_TRUE(w.Attribute->isEnabled());
    EXPECT_TRUE(w.rwtime->isEnabled());
}

// The plain command shows the list's own properties box for the selected items of each list.
TEST_F(PropertiesCommands, PropertiesShowsTheListsOwnBox)
{
    t.file(QStringLiteral("one/a.txt"), 1536);
    t.file(QStringLiteral("two/b.txt"), 3);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(t.path(QStringLiteral("one/")));
    w.LsFilelistView282->setDirectory(t.path(QStringLiteral("two/")));
    select(w.LsFilelistView281, {QStringLiteral("a.txt")});
    select(w.LsFilelistView282, {QStringLiteral("b.txt")});
    const struct {
        const char* what;
        std::function<void()> act;
    } ways[] = {
        {"Properties", [&] { w.Properties->trigger(); }},
        {"sx2", [&] { w.sx2->trigger(); }},
        {"Attribute", [&] { QTest::mouseClick(w.Attribute, Qt::LeftButton); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        way.act();
        const auto boxes = dialogs.callsOf(QStringLiteral("info"));
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].caption, QStringLiteral("属性"));
        EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("a.txt\n")));
        EXPECT_TRUE(boxes[1].text.startsWith(QStringLiteral("b.txt\n")));
        dialogs.clear();
    }
    EXPECT_FALSE(w.Timer2.isActive());
}

TEST_F(PropertiesCommands, TheAttributeCommandsStartTimer2)
{
    t.file(QStringLiteral("a.txt"), 1);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(t.root());
    select(w.LsFilelistView281, {QStringLiteral("a.txt")});
    const struct {
        const char* what;
        std::function<void()> act;
        int interval;
    } ways[] = {
        {"sxxg", [&] { w.sxxg->trigger(); }, 100},
        {"G5", [&] { w.G5->trigger(); }, 100},
        {"right button on Attribute",
         [&] { Q_EMIT w.Attribute->customContextMenuRequested(w.Attribute->rect().center()); }, 10},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.what);
        w.Timer2.stop();
        way.act();
        EXPECT_TRUE(w.Timer2.isActive());
        EXPECT_TRUE(w.Timer2.isSingleShot());
        EXPECT_EQ(w.Timer2.interval(), way.interval);
    }
    // Nothing selected: the run stops before any window, and the timer is off.
    w.LsFilelistView281->clearSelection();
    w.attributeCommands().AttrClick();
    EXPECT_FALSE(w.Timer2.isActive());
}

// List one's items first, then list two's; drive entries and ".." are left out; both lists re-list.
TEST_F(PropertiesCommands, TheRunGoesOverBothListsAndTheListsRelist)
{
    t.file(QStringLiteral("one/a.txt"), 1);
    t.file(QStringLiteral("one/b.txt"), 1);
    t.file(QStringLiteral("two/c.txt"), 1);
    TOrvo& w = open();
    TLsFilelistView28* one = w.LsFilelistView281;
    TLsFilelistView28* two = w.LsFilelistView282;
    one->setDirectory(t.path(QStringLiteral("one/")));
    two->setDirectory(t.path(QStringLiteral("two/")));
    select(one, {QStringLiteral(".."), QStringLiteral("b.txt"), QStringLiteral("a.txt")});
    select(two, {QStringLiteral("c.txt")});
    ASSERT_EQ(attributeColumn(one, QStringLiteral("a.txt")), QStringLiteral("A"));
    QStringList shown;
    ModalScript<TfrmAttribute> script;
    const auto readOnlyOk = [&](TfrmAttribute& win) {
        shown << win.FileName->text();
        win.ReadOnly->setChecked(true);
        QTest::mouseClick(win.ok, Qt::LeftButton);
    };
    script.then(readOnlyOk).then(readOnlyOk).then(readOnlyOk);
    w.sxxg->trigger();
    w.attributeCommands().AttrClick();   // what Timer2 runs
    EXPECT_FALSE(w.Timer2.isActive());
    EXPECT_EQ(shown, (QStringList{"a.txt", "b.txt", "c.txt"}));
    EXPECT_EQ(attributeColumn(one, QStringLiteral("a.txt")), QStringLiteral("AR"));
    EXPECT_EQ(attributeColumn(one, QStringLiteral("b.txt")), QStringLiteral("AR"));
    EXPECT_EQ(attributeColumn(two, QStringLiteral("c.txt")), QStringLiteral("AR"));
}

TEST_F(PropertiesCommands, TimerTwoRunsTheRun)
{
    t.file(QStringLiteral("a.txt"), 1);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(t.root());
    select(w.LsFilelistView281, {QStringLiteral("a.txt")});
    ModalScript<TfrmAttribute> script;
    script.then([](TfrmAttribute& win) { QTest::mouseClick(win.cel, Qt::LeftButton); });
    w.G5->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(script.shown(), 1, 10000);
}

TEST_F(PropertiesCommands, RewriteWithNothingSelectedSaysSo)
{
    TOrvo& w = open();
    w.LsFilelistView281->clearSelection();
    w.LsFilelistView282->clearSelection();
    EXPECT_FALSE(w.rwtime->isEnabled());   // the selection rules keep the button off; the handler says why
    w.attributeCommands().rwtimeClick();
    const auto messages = dialogs.callsOf(QStringLiteral("message"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("无文件选择 "));
    dialogs.clear();
}

// Two files and a folder at midnight: the files get 00:00:02, the folder and the other times stay.
TEST_F(PropertiesCommands, RewriteSetsTheSelectedFilesOnly)
{
    const QString a = t.file(QStringLiteral("one/a.txt"), QByteArray("aaa"));
    const QString b = t.file(QStringLiteral("one/b.txt"), QByteArray("bbb"));
    const QString d = t.dir(QStringLiteral("one/d"));
    for (const QString& p : {a, b, d})
        setStamps(p, kOddAccess, kOddWrite);
    const Stamps beforeA = Stamps::of(a);
    TOrvo& w = open();
    TLsFilelistView28* one = w.LsFilelistView281;
    one->setDirectory(t.path(QStringLiteral("one/")));
    w.LsFilelistView282->setDirectory(t.root());
    select(one, {QStringLiteral("a.txt"), QStringLiteral("d"), QStringLiteral("b.txt")});
    ModalScript<TFileDateForm> script;
    script.then([](TFileDateForm& f) {
        f.DTPicker1->setDateTime(QDateTime(QDate(2019, 7, 8), QTime(0, 0)));
        QTest::mouseClick(f.BtnOK, Qt::LeftButton);
    });
    w.RewriteTime->trigger();
    const qint64 stored = localSeconds(2019, 7, 8, 0, 0, 2);
    for (const QString& p : {a, b}) {
        const Stamps s = Stamps::of(p);
        EXPECT_TRUE(same(s.write, timespec{time_t(stored), 0})) << p.toStdString();
        EXPECT_TRUE(same(s.access, kOddAccess));
    }
    EXPECT_EQ(Stamps::of(a).contents, QByteArray("aaa"));
    EXPECT_EQ(Stamps::of(a).ino, beforeA.ino);
    EXPECT_TRUE(same(Stamps::of(d).write, kOddWrite));
    EXPECT_TRUE(one->updatesEnabled());
    EXPECT_EQ(w.pathbox->currentText(), t.root());   // the other list's folder
    // The list shows the new time.
    EXPECT_TRUE(one->subItem(rowOf(one, QStringLiteral("a.txt")), 2).startsWith(QStringLiteral("2019-07-08")))
        << one->subItem(rowOf(one, QStringLiteral("a.txt")), 2).toStdString();
}

TEST_F(PropertiesCommands, RewriteStopsAtAReadOnlyFirstFile)
{
    const QString a = t.file(QStringLiteral("a.txt"), 1);
    const QString b = t.file(QStringLiteral("b.txt"), 1);
    for (const QString& p : {a, b})
        setStamps(p, kOddAccess, kOddWrite);
    t.setMode(QStringLiteral("a.txt"), 0444);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(t.root());
    select(w.LsFilelistView281, {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    ModalScript<TFileDateForm> script;
    script.then([](TFileDateForm& f) { QTest::mouseClick(f.BtnOK, Qt::LeftButton); });
    QTest::mouseClick(w.rwtime, Qt::LeftButton);
    const auto messages = dialogs.callsOf(QStringLiteral("message"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("不能打开 a.txt"));
    EXPECT_TRUE(same(Stamps::of(a).write, kOddWrite));
    EXPECT_TRUE(same(Stamps::of(b).write, kOddWrite));
    EXPECT_TRUE(w.LsFilelistView281->updatesEnabled());
    dialogs.clear();

    // Cancel changes nothing and says nothing.
    select(w.LsFilelistView281, {QStringLiteral("b.txt")});
    script.then([](TFileDateForm& f) { QTest::mouseClick(f.BtnCancel, Qt::LeftButton); });
    QTest::mouseClick(w.rwtime, Qt::LeftButton);
    EXPECT_TRUE(same(Stamps::of(b).write, kOddWrite));
    EXPECT_TRUE(dialogs.calls().empty());
}

} // namespace
