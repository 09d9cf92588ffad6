#include "AppTestSupport.h"
#include "app/ColorValue.h"
#include "app/SettingsStore.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QSettings>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using apptest::readBytes;
using apptest::storedKeys;
using apptest::writeBytes;

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { apptest::cleanAccount(); }
    void TearDown() override { apptest::cleanAccount(); }
    SettingsStore store;
};

QVariant storedValue(const QString& name)
{
    QSettings s(SettingsStore::iniPath(), QSettings::IniFormat);
    return s.value(SettingsStore::kGroup + u'/' + name);
}

TEST_F(SettingsStoreTest, FilesLiveInTheXdgFolders)
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString data = qEnvironmentVariable("XDG_DATA_HOME");
    EXPECT_EQ(SettingsStore::iniPath(), config + "/orvo/orvo.ini");
    EXPECT_EQ(SettingsStore::autostartPath(), config + "/autostart/orvo.desktop");
    EXPECT_EQ(SettingsStore::folderMenuPath(), data + "/applications/orvo-folder.desktop");
    EXPECT_EQ(SettingsStore::driveMenuPath(), data + "/applications/orvo-drive.desktop");
    EXPECT_EQ(SettingsStore::kGroup, QStringLiteral("SOFTWARE/Orvo 文件管理器"));
}

TEST_F(SettingsStoreTest, FlagIsOnExactlyWhilePresent)
{
    for (const char* name : {"th", "dragf", "zdl", "yf", "hd"}) {
        SCOPED_TRACE(name);
        const QString n = QLatin1String(name);
        EXPECT_FALSE(store.hasFlag(n));
        ASSERT_TRUE(store.writeFlag(n, true));
        EXPECT_TRUE(store.hasFlag(n));
        EXPECT_EQ(storedValue(n).toInt(), 1);
        ASSERT_TRUE(store.writeFlag(n, false));
        EXPECT_FALSE(store.hasFlag(n));
        EXPECT_FALSE(storedKeys().contains(n));
    }
}

TEST_F(SettingsStoreTest, FlagDataIsNeverLookedAt)
{
    {
        QSettings s(SettingsStore::iniPath(), QSettings::IniFormat);
        s.setValue(SettingsStore::kGroup + "/th", 0);
        s.setValue(SettingsStore::kGroup + "/dragf", "no");
    }
    EXPECT_TRUE(store.hasFlag("th"));
    EXPECT_TRUE(store.hasFlag("dragf"));
    ASSERT_TRUE(store.writeFlag("th", true));
    EXPECT_EQ(storedValue("th").toInt(), 1);
}

TEST_F(SettingsStoreTest, ColourRoundTripsAsInt32)
{
    const qint32 system = qint32(0xFF00000F);
    for (qint32 v : {qint32(0), qint32(0xC0DCC0), qint32(0xFFFFFF), system}) {
        ASSERT_TRUE(store.writeColor("LFV1", v));
        bool bad = true;
        EXPECT_EQ(store.color("LFV1", &bad), v);
        EXPECT_FALSE(bad);
    }
    EXPECT_EQ(storedValue("LFV1").toInt(), system);
    bool bad = true;
    EXPECT_EQ(store.color("LFV2", &bad), std::nullopt);
    EXPECT_FALSE(bad);
}

TEST_F(SettingsStoreTest, ColourThatIsNoNumberIsReportedBad)
{
    {
        QSettings s(SettingsStore::iniPath(), QSettings::IniFormat);
        s.setValue(SettingsStore::kGroup + "/ShTe", "green");
    }
    bool bad = false;
    EXPECT_EQ(store.color("ShTe", &bad), std::nullopt);
    EXPECT_TRUE(bad);
}

TEST(ColorValueTest, PlainColoursAreBgr)
{
    const QColor fallback(1, 2, 3);
    EXPECT_EQ(app::toQColor(0xC0DCC0, fallback), QColor(192, 220, 192));
    EXPECT_EQ(app::toQColor(0x0000FF, fallback), QColor(255, 0, 0));
    EXPECT_EQ(app::toQColor(0xFF0000, fallback), QColor(0, 0, 255));
    EXPECT_EQ(app::fromQColor(QColor(0x11, 0x22, 0x33)), 0x332211);
    EXPECT_EQ(app::fromQColor(Qt::white), 0xFFFFFF);
}

TEST(ColorValueTest, SystemColoursFollowThePalette)
{
    const QPalette pal = QGuiApplication::palette();
    const QColor fallback(1, 2, 3);
    const struct {
        quint32 value;
        QColor expected;
    } cases[] = {
        {0xFF000005, pal.color(QPalette::Base)},
        {0xFF000008, pal.color(QPalette::Text)},
        {0xFF00000D, pal.color(QPalette::Highlight)},
        {0xFF00000F, pal.color(QPalette::Button)},
        {0xFF000001, fallback},
        {0xFF000063, fallback},
    };
    for (const auto& c : cases)
        EXPECT_EQ(app::toQColor(qint32(c.value), fallback), c.expected) << std::hex << c.value;
}

TEST(ExecQuotingTest, FollowsTheDesktopEntryRules)
{
    const struct {
        const char* path;
        const char* exec;
    } cases[] = {
        {"/usr/bin/orvo", R"("/usr/bin/orvo")"},
        {"/opt/my apps/orvo", R"("/opt/my apps/orvo")"},
        {"/a\"b", R"("/a\\"b")"},
        {"/a$b`c", R"("/a\\$b\\`c")"},
        {"/a\\b", R"("/a\\\\b")"},
        {"/100%/orvo", R"("/100%%/orvo")"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsStore::quoteExecArg(QString::fromUtf8(c.path)), QString::fromUtf8(c.exec)) << c.path;
}

TEST_F(SettingsStoreTest, AutostartOnOffOnRewritesTheEntry)
{
    const QString exe = QStringLiteral("/opt/orvo dir/orvo");
    ASSERT_TRUE(store.setAutostart(true, exe));
    EXPECT_TRUE(store.autostartExists());
    const QByteArray entry = readBytes(SettingsStore::autostartPath());
    EXPECT_EQ(entry, QByteArray("[Desktop Entry]\nType=Application\nName=Orvo 文件管理器\n"
                                "Exec=\"/opt/orvo dir/orvo\"\nX-GNOME-Autostart-enabled=true\n"));
    ASSERT_TRUE(store.setAutostart(false, exe));
    EXPECT_FALSE(store.autostartExists());
    ASSERT_TRUE(store.setAutostart(false, exe));    // already gone: no error
    ASSERT_TRUE(store.setAutostart(true, exe));
    EXPECT_EQ(readBytes(SettingsStore::autostartPath()), entry);
}

TEST_F(SettingsStoreTest, AutostartKeepsAnExistingEntry)
{
    const QByteArray own = "[Desktop Entry]\nType=Application\nExec=/somewhere/else\n";
    writeBytes(SettingsStore::autostartPath(), own);
    ASSERT_TRUE(store.setAutostart(true, "/usr/bin/orvo"));
    EXPECT_EQ(readBytes(SettingsStore::autostartPath()), own);
}

TEST_F(SettingsStoreTest, ContextMenuWritesAndRemovesBothEntries)
{
    ASSERT_TRUE(store.setContextMenu(true, "/usr/bin/orvo"));
    EXPECT_EQ(readBytes(SettingsStore::folderMenuPath()),
              QByteArray("[Desktop Entry]\nType=Application\nName=Orvo 文件管理器\nExec=\"/usr/bin/orvo\" %f\n"
                         "MimeType=inode/directory;\nNoDisplay=true\n"));
    EXPECT_EQ(readBytes(SettingsStore::driveMenuPath()),
              QByteArray("[Desktop Entry]\nType=Application\nName=Orvo 文件管理器\nExec=\"/usr/bin/orvo\" %f\n"
                         "MimeType=inode/mount-point;\nNoDisplay=true\n"));
    EXPECT_TRUE(store.contextMenuExists());
    ASSERT_TRUE(store.setContextMenu(false, "/usr/bin/orvo"));
    EXPECT_FALSE(QFileInfo::exists(SettingsStore::folderMenuPath()));
    EXPECT_FALSE(QFileInfo::exists(SettingsStore::driveMenuPath()));
    EXPECT_FALSE(store.contextMenuExists());
    const QString mimeapps = qEnvironmentVariable("XDG_CONFIG_HOME") + "/mimeapps.list";
    EXPECT_FALSE(QFileInfo::exists(mimeapps));
}

TEST_F(SettingsStoreTest, ContextMenuStateIsTheFolderEntryAlone)
{
    writeBytes(SettingsStore::driveMenuPath(), "[Desktop Entry]\n");
    EXPECT_FALSE(store.contextMenuExists());
    QFile::remove(SettingsStore::driveMenuPath());
    writeBytes(SettingsStore::folderMenuPath(), "[Desktop Entry]\n");
    EXPECT_TRUE(store.contextMenuExists());
}

TEST_F(SettingsStoreTest, RemoveAllLeavesOtherGroupsAlone)
{
    ASSERT_TRUE(store.writeFlag("zdl", true));
    ASSERT_TRUE(store.writeColor("OrvoCo", 0x123456));
    {
        QSettings s(SettingsStore::iniPath(), QSettings::IniFormat);
        s.setValue("Other/key", 7);
    }
    ASSERT_TRUE(store.setAutostart(true, "/usr/bin/orvo"));
    ASSERT_TRUE(store.setContextMenu(true, "/usr/bin/orvo"));
    ASSERT_TRUE(store.removeAll());
    EXPECT_TRUE(storedKeys().isEmpty());
    QSettings s(SettingsStore::iniPath(), QSettings::IniFormat);
    EXPECT_EQ(s.value("Other/key").toInt(), 7);
    for (const QString& p : {SettingsStore::autostartPath(), SettingsStore::folderMenuPath(),
                             SettingsStore::driveMenuPath()})
        EXPECT_FALSE(QFileInfo::exists(p)) << p.toStdString();
}

TEST_F(SettingsStoreTest, DamagedFileReadsAsUnreadableAndIsReplacedByTheNextWrite)
{
    writeBytes(SettingsStore::iniPath(), "[SOFTWARE\nOrvo%20x\\th=1\n");
    EXPECT_FALSE(store.readable());
    ASSERT_TRUE(store.writeFlag("dragf", true));
    EXPECT_TRUE(store.readable());
    EXPECT_EQ(storedKeys(), QStringList{"dragf"});
}

TEST_F(SettingsStoreTest, UnwritableFileFailsEveryWriter)
{
    QDir().mkpath(SettingsStore::iniPath());    // a folder where the file belongs
    EXPECT_FALSE(store.readable());
    EXPECT_FALSE(store.writeFlag("th", true));
    EXPECT_FALSE(store.lastError().isEmpty());
    EXPECT_FALSE(store.writeColor("OrvoCo", 0));
    EXPECT_FALSE(store.removeAll());
}

// A FIFO in the file's place reads as a damaged file at once (QSettings would wait for a writer) and is
// neither read nor replaced by the writers.
TEST_F(SettingsStoreTest, AFifoInPlaceOfTheFileIsDamagedAndLeftAlone)
{
    QDir().mkpath(QFileInfo(SettingsStore::iniPath()).absolutePath());
    ASSERT_EQ(::mkfifo(QFile::encodeName(SettingsStore::iniPath()).constData(), 0600), 0);
    EXPECT_FALSE(store.readable());
    bool bad = false;
    EXPECT_EQ(store.color("OrvoCo", &bad), std::nullopt);
    EXPECT_TRUE(bad);
    EXPECT_FALSE(store.hasFlag("th"));
    EXPECT_FALSE(store.writeFlag("th", true));
    EXPECT_FALSE(store.writeColor("OrvoCo", 0));
    EXPECT_FALSE(store.removeAll());
    EXPECT_FALSE(store.lastError().isEmpty());
    EXPECT_FALSE(QFileInfo(SettingsStore::iniPath()).isFile());
    ::unlink(QFile::encodeName(SettingsStore::iniPath()).constData());
}

TEST_F(SettingsStoreTest, UnwritableDesktopFolderFailsTheEntries)
{
    // A file where the applications folder belongs; root cannot write there either.
    const QString apps = QFileInfo(SettingsStore::folderMenuPath()).absolutePath();
    QDir(apps).removeRecursively();
    writeBytes(apps, "not a folder");
    EXPECT_FALSE(store.setContextMenu(true, "/usr/bin/orvo"));
    EXPECT_FALSE(store.lastError().isEmpty());
    QFile::remove(apps);
}

} // namespace
