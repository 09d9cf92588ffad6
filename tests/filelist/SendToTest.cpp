// Send to a folder, the clipboard and the desktop; properties; the drive-ready check.
#include "CommandFixture.h"
#include "filelist/ListShell.h"
#include "filelist/SendToDialog.h"
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <functional>

namespace {

class SendTo : public CommandFixture {
protected:
    void SetUp() override
    {
        CommandFixture::SetUp();
        t.file(QStringLiteral("a.txt"), QByteArray("hello 你好"));
        t.file(QStringLiteral("b.zip"), 20);
        t.dir(QStringLiteral("sub"));
        dest = t.dir(QStringLiteral("dest"));
        list->setDirectory(t.root());
    }
    // Answers the send-to dialog once it is open.
    void answerSendToDialog(std::function<void(SendToDialog*)> answer)
    {
        QTimer::singleShot(0, [answer] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<SendToDialog*>(w); d && d->isVisible()) {
                    EXPECT_EQ(d->windowTitle(), QStringLiteral("发送到文件夹"));
                    EXPECT_EQ(d->Label1->text(), QStringLiteral("请确定发送到的路径:      "));
                    answer(d);
                    return;
                }
            }
            ADD_FAILURE() << "no send-to dialog";
        });
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString dest;
};

TEST_F(SendTo, AnyFolderCopiesTheSelectionAndDropsThePendingTransfer)
{
    list->Transfer.ClipList = {t.path(QStringLiteral("b.zip"))};   // a pending copy is lost
    select({QStringLiteral("a.txt"), QStringLiteral("sub"), QStringLiteral("..")});
    answerSendToDialog([&](SendToDialog* d) {
        d->Edit1->setText(dest);
        d->OkButton->click();
    });
    list->SendTo(0);
    EXPECT_EQ(read(dest + QStringLiteral("a.txt")), QByteArray("hello 你好"));
    EXPECT_TRUE(QFileInfo(dest + QStringLiteral("sub")).isDir());
    EXPECT_TRUE(QFileInfo::exists(t.path(QStringLiteral("a.txt"))));
    EXPECT_TRUE(list->Transfer.ClipList.isEmpty());
    EXPECT_EQ(QDir(dest).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
}

TEST_F(SendTo, AMissingFolderOrCancelSendsNothingAndBrowseUsesTheChosenFolder)
{
    select({QStringLiteral("a.txt")});
    answerSendToDialog([&](SendToDialog* d) {
        d->Edit1->setText(t.path(QStringLiteral("nowhere")));
        d->OkButton->click();
    });
    list->SendTo(0);
    EXPECT_EQ(onlyDialog(), QStringLiteral("error|错误|路径不存在。 "));
    answerSendToDialog([&](SendToDialog* d) {
        d->Edit1->setText(QString());   // an empty path is no folder either
        d->OkButton->click();
    });
    list->SendTo(0);
    EXPECT_EQ(onlyDialog(), QStringLiteral("error|错误|路径不存在。 "));
    answerSendToDialog([&](SendToDialog* d) { d->CancelButton->click(); });
    list->SendTo(0);
    EXPECT_TRUE(QDir(dest).isEmpty());

    dialogs.answerFile(dest);
    answerSendToDialog([&](SendToDialog* d) { d->BrowseButton->click(); });
    list->SendTo(0);
    EXPECT_EQ(onlyDialog(), QStringLiteral("chooseFolder|请选定一个目录|"));
    EXPECT_TRUE(QFileInfo::exists(dest + QStringLiteral("a.txt")));
}

TEST_F(SendTo, ClipboardContentsByExtension)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    select({QStringLiteral("b.zip")});
    list->SendTo(1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));   // not a known type
    select({QStringLiteral("a.txt")});
    list->SendTo(1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hello 你好"));

    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(t.path(QStringLiteral("red.PNG")), "PNG"));
    t.file(QStringLiteral("broken.png"), QByteArray("not a picture"));
    list->UpdateFileList();
    select({QStringLiteral("red.PNG")});
    list->SendTo(1);
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(3, 2));
    select({QStringLiteral("broken.png")});
    list->SendTo(1);
    ASSERT_EQ(dialogs.callsOf(QStringLiteral("error")).size(), 1u);
    dialogs.clear();
}

TEST_F(SendTo, DesktopLinkForTheFirstEntryReplacesTheEntryNotWhatALinkPointsTo)
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    ASSERT_TRUE(QDir().mkpath(desktop));
    const QString victim = t.file(QStringLiteral("victim"), QByteArray("precious"));
    const QString linkPath = desktop + QStringLiteral("/a.txt.desktop");
    QFile::remove(linkPath);
    ASSERT_TRUE(QFile::link(victim, linkPath));

    list->SendTo(3);
    EXPECT_EQ(onlyDialog(), QStringLiteral("error|错误|无文件选择"));
    select({QStringLiteral("a.txt"), QStringLiteral("b.zip")});
    list->SendTo(3);
    EXPECT_FALSE(QFileInfo(linkPath).isSymLink());
    EXPECT_EQ(read(victim), QByteArray("precious"));
    const QString text = QString::fromUtf8(read(linkPath));
    EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\nType=Link\nName=a.txt\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("\nURL=") + QUrl::fromLocalFile(t.path(QStringLiteral("a.txt"))).toString(QUrl::FullyEncoded) + u'\n'));
    EXPECT_TRUE(text.contains(QStringLiteral("\nIcon=text-plain\n"))) << text.toStdString();
    EXPECT_FALSE(QFileInfo::exists(desktop + QStringLiteral("/b.zip.desktop")));   // only the first
    QFile::remove(linkPath);
}

TEST_F(SendTo, PropertiesBoxPerRowAndTheMessageForAMissingEntry)
{
    select({QStringLiteral("a.txt"), QStringLiteral("sub")});
    list->ShowProperties();
    const auto boxes = dialogs.callsOf(QStringLiteral("info"));
    ASSERT_EQ(boxes.size(), 2u);   // in list order: the folder first
    EXPECT_EQ(boxes[0].caption, QStringLiteral("属性"));
    EXPECT_TRUE(boxes[0].text.startsWith(QStringLiteral("sub\n类型: 文件夹\n"))) << boxes[0].text.toStdString();
    const QStringList lines = boxes[1].text.split(u'\n');
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[0], QStringLiteral("a.txt"));
    EXPECT_EQ(lines[2], QStringLiteral("位置: ") + t.root());
    EXPECT_EQ(lines[3], QStringLiteral("大小: 12 字节"));
    EXPECT_EQ(lines[7], QStringLiteral("属性: A"));
    dialogs.clear();

    ASSERT_TRUE(QFile::remove(t.path(QStringLiteral("a.txt"))));
    select({QStringLiteral("a.txt")});
    list->ShowProperties();
    EXPECT_EQ(onlyDialog(), QStringLiteral("error|错误|The specified file was not found."));
}

TEST_F(SendTo, PropertiesOfTheDesktopsFileManagerWhenItAnswers)
{
    test::FakeLauncher launcher;
    launcher.fileManager = true;
    plat::Services s = plat::services();
    s.launcher = &launcher;
    plat::ScopedServices scoped(s);
    select({QStringLiteral("a.txt"), QStringLiteral("sub")});
    list->ShowProperties();
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(launcher.shownProperties, (std::vector<QUrl>{QUrl::fromLocalFile(t.path(QStringLiteral("sub"))),
                                                           QUrl::fromLocalFile(t.path(QStringLiteral("a.txt")))}));
}

TEST_F(SendTo, DriveReadyCheck)
{
    test::FakeVolumes volumes;
    const QString media = t.dir(QStringLiteral("media"));
    volumes.volumes = {
        plat::Volume{QStringLiteral("/"), QStringLiteral("/dev/sda1"), QStringLiteral("ext4"), QString(), plat::DriveType::Fixed, 1, 1},
        plat::Volume{media.chopped(1), QStringLiteral("/dev/sdb1"), QStringLiteral("vfat"), QStringLiteral("USB"), plat::DriveType::Removable, 1, 1},
        plat::Volume{QStringLiteral("/no/such/medium"), QStringLiteral("/dev/sdc1"), QStringLiteral("vfat"), QString(), plat::DriveType::Removable, 1, 1},
    };
    plat::ScopedServices scoped(test::withVolumes(&volumes));
    list->setDirectory(QStringLiteral("DRIVES"));
    ASSERT_EQ(list->rowCount(), 3);

    list->selectRow(2);   // a removable drive without a medium
    list->OpenItem();
    EXPECT_EQ(dialogs.beeps(), 1);
    EXPECT_EQ(dialogs.callsOf(QStringLiteral("warning"))[0].text,
              QStringLiteral("There is no disk in Drive /no/such/medium\ror Drive /no/such/medium: is not ready"));
    dialogs.clear();
    EXPECT_EQ(list->Directory(), QStringLiteral("DRIVES"));

    list->selectRow(1);   // a ready removable drive opens
    list->OpenItem();
    EXPECT_EQ(list->Directory(), media);

    EXPECT_TRUE(filelist::DriveReady(nullptr, t.root()));   // readable, but not a mounted volume's root
    EXPECT_EQ(onlyDialog(), QStringLiteral("error|错误|Not a valid Drive ID"));
}

} // namespace
