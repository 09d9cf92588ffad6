// Name rules of the list commands: numbered new items, rename checks and batch rename, on real files.
#include "filelist/engine/ListNames.h"
#include "fileops/engine/FileOpPrompter.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using filelist::RenameOutcome;
using fileops::ListItem;

QStringList entries(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

struct NumberedCase {
    int n;
    const char* ext;
    const char* expected;
};

class NumberedName : public ::testing::TestWithParam<NumberedCase> {};

TEST_P(NumberedName, FirstIsPlainThenParenthesisedFromTwo)
{
    const NumberedCase c = GetParam();
    EXPECT_EQ(filelist::numberedName(QStringLiteral("新建的文件夹"), c.n, QString::fromUtf8(c.ext)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Names, NumberedName,
                         ::testing::Values(NumberedCase{1, "", "新建的文件夹"}, NumberedCase{2, "", "新建的文件夹(2)"},
                                           NumberedCase{10, "", "新建的文件夹(10)"},
                                           NumberedCase{1, ".txt", "新建的文件夹.txt"},
                                           NumberedCase{3, ".txt", "新建的文件夹(3).txt"}),
                         [](const auto& i) {
                             return "Number" + std::to_string(i.param.n) +
                                    (*i.param.ext ? "_" + test::literalName(i.param.ext) : std::string());
                         });

TEST(NewItems, FolderTakesTheFirstFreeNumber)
{
    test::TempTree t;
    EXPECT_EQ(filelist::createNewFolder(t.root()), t.root() + QStringLiteral("新建的文件夹"));
    EXPECT_EQ(filelist::createNewFolder(t.root()), t.root() + QStringLiteral("新建的文件夹(2)"));
    EXPECT_EQ(filelist::createNewFolder(t.root()), t.root() + QStringLiteral("新建的文件夹(3)"));
    EXPECT_TRUE(QFileInfo(t.root() + QStringLiteral("新建的文件夹(3)")).isDir());

    test::TempTree only2;   // only the numbered one exists: the plain name is free
    only2.dir(QStringLiteral("新建的文件夹(2)"));
    EXPECT_EQ(filelist::createNewFolder(only2.root()), only2.root() + QStringLiteral("新建的文件夹"));

    test::TempTree fileThere;   // a file holds the name: the folder takes the next number
    fileThere.file(QStringLiteral("新建的文件夹"), 4);
    EXPECT_EQ(filelist::createNewFolder(fileThere.root()), fileThere.root() + QStringLiteral("新建的文件夹(2)"));
    EXPECT_TRUE(QFileInfo(fileThere.root() + QStringLiteral("新建的文件夹")).isFile());

    EXPECT_EQ(filelist::createNewFolder(t.root() + QStringLiteral("missing/")), QString());
    EXPECT_EQ(filelist::createNewFolder(QStringLiteral("DRIVES")), QString());
}

TEST(NewItems, TextDocumentIsCreatedExclusivelyAndNeverTruncates)
{
    test::TempTree t;
    t.file(QStringLiteral("新建的文本文档.txt"), QByteArray("keep me"));
    t.file(QStringLiteral("新建的文本文档(2).txt"), QByteArray("me too"));
    t.dir(QStringLiteral("新建的文本文档(3).txt"));   // a folder holds the third name
    const QString made = filelist::createNewTextDocument(t.root());
    EXPECT_EQ(made, t.root() + QStringLiteral("新建的文本文档(4).txt"));
    EXPECT_EQ(QFileInfo(made).size(), 0);
    QFile kept(t.root() + QStringLiteral("新建的文本文档.txt"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));

    test::TempTree empty;
    EXPECT_EQ(filelist::createNewTextDocument(empty.root()), empty.root() + QStringLiteral("新建的文本文档.txt"));
}

TEST(NewItems, TextDocumentDoesNotWriteThroughALink)
{
    test::TempTree t;
    const QString victim = t.file(QStringLiteral("victim"), QByteArray("data"));
    t.link(QStringLiteral("新建的文本文档.txt"), victim);
    EXPECT_EQ(filelist::createNewTextDocument(t.root()), t.root() + QStringLiteral("新建的文本文档(2).txt"));
    EXPECT_EQ(QFileInfo(victim).size(), 4);
}

class ValidName : public ::testing::TestWithParam<std::pair<QString, bool>> {};

TEST_P(ValidName, RefusesEmptyDotsSlashAndNul)
{
    EXPECT_EQ(filelist::isValidName(GetParam().first), GetParam().second) << GetParam().first.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Names, ValidName,
                         ::testing::Values(std::pair{QString(), false}, std::pair{QStringLiteral("."), false},
                                           std::pair{QStringLiteral(".."), false},
                                           std::pair{QStringLiteral("a/b"), false},
                                           std::pair{QStringLiteral("a") + QChar(0) + QStringLiteral("b"), false},
                                           std::pair{QStringLiteral("..."), true},
                                           std::pair{QStringLiteral(".hidden"), true},
                                           std::pair{QStringLiteral("a\\b"), true},
                                           std::pair{QStringLiteral("名 字.txt"), true}),
                         [](const auto& i) { return test::literalName(i.param.first); });

TEST(Rename, ExistingTargetIsReportedAndNothingIsReplaced)
{
    test::TempTree t;
    const QString a = t.file(QStringLiteral("a.txt"), QByteArray("A"));
    t.file(QStringLiteral("b.txt"), QByteArray("BB"));
    fileops::SilentPrompter ui;
    EXPECT_EQ(filelist::renameEntry(a, QStringLiteral("b.txt"), ui), RenameOutcome::Exists);
    EXPECT_EQ(ui.texts, QStringList{QStringLiteral("error: \"b.txt\" already exists !")});
    EXPECT_EQ(QFileInfo(t.path(QStringLiteral("a.txt"))).size(), 1);
    EXPECT_EQ(QFileInfo(t.path(QStringLiteral("b.txt"))).size(), 2);
}

TEST(Rename, ChangeOfCaseIsARealRename)
{
    test::TempTree t;
    const QString abc = t.file(QStringLiteral("abc"), 3);
    fileops::SilentPrompter ui;
    EXPECT_EQ(filelist::renameEntry(abc, QStringLiteral("ABC"), ui), RenameOutcome::Renamed);
    EXPECT_TRUE(ui.texts.isEmpty()) << ui.texts.join(u'\n').toStdString();
    EXPECT_EQ(entries(t.root()), QStringList{QStringLiteral("ABC")});
    EXPECT_EQ(filelist::renameEntry(t.path(QStringLiteral("ABC")), QStringLiteral("ABC"), ui), RenameOutcome::Unchanged);
}

TEST(Rename, InvalidNamesAreRefusedBeforeAnyCall)
{
    test::TempTree t;
    t.dir(QStringLiteral("sub"));
    const QString a = t.file(QStringLiteral("a.txt"), 1);
    for (const QString& bad : {QStringLiteral("sub/x.txt"), QStringLiteral(".."), QStringLiteral(".")}) {
        fileops::SilentPrompter ui;
        EXPECT_EQ(filelist::renameEntry(a, bad, ui), RenameOutcome::Invalid) << bad.toStdString();
        EXPECT_EQ(ui.texts, QStringList{QStringLiteral("error: \"") + bad + QStringLiteral("\" is not a valid name !")});
    }
    EXPECT_EQ(entries(t.root()), (QStringList{QStringLiteral("a.txt"), QStringLiteral("sub")}));
    EXPECT_TRUE(entries(t.path(QStringLiteral("sub"))).isEmpty());
}

class BatchRename : public ::testing::Test {
protected:
    ListItem item(const QString& name, const QString& kind = QStringLiteral("file"))
    {
        return {name, t.path(name), kind};
    }
    test::TempTree t;
    fileops::SilentPrompter ui;
};

TEST_F(BatchRename, KeepsEachExtensionOrGivesAllTheSameOne)
{
    t.file(QStringLiteral("a.txt"), 1);
    t.file(QStringLiteral("b.jpg"), 1);
    t.dir(QStringLiteral("c"));
    const QList<ListItem> items = {item(QStringLiteral("a.txt")), item(QStringLiteral("b.jpg")),
                                   item(QStringLiteral("c"), QStringLiteral("dir"))};
    EXPECT_EQ(filelist::batchRename(items, QStringLiteral("pic"), std::nullopt, ui), 3);
    EXPECT_EQ(entries(t.root()), (QStringList{QStringLiteral("pic1.txt"), QStringLiteral("pic2.jpg"), QStringLiteral("pic3")}));
    EXPECT_TRUE(QFileInfo(t.path(QStringLiteral("pic3"))).isDir());

    const QList<ListItem> renamed = {item(QStringLiteral("pic1.txt")), item(QStringLiteral("pic2.jpg")),
                                     item(QStringLiteral("pic3"), QStringLiteral("dir"))};
    EXPECT_EQ(filelist::batchRename(renamed, QStringLiteral("pic"), QStringLiteral("png"), ui), 3);
    EXPECT_EQ(entries(t.root()),
              (QStringList{QStringLiteral("pic1.png"), QStringLiteral("pic2.png"), QStringLiteral("pic3.png")}));
    EXPECT_TRUE(ui.texts.isEmpty()) << ui.texts.join(u'\n').toStdString();
}

TEST_F(BatchRename, TakenNameIsReportedAndTheNumberingGoesOn)
{
    t.file(QStringLiteral("x.txt"), 1);
    t.file(QStringLiteral("y.txt"), 2);
    t.file(QStringLiteral("all1.txt"), 3);   // the first new name is taken
    const QList<ListItem> items = {item(QStringLiteral("x.txt")), item(QStringLiteral("y.txt"))};
    EXPECT_EQ(filelist::batchRename(items, QStringLiteral("all"), std::nullopt, ui), 1);
    EXPECT_EQ(ui.texts, QStringList{QStringLiteral("error: \"all1.txt\" already exists !")});
    EXPECT_EQ(entries(t.root()), (QStringList{QStringLiteral("all1.txt"), QStringLiteral("all2.txt"), QStringLiteral("x.txt")}));
    EXPECT_EQ(QFileInfo(t.path(QStringLiteral("all1.txt"))).size(), 3);
    EXPECT_EQ(QFileInfo(t.path(QStringLiteral("all2.txt"))).size(), 2);
}

TEST_F(BatchRename, ParentAndDriveRowsAreSkippedWithoutANumber)
{
    t.dir(QStringLiteral("d"));
    t.file(QStringLiteral("d/one.txt"), 1);
    t.file(QStringLiteral("d/two.log"), 1);
    const QList<ListItem> items = {
        {QStringLiteral(".."), t.path(QStringLiteral("d/..")), QStringLiteral("dir")},
        {QStringLiteral(" (/)  "), QStringLiteral("/"), QStringLiteral("drv")},
        {QStringLiteral("one.txt"), t.path(QStringLiteral("d/one.txt")), QStringLiteral("file")},
        {QStringLiteral("two.log"), t.path(QStringLiteral("d/two.log")), QStringLiteral("file")},
    };
    EXPECT_EQ(filelist::batchRename(items, QStringLiteral("n"), std::nullopt, ui), 2);
    EXPECT_EQ(entries(t.path(QStringLiteral("d"))), (QStringList{QStringLiteral("n1.txt"), QStringLiteral("n2.log")}));
    EXPECT_EQ(entries(t.root()), QStringList{QStringLiteral("d")});
}

TEST_F(BatchRename, NameDifferingOnlyInCaseIsRenamedAndEqualNameIsLeft)
{
    t.file(QStringLiteral("ALL1.TXT"), 1);
    t.file(QStringLiteral("all2.txt"), 2);
    const QList<ListItem> items = {item(QStringLiteral("ALL1.TXT")), item(QStringLiteral("all2.txt"))};
    EXPECT_EQ(filelist::batchRename(items, QStringLiteral("all"), std::nullopt, ui), 1);
    EXPECT_TRUE(ui.texts.isEmpty()) << ui.texts.join(u'\n').toStdString();
    EXPECT_EQ(entries(t.root()), (QStringList{QStringLiteral("all1.TXT"), QStringLiteral("all2.txt")}));
}

TEST_F(BatchRename, BaseOrExtensionWithASlashMovesNothing)
{
    t.dir(QStringLiteral("sub"));
    t.file(QStringLiteral("a.txt"), 1);
    EXPECT_EQ(filelist::batchRename({item(QStringLiteral("a.txt"))}, QStringLiteral("sub/p"), std::nullopt, ui), 0);
    EXPECT_EQ(filelist::batchRename({item(QStringLiteral("a.txt"))}, QStringLiteral("p"), QStringLiteral("x/y"), ui), 0);
    EXPECT_EQ(ui.texts, (QStringList{QStringLiteral("error: \"sub/p1.txt\" is not a valid name !"),
                                     QStringLiteral("error: \"p1.x/y\" is not a valid name !")}));
    EXPECT_EQ(entries(t.root()), (QStringList{QStringLiteral("a.txt"), QStringLiteral("sub")}));
}

} // namespace
