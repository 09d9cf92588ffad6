#include "Md5TestSupport.h"
#include "support/MainWindowFixture.h"
#include "app/ToolLauncher.h"
#include "filelist/FileListView.h"
#include "platform/Services.h"
#include "support/Fakes.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "tools/md5/Md5Window.h"
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
class Md5Commands : public test::MainWindowFixture {
protected:
    static QList<THashMD5Form*> forms() { return toolWindows<THashMD5Form>(); }
    // Names of the files in the window's result blocks, in order.
    static QStringList hashedNames(THashMD5Form* f)
    {
        QStringList names;
        for (const QString& line : f->mmResult->toPlainText().split(u'\n'))
            if (line.startsWith(QStringLiteral("MD5：")))
                names.append(line.section(QStringLiteral(" -> "), 1));
        return names;
    }

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
        [&] { window->toolLauncher().md5WithSelection(); },
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
    window->toolLauncher().md5WithSelection();
    ASSERT_EQ(forms().size(), 1);
    EXPECT_TRUE(forms().first()->mmResult->toPlainText().isEmpty());
}

} // namespace
