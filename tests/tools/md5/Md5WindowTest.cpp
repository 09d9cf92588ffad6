#include "Md5TestSupport.h"
#include "support/CaseNames.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "tools/md5/Md5Window.h"
#include "tools/md5/engine/MD5Hash.h"
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

using namespace md5test;

namespace {

// The window frees itself when closed; the fixture deletes what is left.
class Md5Form : public ::testing::Test {
protected:
    void TearDown() override
    {
        delete form.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const test::DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }
    THashMD5Form& open(int mode = rmFileStream)
    {
        form = new THashMD5Form;
        form->ComboBox1->setCurrentIndex(mode);
        return *form;
    }
    // Runs `action` once the window lets events run during the next hashing.
    static void duringHashing(std::function<void()> action) { QTimer::singleShot(0, qApp, std::move(action)); }
    static QString block(const QString& digest, const QString& name, const QString& size, const QString& mode)
    {
        return QStringLiteral("MD5：%1 -> %2\n时间: 0.00 秒     文件大小: %3\n文件读取模式: %4\n")
            .arg(digest, name, size, mode);
    }
    // The memo with every elapsed time shown as 0.00.
    QString log() const
    {
        static const QRegularExpression time(QStringLiteral("时间: \\d+\\.\\d\\d 秒"));
        return form->mmResult->toPlainText().replace(time, QStringLiteral("时间: 0.00 秒"));
    }

    test::TempTree t;
    test::ScriptedDialogs dialogs;
    QPointer<THashMD5Form> form;
};

TEST_F(Md5Form, ControlsAtStart)
{
    THashMD5Form& w = open();
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" MD5 校验"));
    EXPECT_TRUE(w.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w.testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_TRUE(w.acceptDrops());
    EXPECT_EQ(w.Label2->text(), QStringLiteral("将文件拖入窗口，或者点击 MD5 按钮后选择文件:"));
    EXPECT_EQ(w.Label1->text(), QStringLiteral("文件读取模式:"));
    EXPECT_TRUE(w.mmResult->isReadOnly());
    EXPECT_TRUE(w.mmResult->toPlainText().isEmpty());
    ASSERT_EQ(w.ComboBox1->count(), 3);
    EXPECT_EQ(w.ComboBox1->itemText(0), QStringLiteral("Auto"));
    EXPECT_EQ(w.ComboBox1->itemText(1), QStringLiteral("MapOfView"));
    EXPECT_EQ(w.ComboBox1->itemText(2), QStringLiteral("FileStream"));
    delete form.data();
    form = new THashMD5Form;
    EXPECT_EQ(form->ComboBox1->currentText(), QStringLiteral("FileStream"));
    EXPECT_EQ(form->Button1->text(), QStringLiteral("MD5"));
    EXPECT_EQ(form->Button2->text(), QStringLiteral("复制MD5"));
    EXPECT_EQ(form->Button2->toolTip(), QStringLiteral("复制当前的MD5到剪贴板"));
    EXPECT_TRUE(form->Edit1->isReadOnly());
}

TEST_F(Md5Form, SizeTexts)
{
    const struct {
        qint64 size;
        const char* text;
    } cases[] = {
        {0, "0 bytes"},        {10, "10 bytes"},       {500, "500 bytes"},       {1023, "1,023 bytes"},
        {1024, "1 KB"},        {1536, "1.5 KB"},       {1048576, "1 MB"},        {1048576 + 10486, "1.01 MB"},
        {2147483648LL, "2 GB"}, {1099511627776LL * 5 / 4, "1.25 TB"}, {1099511627776LL * 2048, "2,048 TB"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(THashMD5Form::SizeText(c.size), QString::fromUtf8(c.text)) << c.size;
}

// One block per file, with the mode's text; the digest field shows the last digest.
class Md5FormModes : public Md5Form, public ::testing::WithParamInterface<std::tuple<int, const char*>> {};

TEST_P(Md5FormModes, ResultBlockOfATenByteFile)
{
    const auto [mode, modeText] = GetParam();
    const QByteArray data("0123456789");
    THashMD5Form& w = open(mode);
    w.HashFile(t.file("ten.txt", data));
    EXPECT_EQ(log(), block(referenceDigest(data), "ten.txt", "10 bytes", QString::fromUtf8(modeText)));
    EXPECT_EQ(w.Edit1->text(), referenceDigest(data));
    EXPECT_EQ(w.Button1->text(), QStringLiteral("MD5"));
    EXPECT_EQ(w.ProgressBar1->maximum(), 10);
    EXPECT_EQ(w.ProgressBar1->value(), 10);

    w.HashFile(t.file("empty", 0));   // an empty file has a digest in every mode
    EXPECT_EQ(log(), block(referenceDigest(data), "ten.txt", "10 bytes", QString::fromUtf8(modeText)) +
                         block(kEmptyDigest, "empty", "0 bytes", QString::fromUtf8(modeText)));
    EXPECT_EQ(w.Edit1->text(), kEmptyDigest);
}

INSTANTIATE_TEST_SUITE_P(Md5, Md5FormModes,
                         ::testing::Values(std::make_tuple(0, "Auto( <2GB=Mapped; >2GB=FileStream )"),
                                           std::make_tuple(1, "Mapped"), std::make_tuple(2, "FileStream")),
                         [](const auto& i) { return test::caseName(std::get<1>(i.param)); });

TEST_F(Md5Form, FileThatCannotBeOpenedShowsTheErrorAndAppendsNothing)
{
    THashMD5Form& w = open(rmMapped);
    w.HashFile(t.file("a", QByteArray("abc")));
    const QString before = w.mmResult->toPlainText();
    const QString missing = t.path("missing.txt");
    w.HashFile(missing);
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("error"));
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("Error opening ") + missing);
    dialogs.clear();
    EXPECT_EQ(w.mmResult->toPlainText(), before);
    EXPECT_EQ(w.Edit1->text(), QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
    EXPECT_EQ(w.Button1->text(), QStringLiteral("MD5"));
}

TEST_F(Md5Form, MappedModeOnALargeFileGivesTheCancelBlock)
{
    const QString big = t.path("big.iso");
    makeSparse(big, 2147483648LL);
    THashMD5Form& w = open(rmMapped);
    w.Edit1->setText(QStringLiteral("old"));
    w.HashFile(big);
    EXPECT_EQ(log(), block(QStringLiteral("取消"), "big.iso", "2 GB", "Mapped"));
    EXPECT_TRUE(w.Edit1->text().isEmpty());
}

TEST_F(Md5Form, CancelDuringHashingThenCopyCopiesAnEmptyText)
{
    // 4 GB of holes: the first 4 MB block is read, then the cancel click ends it.
    const QString big = t.path("huge.img");
    makeSparse(big, 4294967296LL);
    THashMD5Form& w = open(rmFileStream);
    bool clickedWhileHashing = false;
    duringHashing([&] {
        clickedWhileHashing = w.Button1->text() == QStringLiteral("取消");
        w.Button1->click();
    });
    w.HashFile(big);
    EXPECT_TRUE(clickedWhileHashing);
    EXPECT_EQ(log(), block(QStringLiteral("取消"), "huge.img", "4 GB", "FileStream"));
    EXPECT_EQ(w.Button1->text(), QStringLiteral("MD5"));
    // Past 2 GB the bar runs in percent.
    EXPECT_EQ(w.ProgressBar1->maximum(), 100);
    EXPECT_EQ(w.ProgressBar1->value(), 0);

    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    w.Button2->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());

    w.HashFile(t.file("abc", QByteArray("abc")));   // the next file is not cancelled
    w.Button2Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("900150983CD24FB0D6963F7D28E17F72"));
}

TEST_F(Md5Form, ChoosingAFileHashesIt)
{
    THashMD5Form& w = open();
    const QString f = t.file("chosen.bin", QByteArray("abc"));
    dialogs.answerFile(f);
    w.Button1Click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("openFile"));
    EXPECT_EQ(dialogs.calls()[0].caption, QStringLiteral("打开文件校验MD5"));
    dialogs.clear();
    EXPECT_EQ(log(), block("900150983CD24FB0D6963F7D28E17F72", "chosen.bin", "3 bytes", "FileStream"));

    dialogs.answerFile(QString());   // cancelled dialog: nothing happens
    w.Button1Click();
    dialogs.clear();
    EXPECT_EQ(w.mmResult->toPlainText().count(QStringLiteral("MD5：")), 1);
}

TEST_F(Md5Form, DroppedFolderIsRefusedAndTheFileAfterItHashed)
{
    THashMD5Form& w = open();
    const QString folder = t.dir("photos");
    const QString file = t.file("a.txt", QByteArray("abc"));
    w.WMDropFiles({folder, file});
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("error"));
    EXPECT_EQ(dialogs.calls()[0].text, u'"' + folder + QStringLiteral("\" 是目录, 无法 Hash。\n点击确定继续!"));
    dialogs.clear();
    EXPECT_EQ(log(), block("900150983CD24FB0D6963F7D28E17F72", "a.txt", "3 bytes", "FileStream"));
}

TEST_F(Md5Form, DropsWhileHashingAreQueuedAndRunAfterwards)
{
    const QString big = t.path("big.img");
    makeSparse(big, 3 * 4194304LL);
    const QString small = t.file("small.txt", QByteArray("abc"));
    THashMD5Form& w = open(rmFileStream);
    QString logDuringDrop = QStringLiteral("not called");
    duringHashing([&] {
        w.WMDropFiles({small});
        logDuringDrop = w.mmResult->toPlainText();   // the drop did not run inside the running file
    });
    w.HashFile(big);
    EXPECT_TRUE(logDuringDrop.isEmpty());
    EXPECT_EQ(log(), block(referenceDigest(QByteArray(3 * 4194304, '\0')), "big.img", "12 MB", "FileStream") +
                         block("900150983CD24FB0D6963F7D28E17F72", "small.txt", "3 bytes", "FileStream"));
    EXPECT_FALSE(w.hashing());
}

TEST_F(Md5Form, ClosingWhileHashingCancelsAndFreesAfterUnwinding)
{
    const QString big = t.path("big.img");
    makeSparse(big, 3 * 4194304LL);
    THashMD5Form& w = open(rmFileStream);
    w.show();
    bool aliveAfterClose = false;
    duringHashing([&] {
        w.WMDropFiles({t.file("queued.txt", QByteArray("q"))});
        w.close();
        aliveAfterClose = !form.isNull() && w.closing();
    });
    w.HashFile(big);
    EXPECT_TRUE(aliveAfterClose);
    ASSERT_FALSE(form.isNull());            // still here until control returns to the event loop
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.acceptDrops());
    EXPECT_EQ(log(), block(QStringLiteral("取消"), "big.img", "12 MB", "FileStream"));   // the queued file never ran
    w.HashFile(t.file("late.txt", QByteArray("x")));   // a closed window hashes nothing more
    EXPECT_EQ(log(), block(QStringLiteral("取消"), "big.img", "12 MB", "FileStream"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_F(Md5Form, ClosingWhenIdleFreesTheWindow)
{
    THashMD5Form& w = open();
    w.show();
    w.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
}

TEST_F(Md5Form, LongPathsAreNotCut)
{
    const QString deep = t.dir(QString(100, u'a') + u'/' + QString(100, u'b') + u'/' + QString(100, u'c'));
    const QString name = QString(120, u'd') + QStringLiteral(".txt");
    const QString path = deep + u'/' + name;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("abc");
    f.close();
    THashMD5Form& w = open();
    w.WMDropFiles({path});
    EXPECT_EQ(log(), block("900150983CD24FB0D6963F7D28E17F72", name, "3 bytes", "FileStream"));
}

// Without a window manager the window follows the pointer while the left button is held.
TEST_F(Md5Form, PressOnBodyBarOrDigestMovesTheWindow)
{
    THashMD5Form& w = open();
    w.show();
    for (QWidget* target : {static_cast<QWidget*>(&w), static_cast<QWidget*>(w.ProgressBar1),
                            static_cast<QWidget*>(w.Edit1)}) {
        const QPoint start = w.pos();
        const QPointF local(5, 5);
        const QPointF global = target->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        QMouseEvent moveEv(QEvent::MouseMove, local, global + QPointF(30, 20), Qt::NoButton, Qt::LeftButton,
                           Qt::NoModifier);
        QCoreApplication::sendEvent(target, &moveEv);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global + QPointF(30, 20), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &release);
        EXPECT_EQ(w.pos(), start + QPoint(30, 20)) << target->objectName().toStdString();
        // After the release the pointer no longer drags the window.
        QMouseEvent after(QEvent::MouseMove, local, global + QPointF(90, 90), Qt::NoButton, Qt::NoButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(target, &after);
        EXPECT_EQ(w.pos(), start + QPoint(30, 20));
    }
    // The result log is not a move handle: a press there selects text.
    const QPoint start = w.pos();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w.mmResult->viewport()->mapToGlobal(QPointF(5, 5)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.mmResult->viewport(), &press);
    QMouseEvent moveEv(QEvent::MouseMove, QPointF(40, 40), w.mmResult->viewport()->mapToGlobal(QPointF(40, 40)),
                       Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.mmResult->viewport(), &moveEv);
    EXPECT_EQ(w.pos(), start);
}

} // namespace
