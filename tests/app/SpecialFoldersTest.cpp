// Special folders, CD doors, companion programs and the about windows of the main window.
#include "OrvoFixture.h"
#include "app/AboutWindow.h"
#include "app/ProgramCommands.h"
#include "app/SettingsStore.h"
#include "foldertree/ShellTree.h"
#include "platform/Cdrom.h"
#include "support/TempTree.h"
#include "tools/splitmerge/SplitMergeWindow.h"
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace {

class FakeCdrom : public plat::ICdrom {
public:
    QStringList drives() override { return devices; }
    QString defaultDrive() override { return devices.value(0); }
    void openDoor(const QString& device) override { doors << QStringLiteral("open ") + device; }
    void closeDoor(const QString& device) override { doors << QStringLiteral("close ") + device; }
    QStringList devices;
    QStringList doors;   // "open /dev/sr0", "close /dev/sr1", …
};

class SpecialFoldersTest : public OrvoFixture {
protected:
    void SetUp() override
    {
        OrvoFixture::SetUp();
        plat::Services s = plat::services();
        s.cdrom = &cdrom;
        cdServices = std::make_unique<plat::ScopedServices>(s);
    }
    void TearDown() override
    {
        QFile::remove(userDirsFile());
        for (const char* name : {"Lumo浏览器", "Lumo浏览器.exe"})
            QFile::remove(companion(QString::fromUtf8(name)));
        if (!savedPath.isNull())
            qputenv("PATH", savedPath);
        OrvoFixture::TearDown();
        cdServices.reset();
    }
    static QString userDirsFile()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/user-dirs.dirs");
    }
    // Points the desktop's documents and desktop folders at `documents` and `desktop`.
    static void setUserDirs(const QString& documents, const QString& desktop)
    {
        QFile f(userDirsFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(documents) + "\"\n");
        f.write("XDG_DESKTOP_DIR=\"" + QFile::encodeName(desktop) + "\"\n");
    }
    static QString companion(const QString& name) { return QCoreApplication::applicationDirPath() + u'/' + name; }
    static void makeCompanion(const QString& name)
    {
        QFile f(companion(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // PATH holds only `dir` for the rest of the test.
    void setPath(const QString& dir)
    {
        if (savedPath.isNull())
            savedPath = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir));
    }
    // Opens the door menu the way the right button does and closes it again.
    void openDoorMenu(TOrvo& w)
    {
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(2, 2), w.cd->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(w.cd, &right);
        ASSERT_TRUE(w.PopmenuCDctrl->isVisible());
        w.PopmenuCDctrl->hide();
    }
    static QStringList texts(const QMenu* menu)
    {
        QStringList out;
        for (QAction* a : menu->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return out;
    }
    std::vector<QUrl> shown() const { return launcher.shownFolders; }

    test::TempTree tree;
    FakeCdrom cdrom;
    std::unique_ptr<plat::ScopedServices> cdServices;
    QByteArray savedPath;
};

// --- Special folders opened in the desktop's programs ---

TEST_F(SpecialFoldersTest, DesktopAndDocumentsOpenTheirFoldersInTheFileManager)
{
    const QString documents = tree.dir(QStringLiteral("docs"));
    const QString desktop = tree.dir(QStringLiteral("desk"));
    TOrvo& w = open();
    launcher.fileManager = true;
    setUserDirs(documents, desktop);
    const struct {
        QAction* command;
        QString folder;
    } cases[] = {{w.E3, desktop}, {w.E7, desktop}, {w.B4, documents}, {w.B10, documents}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command->objectName().toStdString());
        launcher.shownFolders.clear();
        c.command->trigger();
        ASSERT_EQ(launcher.shownFolders.size(), 1u);
        EXPECT_EQ(QDir::cleanPath(launcher.shownFolders[0].toLocalFile()), QDir::cleanPath(c.folder));
    }
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(SpecialFoldersTest, AMissingDesktopOrDocumentsFolderIsReported)
{
    const QString gone = tree.path(QStringLiteral("gone"));
    TOrvo& w = open();
    setUserDirs(gone, gone);
    for (QAction* a : {w.E3, w.B4}) {
        SCOPED_TRACE(a->objectName().toStdString());
        a->trigger();
        const auto infos = dialogs.callsOf(QStringLiteral("info"));
        ASSERT_EQ(infos.size(), 1u);
        EXPECT_TRUE(infos[0].text.contains(QDir::cleanPath(gone))) << infos[0].text.toStdString();
        dialogs.clear();
    }
    EXPECT_TRUE(launcher.shownFolders.empty());
    EXPECT_TRUE(launcher.opened.empty());
}

TEST_F(SpecialFoldersTest, TheControlPanelStartsTheFirstSettingsProgramFound)
{
    const QString bin = tree.dir(QStringLiteral("bin"));
    TOrvo& w = open();
    setPath(bin);
    w.A4->trigger();   // none on this desktop
    ASSERT_EQ(dialogs.callsOf(QStringLiteral("info")).size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("“控制面板”在这个桌面环境中不存在。"));
    dialogs.clear();
    for (const char* name : {"systemsettings", "lxqt-config"}) {
        QFile f(QDir(bin).filePath(QLatin1String(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    w.A14->trigger();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, QDir(bin).filePath(QStringLiteral("systemsettings")));   // first in the list
    EXPECT_TRUE(launcher.started[0].args.isEmpty());
}

TEST_F(SpecialFoldersTest, NetworkOpensWhenTheDesktopHandlesItAndFavouritesDoNotExist)
{
    TOrvo& w = open();
    w.C3->trigger();
    w.F2->trigger();
    w.F10->trigger();
    const auto infos = dialogs.callsOf(QStringLiteral("info"));
    ASSERT_EQ(infos.size(), 3u);
    EXPECT_EQ(infos[0].text, QStringLiteral("“网上邻居”在这个桌面环境中不存在。"));
    EXPECT_EQ(infos[1].text, QStringLiteral("“收藏夹”在这个桌面环境中不存在。"));
    dialogs.clear();
    EXPECT_TRUE(launcher.opened.empty());
    launcher.handlers[QStringLiteral("x-scheme-handler/network")] = QStringLiteral("files.desktop");
    w.C11->trigger();
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], QUrl(QStringLiteral("network:///")));
}

TEST_F(SpecialFoldersTest, TheRecycleBinOpensInTheFileManager)
{
    TOrvo& w = open();
    launcher.fileManager = true;
    w.D5->trigger();
    w.D12->trigger();
    ASSERT_EQ(launcher.shownFolders.size(), 2u);
    EXPECT_EQ(launcher.shownFolders[0], QUrl(QStringLiteral("trash:///")));
    EXPECT_TRUE(dialogs.calls().empty());
}

// Each command sits in a menu: the extension menu or the tool pop-up menu.
TEST_F(SpecialFoldersTest, TheCommandsAreInTheExtensionAndToolMenus)
{
    TOrvo& w = open();
    for (QAction* a : {w.E3, w.A4, w.B4, w.F2, w.D5, w.C3, w.E4, w.R8, w.LumoW1, w.cdrom})
        EXPECT_TRUE(w.P8->actions().contains(a)) << a->objectName().toStdString();
    for (QAction* a : {w.E7, w.A14, w.B10, w.F10, w.D12, w.C11, w.LumoW2})
        EXPECT_TRUE(w.PopupMenu5->actions().contains(a)) << a->objectName().toStdString();
    EXPECT_EQ(w.P8->title(), QStringLiteral("扩展&K"));
}

// --- Special folders in the tree ---

TEST_F(SpecialFoldersTest, TheTreeGoesToASpecialFolderOrSaysItDoesNotExist)
{
    TOrvo& w = open();
    auto* desktop = w.K3->findChild<QAction*>(QStringLiteral("M5"));
    auto* favourites = w.K3->findChild<QAction*>(QStringLiteral("T3"));
    auto* recent = w.K3->findChild<QAction*>(QStringLiteral("U2"));
    ASSERT_TRUE(desktop && favourites && recent);
    desktop->trigger();
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(QDir::cleanPath(w.ShellTree1->Path()),
              QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)));
    favourites->trigger();
    recent->trigger();
    EXPECT_EQ(dialogs.callsOf(QStringLiteral("info")).size(), 2u);
    dialogs.clear();
}

// --- CD doors ---

struct DoorMenuCase {
    QStringList devices;
    QStringList openItems;
    QStringList closeItems;
};

TEST_F(SpecialFoldersTest, TheDoorMenuListsEachDriveAndTheAllItemWithMoreThanOne)
{
    const DoorMenuCase cases[] = {
        {{}, {}, {}},
        {{QStringLiteral("/dev/sr0")}, {QStringLiteral("弹出光驱 /dev/sr0")}, {QStringLiteral("关闭光驱 /dev/sr0")}},
        {{QStringLiteral("/dev/sr0"), QStringLiteral("/dev/sr1")},
         {QStringLiteral("弹出光驱 /dev/sr0"), QStringLiteral("弹出光驱 /dev/sr1"), QStringLiteral("-"),
          QStringLiteral("弹出所有光驱(&A)")},
         {QStringLiteral("关闭光驱 /dev/sr0"), QStringLiteral("关闭光驱 /dev/sr1"), QStringLiteral("-"),
          QStringLiteral("关闭所有光驱(&C)")}},
    };
    TOrvo& w = open();
    w.show();
    // The same window each time: the menu is rebuilt on every opening.
    for (const DoorMenuCase& c : cases) {
        SCOPED_TRACE(c.devices.size());
        cdrom.devices = c.devices;
        openDoorMenu(w);
        EXPECT_EQ(texts(w.mOpenCDROM), c.openItems);
        EXPECT_EQ(texts(w.mCloseCDROM), c.closeItems);
    }
}

TEST_F(SpecialFoldersTest, DoorItemsOpenAndCloseTheirDriveAndTheAllItemEveryDrive)
{
    TOrvo& w = open();
    w.show();
    cdrom.devices = {QStringLiteral("/dev/sr0"), QStringLiteral("/dev/sr1")};
    openDoorMenu(w);
    w.mOpenCDROM->actions()[1]->trigger();
    w.mCloseCDROM->actions()[0]->trigger();
    w.mOpenCDROM->actions().last()->trigger();
    w.mCloseCDROM->actions().last()->trigger();
    EXPECT_EQ(cdrom.doors, (QStringList{QStringLiteral("open /dev/sr1"), QStringLiteral("close /dev/sr0"),
                                        QStringLiteral("open /dev/sr0"), QStringLiteral("open /dev/sr1"),
                                        QStringLiteral("close /dev/sr0"), QStringLiteral("close /dev/sr1")}));
}

TEST_F(SpecialFoldersTest, TheDoorButtonAndCommandToggleTheDefaultDriveTogether)
{
    TOrvo& w = open();
    w.show();
    cdrom.devices = {QStringLiteral("/dev/sr0"), QStringLiteral("/dev/sr1")};
    QTest::mouseClick(w.cd, Qt::LeftButton);
    EXPECT_TRUE(w.cd->isChecked());
    EXPECT_TRUE(w.cdrom->isChecked());
    w.cdrom->trigger();
    EXPECT_FALSE(w.cd->isChecked());
    EXPECT_FALSE(w.cdrom->isChecked());
    w.cdrom->trigger();
    QTest::mouseClick(w.cd, Qt::LeftButton);
    EXPECT_EQ(cdrom.doors, (QStringList{QStringLiteral("open /dev/sr0"), QStringLiteral("close /dev/sr0"),
                                        QStringLiteral("open /dev/sr0"), QStringLiteral("close /dev/sr0")}));
    cdrom.devices.clear();   // no drive: the request goes nowhere and nothing is reported
    w.cdrom->trigger();
    EXPECT_EQ(cdrom.doors.last(), QStringLiteral("open "));
    EXPECT_TRUE(dialogs.calls().empty());
}

// --- Companion programs, the settings file and the README ---

TEST_F(SpecialFoldersTest, TheBrowserCompanionIsStartedOrReportedMissing)
{
    TOrvo& w = open();
    w.LumoW1->trigger();
    const auto messages = dialogs.callsOf(QStringLiteral("message"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("“Lumo浏览器.exe”文件不存在") + QCoreApplication::applicationDirPath() +
                                    QStringLiteral("/！"));
    dialogs.clear();
    makeCompanion(QStringLiteral("Lumo浏览器.exe"));
    w.LumoW2->trigger();
    makeCompanion(QStringLiteral("Lumo浏览器"));
    w.LumoW1->trigger();
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(launcher.started[0].program, companion(QStringLiteral("Lumo浏览器.exe")));
    EXPECT_EQ(launcher.started[1].program, companion(QStringLiteral("Lumo浏览器")));   // without ".exe" first
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(SpecialFoldersTest, LatestVersionOpensTheBundledReadmeInTheBrowserCompanionOrTheDefaultHandler)
{
    const QString readme = app::readmePath();
    ASSERT_EQ(readme, QCoreApplication::applicationDirPath() + QStringLiteral("/README.md"));
    TOrvo& w = open();
    w.B7->trigger();
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], QUrl::fromLocalFile(readme));
    makeCompanion(QStringLiteral("Lumo浏览器"));
    w.B7->trigger();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].args, QStringList{QUrl::fromLocalFile(readme).toString()});
    EXPECT_EQ(launcher.opened.size(), 1u);
}

TEST_F(SpecialFoldersTest, TheReadmeIsFoundBesideTheProgramOrInTheInstalledDocs)
{
    const QString bin = tree.dir(QStringLiteral("prefix/bin"));
    EXPECT_EQ(app::readmePath(bin), QString());
    const QString installed = tree.file(QStringLiteral("prefix/share/doc/orvo/README.md"), 3);
    EXPECT_EQ(app::readmePath(bin), QDir::cleanPath(installed));
    const QString beside = tree.file(QStringLiteral("prefix/bin/README.md"), 3);
    EXPECT_EQ(app::readmePath(bin), QDir::cleanPath(beside));
}

TEST_F(SpecialFoldersTest, TheRegistryEditorCommandOpensTheSettingsFile)
{
    TOrvo& w = open();
    w.R8->trigger();
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], QUrl::fromLocalFile(SettingsStore::iniPath()));
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(SpecialFoldersTest, ExplorerOpensThePathBarFolder)
{
    TOrvo& w = open();
    launcher.fileManager = true;
    w.pathbox->setEditText(tree.root());
    w.E4->trigger();
    ASSERT_EQ(launcher.shownFolders.size(), 1u);
    EXPECT_EQ(QDir::cleanPath(launcher.shownFolders[0].toLocalFile()), QDir::cleanPath(tree.root()));
}

// --- Split command ---

TEST_F(SpecialFoldersTest, TheSplitCommandHidesTheMainWindowUntilItsWindowCloses)
{
    TOrvo& w = open();
    w.show();
    QTest::mouseClick(w.ToolButton31, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    const QList<Tfsf*> split = toolWindows<Tfsf>(true);
    ASSERT_EQ(split.size(), 1);
    split[0]->close();
    EXPECT_TRUE(w.isVisible());
    w.H8->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(toolWindows<Tfsf>(true).size(), 1);
}

// --- About windows ---

// The project's version as the top-level build file declares it.
QString projectVersion()
{
    QFile f(QStringLiteral(ORVO_SOURCE_DIR "/CMakeLists.txt"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QRegularExpression re(QStringLiteral("project\\(\\s*Orvo\\s+VERSION\\s+([0-9.]+)"));
    return re.match(QString::fromUtf8(f.readAll())).captured(1);
}

TEST_F(SpecialFoldersTest, TheAboutWindowShowsTheProjectVersionAndItsLinksWork)
{
    const QString version = projectVersion();
    ASSERT_FALSE(version.isEmpty());
    EXPECT_EQ(app::programVersion(), version);
    TOrvo& w = open();
    w.A9->trigger();
    auto* about = w.findChild<app::TAboutBox*>();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(about->isModal());
    EXPECT_EQ(about->Version->text(), QStringLiteral("版本 ") + version);

    // The README link opens the bundled file; the credits link opens the second window.
    const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    const QString readmeHref = href.match(about->ReadmeLink->text()).captured(1);
    ASSERT_FALSE(readmeHref.isEmpty());
    Q_EMIT about->ReadmeLink->linkActivated(readmeHref);
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], QUrl::fromLocalFile(app::readmePath()));
    Q_EMIT about->CreditsLink->linkActivated(href.match(about->CreditsLink->text()).captured(1));
    auto* credits = about->findChild<app::TCreditsBox*>();
    ASSERT_NE(credits, nullptr);
    EXPECT_TRUE(credits->isVisible());
    const QString text = credits->Libraries->text();
    for (const char* part : {"Qt", "zlib", "libjpeg-turbo", "LGPL", "zlib 许可证", "IJG"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    Q_EMIT credits->Libraries->linkActivated(QStringLiteral("https://zlib.net/zlib_license.html"));
    ASSERT_EQ(launcher.opened.size(), 2u);
    EXPECT_EQ(launcher.opened[1], QUrl(QStringLiteral("https://zlib.net/zlib_license.html")));
    EXPECT_TRUE(dialogs.calls().empty());
}

} // namespace
