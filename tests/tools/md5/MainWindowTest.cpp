#include "Md5TestSupport.h"
#include "app/Orvo.h"
#include "filelist/LsFilelistView28.h"
#include "platform/Services.h"
#include "support/Fakes.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "tools/md5/HashMD5Form.h"
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QToolButton>
#include <memory>

using namespace md5test;

namespace {

// The main window with fake instances, hotkeys and launcher; every MD5 window it opens is collected.
class Md5Commands : public ::testing::Test {
protected:
    void SetUp() override
    {
        instances.takeSlot();
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    }
    void TearDown() override
    {
        for (THashMD5Form* f : forms())
            delete f;
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const test::DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }
    static plat::Services fakes(test::FakeInstances& i, test::FakeHotkeys& h, test::FakeLauncher& l)
    {
        plat::Services s = plat::services();
        s.instances = &i;
        s.hotkeys = &h;
        s.launcher = &l;
        return s;
    }
    static QList<THashMD5Form*> forms()
    {
        QList<THashMD5Form*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* f = qobject_cast<THashMD5Form*>(w))
                found.append(f);
        return found;
    }
    static int rowOf(TLsFilelistView28* list, const QString& caption)
    {
        for (int r = 0; r < list->rowCount(); ++r)
            if (list->caption(r) == caption)
                return r;
        ADD_FAILURE() << "no row " << caption.toStdString();
        return -1;
    }
    // Names of the files in the window's result blocks, in order.
    static QStringList hashedNames(THashMD5Form* f)
    {
        QStringList names;
        for (const QString& line : f->mmResult->toPlainText().split(u'\n'))
            if (line.startsWith(QStringLiteral("MD5：")))
                names.append(line.section(QStringLiteral(" -> "), 1));
        return names;
    }

    test::ScriptedDialogs dialogs;
    test::FakeInstances instances;
    test::FakeHotkeys hotkeys;
    test::FakeLauncher launcher;
    plat::ScopedServices services{fakes(instances, hotkeys, launcher)};
    std::unique_ptr<TOrvo> window;
    test::TempTree t;
};

TEST_F(Md5Commands, SwitchOpensAnEmptyWindow)
{
    window = std::make_unique<TOrvo>(QStringList{QStringLiteral("/m")});
    ASSERT_EQ(forms().size(), 1);
    THashMD5Form* f = forms().first();
    EXPECT_TRUE(f->isVisible());
    EXPECT_TRUE(f->mmResult->toPlainText().isEmpty());
}

// Every opening makes a new window with the selected files of list one, then of list two, in list order;
// folders, the parent entry and unselected files are left out.
TEST_F(Md5Commands, SelectedFilesOfBothListsAreHashedInANewWindow)
{
    t.dir("one/sub");
    t.file("one/a.txt", QByteArray("abc"));
    t.file("one/b.txt", QByteArray("b"));
    t.file("one/c.txt", QByteArray("c"));
    t.file("two/z.txt", QByteArray("z"));
    window = std::make_unique<TOrvo>();
    TLsFilelistView28* one = window->LsFilelistView281;
    TLsFilelistView28* two = window->LsFilelistView282;
    one->setDirectory(t.path("one/"));
    two->setDirectory(t.path("two/"));
    for (const char* name : {"c.txt", "sub", "..", "a.txt"})
        one->selectRow(rowOf(one, QString::fromUtf8(name)), true);
    two->selectRow(rowOf(two, QStringLiteral("z.txt")));

    const QList<std::function<void()>> commands = {
        [&] { window->md5WithSelection(); },
        [&] { window->MD52->trigger(); },
        [&] { window->handleHotkey(Qt::AltModifier, Qt::Key_F5); },
        [&] { Q_EMIT window->ToolButton31->customContextMenuRequested(QPoint(1, 1)); },
    };
    for (qsizetype i = 0; i < commands.size(); ++i) {
        commands[i]();
        ASSERT_EQ(forms().size(), i + 1);
    }
    for (THashMD5Form* f : forms()) {
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(hashedNames(f), (QStringList{"a.txt", "c.txt", "z.txt"}));
        EXPECT_EQ(f->Edit1->text(), md5test::referenceDigest("z"));
    }
}

TEST_F(Md5Commands, NoSelectionOpensAnEmptyWindow)
{
    window = std::make_unique<TOrvo>();
    window->LsFilelistView281->setDirectory(t.root());
    window->md5WithSelection();
    ASSERT_EQ(forms().size(), 1);
    EXPECT_TRUE(forms().first()->mmResult->toPlainText().isEmpty());
}

} // namespace
