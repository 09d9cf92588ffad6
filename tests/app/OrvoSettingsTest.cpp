#include "OrvoFixture.h"
#include "app/HistoryFiles.h"
#include "filelist/FileListView.h"
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QSettings>
#include <QStringEncoder>

using apptest::privateFile;
using apptest::readBytes;
using apptest::storedKeys;
using apptest::writeBytes;

namespace {

class OrvoSettingsTest : public OrvoFixture {
protected:
    static QStringList pathItems(const TOrvo& w)
    {
        QStringList items;
        for (int i = 0; i < w.pathbox->count(); ++i)
            items << w.pathbox->itemText(i);
        return items;
    }
    // Check marks of the items that mirror one state, in a fixed order.
    static std::vector<bool> marks(std::initializer_list<const QAction*> items)
    {
        std::vector<bool> out;
        for (const QAction* a : items)
            out.push_back(a->isChecked());
        return out;
    }
    SettingsStore store;
};

TEST_F(OrvoSettingsTest, CleanAccountGivesTheDefaults)
{
    TOrvo& w = open();
    EXPECT_EQ(w.mainColor(), QColor(192, 220, 192));
    EXPECT_EQ(w.treeColor(), QColor(Qt::white));
    EXPECT_EQ(w.list1Color(), QColor(Qt::white));
    EXPECT_EQ(w.list2Color(), QColor(Qt::white));
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(192, 220, 192));
    EXPECT_EQ(w.ShellTree1->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(w.LsFilelistView282->palette().color(QPalette::Base), QColor(Qt::white));
    EXPECT_FALSE(w.replaceOnNameClash());
    EXPECT_FALSE(w.dragMoves());
    EXPECT_FALSE(w.dragOffersLink());
    EXPECT_EQ(marks({w.th, w.fj, w.ztf}), (std::vector<bool>{false, true, true}));
    EXPECT_EQ(marks({w.dragbl, w.tfcopy, w.tfcut, w.tfkjfs}), (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(marks({w.zdl, w.kauto, w.kau, w.addzy, w.addz}), (std::vector<bool>(5, false)));
    EXPECT_TRUE(w.LsFilelistView281->ShowFolders());
    EXPECT_EQ(w.LsFilelistView282->Mask(), QStringLiteral("*.*"));
    EXPECT_FALSE(w.LsFilelistView281->ReadOnly());
    EXPECT_TRUE(storedKeys().isEmpty());
}

TEST_F(OrvoSettingsTest, StoredValuesAreLoaded)
{
    ASSERT_TRUE(store.writeColor("OrvoCo", 0x0000FF));
    ASSERT_TRUE(store.writeColor("ShTe", 0x00FF00));
    ASSERT_TRUE(store.writeColor("LFV1", qint32(0xFF00000F)));   // system colour: button face
    ASSERT_TRUE(store.writeColor("LFV2", 0x102030));
    for (const char* f : {"th", "dragf", "zdl"})
        ASSERT_TRUE(store.writeFlag(f, true));
    ASSERT_TRUE(store.setAutostart(true, "/usr/bin/orvo"));
    ASSERT_TRUE(store.setContextMenu(true, "/usr/bin/orvo"));

    TOrvo& w = open();
    EXPECT_EQ(w.mainColor(), QColor(255, 0, 0));
    EXPECT_EQ(w.treeColor(), QColor(0, 255, 0));
    EXPECT_EQ(w.list1Color(), QGuiApplication::palette().color(QPalette::Button));
    EXPECT_EQ(w.LsFilelistView282->palette().color(QPalette::Base), QColor(0x30, 0x20, 0x10));
    EXPECT_TRUE(w.replaceOnNameClash());
    EXPECT_TRUE(w.dragMoves());
    EXPECT_EQ(marks({w.th, w.fj, w.ztf}), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(marks({w.dragbl, w.tfcopy, w.tfcut, w.tfkjfs}), (std::vector<bool>{false, false, true, false}));
    EXPECT_EQ(marks({w.zdl, w.kauto, w.kau, w.addzy, w.addz}), (std::vector<bool>(5, true)));
}

TEST_F(OrvoSettingsTest, AnyItemOfAPolicyFlipsIt)
{
    TOrvo& w = open();
    const struct {
        const char* flag;
        QAction* item;
        bool (TOrvo::*state)() const;
    } cases[] = {
        {"th", w.th, &TOrvo::replaceOnNameClash},   {"th", w.fj, &TOrvo::replaceOnNameClash},
        {"th", w.ztf, &TOrvo::replaceOnNameClash},  {"dragf", w.dragbl, &TOrvo::dragMoves},
        {"dragf", w.tfcopy, &TOrvo::dragMoves},     {"dragf", w.tfcut, &TOrvo::dragMoves},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item->text().toStdString());
        for (bool expected : {true, false}) {
            c.item->trigger();
            EXPECT_EQ((w.*c.state)(), expected);
            EXPECT_EQ(store.hasFlag(c.flag), expected);
            EXPECT_EQ(marks({w.th, w.fj, w.ztf}),
                      (std::vector<bool>{w.replaceOnNameClash(), !w.replaceOnNameClash(), !w.replaceOnNameClash()}));
            EXPECT_EQ(marks({w.dragbl, w.tfcopy, w.tfcut}),
                      (std::vector<bool>{!w.dragMoves(), !w.dragMoves(), w.dragMoves()}));
        }
    }
}

TEST_F(OrvoSettingsTest, LinkDragsLastUntilTheDragPolicyFlips)
{
    TOrvo& w = open();
    w.tfkjfs->trigger();
    EXPECT_TRUE(w.dragOffersLink());
    EXPECT_FALSE(w.tfkjfs->isChecked());
    w.tfcut->trigger();
    EXPECT_FALSE(w.dragOffersLink());
    EXPECT_TRUE(w.dragMoves());
}

TEST_F(OrvoSettingsTest, RunAtStartOnOffOnFromEitherItem)
{
    TOrvo& w = open();
    const QString exe = QCoreApplication::applicationFilePath();
    for (QAction* item : {w.kauto, w.kau, w.kauto}) {
        const bool expected = !w.kauto->isChecked();
        item->trigger();
        EXPECT_EQ(marks({w.kauto, w.kau}), (std::vector<bool>(2, expected)));
        EXPECT_EQ(QFileInfo::exists(SettingsStore::autostartPath()), expected);
    }
    EXPECT_TRUE(readBytes(SettingsStore::autostartPath()).contains(QByteArray("Exec=\"" + exe.toUtf8() + "\"\n")));
}

TEST_F(OrvoSettingsTest, RunAtStartKeepsAnExistingEntry)
{
    TOrvo& w = open();
    const QByteArray own = "[Desktop Entry]\nExec=/elsewhere\n";
    writeBytes(SettingsStore::autostartPath(), own);
    w.kau->trigger();       // on: the entry was written after the load, so the item showed off
    EXPECT_TRUE(w.kauto->isChecked());
    EXPECT_EQ(readBytes(SettingsStore::autostartPath()), own);
}

TEST_F(OrvoSettingsTest, RunAtStartFailureShowsTheError)
{
    TOrvo& w = open();
    const QString folder = QFileInfo(SettingsStore::autostartPath()).absolutePath();
    QDir(folder).removeRecursively();
    writeBytes(folder, "not a folder");
    w.kauto->trigger();
    const auto errors = dialogs.callsOf("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, QStringLiteral("无法创建文件夹“%1”。").arg(folder));
    EXPECT_TRUE(w.kau->isChecked());
    dialogs.clear();
    QFile::remove(folder);
}

TEST_F(OrvoSettingsTest, ContextMenuItemsWriteBothEntriesAndMirrorTheFolderOne)
{
    writeBytes(SettingsStore::driveMenuPath(), "[Desktop Entry]\n");
    TOrvo& w = open();
    EXPECT_FALSE(w.addzy->isChecked());     // the drive entry alone does not count
    w.addz->trigger();
    EXPECT_EQ(marks({w.addzy, w.addz}), (std::vector<bool>(2, true)));
    EXPECT_TRUE(readBytes(SettingsStore::folderMenuPath()).contains("MimeType=inode/directory;"));
    EXPECT_TRUE(readBytes(SettingsStore::driveMenuPath()).contains("MimeType=inode/mount-point;"));
    w.addzy->trigger();
    EXPECT_EQ(marks({w.addzy, w.addz}), (std::vector<bool>(2, false)));
    EXPECT_FALSE(QFileInfo::exists(SettingsStore::folderMenuPath()));
    EXPECT_FALSE(QFileInfo::exists(SettingsStore::driveMenuPath()));
}

TEST_F(OrvoSettingsTest, ContextMenuFailureBeepsAndTheMarkStays)
{
    TOrvo& w = open();
    const QString apps = QFileInfo(SettingsStore::folderMenuPath()).absolutePath();
    QDir(apps).removeRecursively();
    writeBytes(apps, "not a folder");
    w.addzy->trigger();
    EXPECT_TRUE(w.addzy->isChecked());
    EXPECT_EQ(dialogs.beeps(), 1);
    dialogs.clear();
    QFile::remove(apps);
}

TEST_F(OrvoSettingsTest, PathListIsLoadedAtStartWhenAutomatic)
{
    ASSERT_TRUE(store.writeFlag("zdl", true));
    // An older list in the legacy Chinese code page.
    QStringEncoder gb("GB18030");
    writeBytes(privateFile(app::kPathListFile), gb.encode(QStringLiteral("/数据/\r\n/tmp/\r\n")));
    TOrvo& w = open();
    EXPECT_EQ(pathItems(w), (QStringList{"/数据/", "/tmp/"}));
    EXPECT_EQ(w.pathbox->currentText(), w.LsFilelistView281->Directory());
}

TEST_F(OrvoSettingsTest, PathListIsSavedAtDestructionOnlyWhenAutomatic)
{
    for (bool automatic : {false, true}) {
        SCOPED_TRACE(automatic);
        TOrvo& w = open();
        w.pathbox->addItems({"/tmp/", "/home/用户/"});
        if (automatic)
            w.zdl->trigger();
        EXPECT_EQ(store.hasFlag("zdl"), automatic);
        window.reset();
        EXPECT_EQ(QFileInfo::exists(privateFile(app::kPathListFile)), automatic);
        if (automatic) {
            EXPECT_EQ(readBytes(privateFile(app::kPathListFile)), QByteArray("/tmp/\r\n/home/用户/\r\n"));
        }
    }
}

TEST_F(OrvoSettingsTest, RestoreDefaultsRemovesEverythingButKeepsTheListsInMemory)
{
    for (const char* f : {"th", "dragf", "zdl", "yf", "hd"})
        ASSERT_TRUE(store.writeFlag(f, true));
    ASSERT_TRUE(store.writeColor("OrvoCo", 0x112233));
    ASSERT_TRUE(store.setAutostart(true, "/usr/bin/orvo"));
    ASSERT_TRUE(store.setContextMenu(true, "/usr/bin/orvo"));
    ASSERT_TRUE(app::writeListFile(app::kPathListFile, {"/tmp/"}));
    ASSERT_TRUE(app::writeListFile(app::kMaskListFile, {"*.txt"}));

    TOrvo& w = open();
    ASSERT_EQ(pathItems(w), QStringList{"/tmp/"});
    w.L3->trigger();
    EXPECT_TRUE(storedKeys().isEmpty());
    for (const QString& p : {SettingsStore::autostartPath(), SettingsStore::folderMenuPath(),
                             SettingsStore::driveMenuPath(), privateFile(app::kPathListFile),
                             privateFile(app::kMaskListFile)})
        EXPECT_FALSE(QFileInfo::exists(p)) << p.toStdString();
    EXPECT_EQ(w.mainColor(), QColor(192, 220, 192));
    EXPECT_EQ(marks({w.th, w.fj, w.ztf}), (std::vector<bool>{false, true, true}));
    EXPECT_EQ(marks({w.dragbl, w.tfcopy, w.tfcut}), (std::vector<bool>{true, true, false}));
    EXPECT_EQ(marks({w.zdl, w.kauto, w.kau, w.addzy, w.addz}), (std::vector<bool>(5, false)));
    EXPECT_EQ(pathItems(w), QStringList{"/tmp/"});
    window.reset();     // no longer automatic: nothing is saved at exit
    EXPECT_FALSE(QFileInfo::exists(privateFile(app::kPathListFile)));
}

TEST_F(OrvoSettingsTest, DamagedOrUnreadableSettingsBeepAndGiveDefaults)
{
    const struct {
        const char* label;
        void (*prepare)();
    } cases[] = {
        {"damaged", [] { writeBytes(SettingsStore::iniPath(), "[SOFTWARE\nOrvo%20%U6587\\th=1\n"); }},
        {"folder in its place", [] { QDir().mkpath(SettingsStore::iniPath()); }},
        {"colour no number", [] {
             QSettings s(SettingsStore::iniPath(), QSettings::IniFormat);
             s.setValue(SettingsStore::kGroup + "/OrvoCo", "red");
             s.setValue(SettingsStore::kGroup + "/LFV1", "blue");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        apptest::cleanAccount();
        c.prepare();
        TOrvo& w = open();
        EXPECT_EQ(dialogs.beeps(), 1);
        dialogs.clear();
        EXPECT_EQ(w.mainColor(), QColor(192, 220, 192));
        EXPECT_EQ(w.list1Color(), QColor(Qt::white));
        EXPECT_FALSE(w.replaceOnNameClash());
        window.reset();
    }
}

TEST_F(OrvoSettingsTest, UnwritableSettingsBeepOnFlagsAndReportRestoreDefaults)
{
    QDir().mkpath(SettingsStore::iniPath());
    TOrvo& w = open();
    dialogs.clear();            // the beep of the load
    w.ztf->trigger();
    EXPECT_TRUE(w.replaceOnNameClash());    // the choice holds for this session
    EXPECT_EQ(dialogs.beeps(), 1);
    dialogs.clear();
    w.N2->trigger();
    const auto errors = dialogs.callsOf("error");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, QStringLiteral("无法写入设置文件“%1”。").arg(SettingsStore::iniPath()));
    EXPECT_FALSE(w.replaceOnNameClash());   // reloaded: nothing readable, so the defaults
    dialogs.clear();
}

} // namespace
