// Rename, batch rename, new folders and text documents, open, quick view and find from the main window.
#include "OrvoFixture.h"
#include "filelist/FileListView.h"
#include "foldertree/ShellTree.h"
#include "support/TempTree.h"
#include "tools/search/FindFilesWindow.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

class ListCommandsTest : public OrvoFixture {
protected:
    void select(TLsFilelistView28* list, std::initializer_list<QString> captions)
    {
        list->clearSelection();
        for (const QString& c : captions) {
            int row = -1;
            for (int r = 0; r < list->rowCount() && row < 0; ++r)
                if (list->caption(r) == c)
                    row = r;
            ASSERT_GE(row, 0) << c.toStdString();
            list->selectRow(row, true);
        }
    }
    static QStringList onDisk(const QString& dir)
    {
        return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }
    // The recorded dialogs as "kind|caption|text" lines; clears the record.
    QStringList takeDialogs()
    {
        QStringList out;
        for (const test::DialogCall& c : dialogs.calls())
            out << c.kind + u'|' + c.caption + u'|' + c.text;
        dialogs.clear();
        return out;
    }
    static QLineEdit* editorOf(TLsFilelistView28* list)
    {
        return list->currentView()->viewport()->findChild<QLineEdit*>();
    }
    test::TempTree tree;
};

const QString kRenameQuestion = QStringLiteral("question|文件改名|重命名所有选择的文件?");
const QString kBaseInput = QStringLiteral("input|改文件名|全部改名为（后加序号1;2;3...）") + QString(19, u' ');
const QString kExtQuestion = QStringLiteral(
    "question|修改文件扩展名|   选择的全部文件的扩展名改为同一扩展名吗？\r\n"
    "（注意：修改扩展名可能会导致文件关联错误而打不开或打开错误！）");
const QString kExtInput = QStringLiteral("input|改扩展名|全部扩展名改为:");

TEST_F(ListCommandsTest, BatchRenameAsksEachListItsOwnQuestions)
{
    tree.file(QStringLiteral("one/a.txt"), 1);
    tree.file(QStringLiteral("one/b.jpg"), 1);
    tree.dir(QStringLiteral("one/c"));
    tree.file(QStringLiteral("two/x.txt"), 1);
    tree.file(QStringLiteral("two/y.doc"), 1);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("one/")));
    w.LsFilelistView282->setDirectory(tree.path(QStringLiteral("two/")));
    select(w.LsFilelistView281, {QStringLiteral("a.txt"), QStringLiteral("b.jpg"), QStringLiteral("c")});
    select(w.LsFilelistView282, {QStringLiteral("x.txt"), QStringLiteral("y.doc")});
    dialogs.answerQuestion(ui::Dialogs::Yes);
    dialogs.answerInput(QStringLiteral("pic"));
    dialogs.answerQuestion(ui::Dialogs::No);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    dialogs.answerInput(QStringLiteral("n"));
    dialogs.answerQuestion(ui::Dialogs::Yes);
    dialogs.answerInput(QStringLiteral("png"));
    w.ASR->click();
    EXPECT_EQ(takeDialogs(), (QStringList{kRenameQuestion, kBaseInput, kExtQuestion, kRenameQuestion, kBaseInput,
                                          kExtQuestion, kExtInput + QString(20, u' ')}));
    // In list order, the folder first.
    EXPECT_EQ(onDisk(tree.path(QStringLiteral("one"))),
              (QStringList{QStringLiteral("pic1"), QStringLiteral("pic2.txt"), QStringLiteral("pic3.jpg")}));
    EXPECT_EQ(onDisk(tree.path(QStringLiteral("two"))), (QStringList{QStringLiteral("n1.png"), QStringLiteral("n2.png")}));
    EXPECT_TRUE(w.LsFilelistView281->updatesEnabled());
    QStringList shown;
    for (int r = 0; r < w.LsFilelistView281->rowCount(); ++r)
        shown << w.LsFilelistView281->caption(r);
    EXPECT_TRUE(shown.contains(QStringLiteral("pic3.jpg")));   // the list re-listed
}

TEST_F(ListCommandsTest, BatchRenameSkipsTheParentRowAndReportsATakenName)
{
    tree.file(QStringLiteral("d/x.txt"), 1);
    tree.file(QStringLiteral("d/y.log"), 2);
    tree.file(QStringLiteral("d/all1.txt"), 3);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("d/")));
    select(w.LsFilelistView281, {QStringLiteral(".."), QStringLiteral("x.txt"), QStringLiteral("y.log")});
    dialogs.answerQuestion(ui::Dialogs::Yes);
    dialogs.answerInput(QStringLiteral("all"));
    dialogs.answerQuestion(ui::Dialogs::Yes);
    dialogs.answerInput(QStringLiteral("txt"));
    w.listActions().ASRClick();
    EXPECT_EQ(takeDialogs(), (QStringList{kRenameQuestion, kBaseInput, kExtQuestion, kExtInput + QString(16, u' '),
                                          QStringLiteral("error|错误|\"all1.txt\" already exists !")}));
    EXPECT_EQ(onDisk(tree.path(QStringLiteral("d"))),
              (QStringList{QStringLiteral("all1.txt"), QStringLiteral("all2.txt"), QStringLiteral("x.txt")}));
    EXPECT_EQ(QFileInfo(tree.path(QStringLiteral("d/all2.txt"))).size(), 2);
    EXPECT_TRUE(onDisk(tree.root()).contains(QStringLiteral("d")));   // the parent kept its name

    select(w.LsFilelistView281, {QStringLiteral("x.txt")});
    dialogs.answerQuestion(ui::Dialogs::No);   // No leaves the list alone
    w.listActions().ASRClick();
    EXPECT_EQ(takeDialogs(), QStringList{kRenameQuestion});
}

TEST_F(ListCommandsTest, NewFolderTakesTheNextNumberStartsEditingAndTheOtherListFollows)
{
    tree.dir(QStringLiteral("新建的文件夹"));
    tree.dir(QStringLiteral("新建的文件夹(2)"));
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.root());
    w.LsFilelistView282->setDirectory(tree.root());
    w.listActions().N37Click();
    const QString made = tree.path(QStringLiteral("新建的文件夹(3)"));
    EXPECT_TRUE(QFileInfo(made).isDir());
    EXPECT_EQ(w.LsFilelistView281->RenameSource(), made);
    ASSERT_NE(editorOf(w.LsFilelistView281), nullptr);
    EXPECT_EQ(editorOf(w.LsFilelistView281)->text(), QStringLiteral("新建的文件夹(3)"));
    bool listed = false;
    for (int r = 0; r < w.LsFilelistView282->rowCount(); ++r)
        listed = listed || w.LsFilelistView282->subItem(r, 4) == made;
    EXPECT_TRUE(listed);
    EXPECT_EQ(w.pathbox->currentText(), tree.root());

    // The popup's command uses the list worked in last; with fv down the Edit menu's uses list two.
    const QString other = tree.dir(QStringLiteral("other"));
    w.LsFilelistView282->setDirectory(other);
    w.listActions().setActiveList(w.LsFilelistView282);
    w.listActions().xjwjjClick();
    EXPECT_TRUE(QFileInfo(other + QStringLiteral("新建的文件夹")).isDir());
    w.fv->setChecked(true);
    w.listActions().N37Click();
    EXPECT_TRUE(QFileInfo(other + QStringLiteral("新建的文件夹(2)")).isDir());
}

TEST_F(ListCommandsTest, NewTextDocumentTakesTheNextNumberInTheChosenList)
{
    tree.file(QStringLiteral("one/新建的文本文档.txt"), QByteArray("x"));
    tree.file(QStringLiteral("one/新建的文本文档(2).txt"), QByteArray("y"));
    tree.dir(QStringLiteral("two"));
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("one/")));
    w.LsFilelistView282->setDirectory(tree.path(QStringLiteral("two/")));
    w.listActions().B6Click();
    EXPECT_EQ(QFileInfo(tree.path(QStringLiteral("one/新建的文本文档(3).txt"))).size(), 0);
    EXPECT_EQ(QFileInfo(tree.path(QStringLiteral("one/新建的文本文档.txt"))).size(), 1);
    w.listActions().N16Click();   // the popup was opened on no list one: list two
    EXPECT_TRUE(QFileInfo::exists(tree.path(QStringLiteral("two/新建的文本文档.txt"))));

    w.LsFilelistView281->setDirectory(QStringLiteral("DRIVES"));
    w.listActions().B6Click();   // no folder: nothing
    EXPECT_EQ(onDisk(tree.path(QStringLiteral("one"))).size(), 3);
}

TEST_F(ListCommandsTest, RenameCommandsEditTheSelectedItems)
{
    tree.file(QStringLiteral("r/a.txt"), 1);
    TOrvo& w = open();
    w.ShellTree1->clearSelection();
    w.ShellTree1->setCurrentItem(nullptr);
    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("r/")));
    select(w.LsFilelistView281, {QStringLiteral("a.txt")});
    w.RenameF->trigger();
    EXPECT_EQ(w.LsFilelistView281->RenameSource(), tree.path(QStringLiteral("r/a.txt")));
    QLineEdit* editor = editorOf(w.LsFilelistView281);
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("b.txt"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(onDisk(tree.path(QStringLiteral("r"))), QStringList{QStringLiteral("b.txt")});
    EXPECT_TRUE(w.Timer1.isActive());   // the list's edited event reached the window

    select(w.LsFilelistView281, {QStringLiteral("b.txt")});
    w.listActions().remClick();
    EXPECT_NE(editorOf(w.LsFilelistView281), nullptr);
}

TEST_F(ListCommandsTest, OpenQuickViewAndFindActOnTheLists)
{
    tree.file(QStringLiteral("o/inner/f.txt"), 1);
    tree.file(QStringLiteral("o/notes.TXT"), 1);
    TOrvo& w = open();
    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("o/")));
    select(w.LsFilelistView281, {QStringLiteral("inner")});
    w.listActions().Open1_oldClick();
    EXPECT_EQ(w.LsFilelistView281->Directory(), tree.path(QStringLiteral("o/inner/")));
    EXPECT_TRUE(w.LsFilelistView281->stopa());

    w.LsFilelistView281->setDirectory(tree.path(QStringLiteral("o/")));
    select(w.LsFilelistView281, {QStringLiteral("notes.TXT")});
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", QByteArray());   // no viewer installed: the user's handler opens it
    w.listActions().QuickView1_oldClick();
    qputenv("PATH", savedPath);
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], QUrl::fromLocalFile(tree.path(QStringLiteral("o/notes.TXT"))));

    w.LsFilelistView281->currentView()->setFocus();
    w.LsFilelistView281->FindInFolder();
    Tfindfiles* found = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<Tfindfiles*>(top))
            found = f;
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Location->text(), tree.path(QStringLiteral("o/")));
    delete found;
}

} // namespace
