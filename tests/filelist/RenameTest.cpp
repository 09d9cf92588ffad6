// In-place rename of list rows: the editor, the checks before the rename and what the list does after.
#include "CommandFixture.h"
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTreeView>

namespace {

class InPlaceRename : public CommandFixture {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        t.file(QStringLiteral("a.txt"), 1);
        t.file(QStringLiteral("b.txt"), 2);
        t.file(QStringLiteral("abc"), 3);
        t.dir(QStringLiteral("sub"));
        list->setDirectory(t.root());
    }
    QStringList onDisk() const
    {
        return QDir(t.root()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }
};

TEST_F(InPlaceRename, ToAnExistingNameShowsTheBoxAndLeavesBothFiles)
{
    QSignalSpy edited(list.get(), &TLsFilelistView28::edited);
    select({QStringLiteral("a.txt")});
    list->RenameSelected();
    EXPECT_EQ(list->RenameSource(), t.path(QStringLiteral("a.txt")));
    const int before = list->lister().listings();
    acceptEdit(QStringLiteral("b.txt"));
    EXPECT_EQ(onlyDialog(), QStringLiteral("error|错误|\"b.txt\" already exists !"));
    EXPECT_EQ(QFileInfo(t.path(QStringLiteral("a.txt"))).size(), 1);
    EXPECT_EQ(QFileInfo(t.path(QStringLiteral("b.txt"))).size(), 2);
    EXPECT_EQ(list->lister().listings(), before + 1);   // the list is refreshed all the same
    EXPECT_EQ(edited.count(), 0);
}

TEST_F(InPlaceRename, ChangeOfCaseRenamesAndRaisesEdited)
{
    QSignalSpy edited(list.get(), &TLsFilelistView28::edited);
    select({QStringLiteral("abc")});
    key(Qt::Key_F2);
    acceptEdit(QStringLiteral("ABC"));
    EXPECT_TRUE(onDisk().contains(QStringLiteral("ABC")));
    EXPECT_FALSE(onDisk().contains(QStringLiteral("abc")));
    EXPECT_GE(rowOf(QStringLiteral("ABC")), 0);
    EXPECT_EQ(edited.count(), 1);
}

TEST_F(InPlaceRename, SameNameEmptyTextAndInvalidNamesChangeNothing)
{
    QSignalSpy edited(list.get(), &TLsFilelistView28::edited);
    const QStringList before = onDisk();
    for (const QString& text : {QStringLiteral("a.txt"), QString()}) {
        select({QStringLiteral("a.txt")});
        list->RenameSelected();
        const int listings = list->lister().listings();
        acceptEdit(text);
        EXPECT_EQ(list->lister().listings(), listings) << text.toStdString();   // no refresh either
    }
    for (const QString& bad : {QStringLiteral("sub/x"), QStringLiteral("..")}) {
        select({QStringLiteral("a.txt")});
        list->RenameSelected();
        acceptEdit(bad);
        EXPECT_EQ(onlyDialog(), QStringLiteral("error|错误|\"") + bad + QStringLiteral("\" is not a valid name !"));
    }
    EXPECT_EQ(onDisk(), before);
    EXPECT_TRUE(QDir(t.path(QStringLiteral("sub"))).isEmpty());
    EXPECT_EQ(edited.count(), 0);
}

// Qt's warnings while a test runs, so a test can require that none was given.
QStringList g_warnings;
void keepWarnings(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_warnings << text;
}

TEST_F(InPlaceRename, TheRenamedRowStaysSelectedSoF2RenamesItAgainWithoutWarnings)
{
    for (const TViewStyle style : {vsReport, vsList, vsIcon}) {
        SCOPED_TRACE(int(style));
        list->setViewStyle(style);
        g_warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepWarnings);
        select({QStringLiteral("a.txt")});
        key(Qt::Key_F2);
        acceptEdit(QStringLiteral("c.txt"));
        EXPECT_EQ(selectedCaptions(), QStringList{QStringLiteral("c.txt")});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);   // the closed editor goes
        key(Qt::Key_F2);
        acceptEdit(QStringLiteral("a.txt"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        qInstallMessageHandler(previous);
        EXPECT_EQ(selectedCaptions(), QStringList{QStringLiteral("a.txt")});
        EXPECT_TRUE(onDisk().contains(QStringLiteral("a.txt")));
        EXPECT_EQ(g_warnings, QStringList());
    }
}

TEST_F(InPlaceRename, AHiddenExtensionIsKept)
{
    list->setHideFileExt(true);
    list->UpdateFileList();
    select({QStringLiteral("a")});
    list->RenameSelected();
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("a"));
    acceptEdit(QStringLiteral("z"));
    EXPECT_TRUE(QFileInfo::exists(t.path(QStringLiteral("z.txt"))));
    EXPECT_FALSE(QFileInfo::exists(t.path(QStringLiteral("a.txt"))));
}

TEST_F(InPlaceRename, ReadOnlyListRefusesAndParentOrDriveRowsAreNotEdited)
{
    select({QStringLiteral("a.txt")});
    list->setReadOnly(true);
    key(Qt::Key_F2);
    EXPECT_EQ(onlyDialog(), QStringLiteral("warning|警告|It's ReadOnly"));
    EXPECT_EQ(editor(), nullptr);
    list->setReadOnly(false);

    select({QStringLiteral("..")});
    list->RenameSelected();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_TRUE(list->RenameSource().isEmpty());

    test::FakeVolumes volumes;
    volumes.volumes = {plat::Volume{QStringLiteral("/"), QStringLiteral("/dev/sda1"), QStringLiteral("ext4"), QString(),
                                    plat::DriveType::Fixed, 1, 1}};
    plat::ScopedServices scoped(test::withVolumes(&volumes));
    list->setDirectory(QStringLiteral("DRIVES"));
    list->selectRow(0);
    list->RenameSelected();
    EXPECT_EQ(editor(), nullptr);
}

TEST_F(InPlaceRename, ASlowSecondClickEditsButADoubleClickDoesNot)
{
    QApplication::setDoubleClickInterval(40);
    auto* tree = list->detailsView();
    const QPoint at = tree->visualRect(list->model()->index(rowOf(QStringLiteral("b.txt")), 0)).center();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::qWait(100);
    EXPECT_EQ(editor(), nullptr);   // the first click only selects
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at, 200);
    QTRY_VERIFY(editor() != nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("b.txt"));
    QTest::keyClick(editor(), Qt::Key_Escape);

    list->setDblClickToOpen(false);   // a double click on the selected file opens nothing here
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at, 200);
    QTest::qWait(150);
    EXPECT_EQ(editor(), nullptr);
    QApplication::setDoubleClickInterval(400);
}

} // namespace
