#include "SplitMergeTestSupport.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "tools/splitmerge/SplitMergeWindow.h"
#include "tools/splitmerge/SpinButton.h"
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

using smtest::digits;
using smtest::readBytes;
using test::DialogCall;

namespace {

class FsfTest : public ::testing::Test {
protected:
    void SetUp() override { w = std::make_unique<Tfsf>(); }
    void TearDown() override
    {
        w.reset();
        for (const DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }
    void open(const QString& path)
    {
        dialogs.answerFile(path);
        w->Button1Click();
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("openFile"));
        dialogs.clear();
    }
    // The dialogs since the last check, as "kind|caption|text".
    QStringList shown()
    {
        QStringList out;
        for (const DialogCall& c : dialogs.calls())
            out << c.kind + u'|' + c.caption + u'|' + c.text;
        dialogs.clear();
        return out;
    }
    QStringList fields() const { return {w->Edit2->text(), w->Edit3->text(), w->Edit4->text()}; }
    static QString msg(const QString& text) { return QStringLiteral("message|Orvo 文件管理器|") + text; }

    test::ScriptedDialogs dialogs;
    test::TempTree tree;
    std::unique_ptr<Tfsf> w;
};

TEST_F(FsfTest, OpenShowsTheSizeAndEnablesTheControls)
{
    EXPECT_EQ(w->windowTitle(), QStringLiteral("文件分割或合并"));
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(w->Button1->toolTip(), QStringLiteral("打开要分割或合并的文件,按右键帮助..."));
    for (QWidget* c : std::initializer_list<QWidget*>{w->Edit1, w->Button4, w->Edit2, w->Edit3, w->Edit5, w->Edit6,
                                                      w->SpinButton1, w->SpinButton4, w->Button7, w->Button8,
                                                      w->Button2})
        EXPECT_FALSE(c->isEnabled()) << c->metaObject()->className();
    EXPECT_TRUE(w->Button1->isEnabled() && w->Cb1->isEnabled() && w->CheckBox1->isEnabled());

    const QString path = tree.file(QStringLiteral("a.bin"), digits(10));
    open(path);
    EXPECT_EQ(w->Edit1->text(), path);
    EXPECT_FALSE(w->Edit1->isEnabled());
    EXPECT_EQ(w->Label3->text(), QStringLiteral("文件大小:10  字节."));
    EXPECT_EQ(w->Edit6->text(), QStringLiteral("10"));
    EXPECT_EQ(fields(), (QStringList{"2", "5", "0"}));
    for (QWidget* c : std::initializer_list<QWidget*>{w->Button4, w->Edit2, w->Edit3, w->Edit6, w->SpinButton1,
                                                      w->SpinButton2, w->SpinButton4, w->Button7, w->Button2})
        EXPECT_TRUE(c->isEnabled()) << c->metaObject()->className();
    EXPECT_FALSE(w->Edit5->isEnabled());
    EXPECT_FALSE(w->Button8->isEnabled());

    w->Button4Click();
    EXPECT_TRUE(w->Edit1->text().isEmpty());
    EXPECT_FALSE(w->Button7->isEnabled());
    EXPECT_FALSE(w->openedFile().IsOpen());
}

TEST_F(FsfTest, CountSizeAndRemainderSettle)
{
    open(tree.file(QStringLiteral("a.bin"), digits(10)));
    w->Edit2->setText(QStringLiteral("3"));
    EXPECT_EQ(fields(), (QStringList{"3", "3", "1"}));
    w->Edit2->setText(QStringLiteral("20"));
    EXPECT_EQ(fields(), (QStringList{"10", "1", "0"}));
    w->Edit2->setText(QStringLiteral("4"));
    EXPECT_EQ(fields(), (QStringList{"5", "2", "0"}));
    w->Edit3->setText(QStringLiteral("3"));
    EXPECT_EQ(fields(), (QStringList{"3", "3", "1"}));

    // The spin buttons stay within 1 and the available bytes.
    w->Edit2->setText(QStringLiteral("9"));
    w->SpinButton1UpClick();
    EXPECT_EQ(w->Edit2->text(), QStringLiteral("10"));
    w->SpinButton1UpClick();
    EXPECT_EQ(w->Edit2->text(), QStringLiteral("10"));
    w->Edit3->setText(QStringLiteral("2"));
    w->SpinButton2DownClick();
    EXPECT_EQ(fields(), (QStringList{"10", "1", "0"}));
    w->SpinButton2DownClick();
    EXPECT_EQ(w->Edit3->text(), QStringLiteral("1"));
    EXPECT_TRUE(shown().isEmpty());
}

TEST_F(FsfTest, AnEmptyOrZeroCountOrSizeIsRefused)
{
    open(tree.file(QStringLiteral("a.bin"), digits(10)));
    for (const char* text : {"", "0"}) {
        w->Edit3->setText(QString::fromLatin1(text));
        EXPECT_EQ(shown(), QStringList{msg(QStringLiteral("数字串中含有非数字字符或者不能为空。"))}) << text;
        EXPECT_FALSE(w->Button7->isEnabled());
        EXPECT_FALSE(w->SpinButton2->isEnabled());
        EXPECT_EQ(w->Edit3->selectedText(), w->Edit3->text());
    }
    w->Edit2->setText(QStringLiteral("0"));
    EXPECT_EQ(shown(), QStringList{msg(QStringLiteral("数字串中含有非数字字符或者不能为空。"))});
    EXPECT_FALSE(w->SpinButton1->isEnabled());
    w->Edit2->setText(QStringLiteral("5"));
    EXPECT_EQ(fields(), (QStringList{"5", "2", "0"}));
    EXPECT_TRUE(w->Button7->isEnabled() && w->SpinButton1->isEnabled() && w->SpinButton2->isEnabled());
}

TEST_F(FsfTest, SplitFromTheStartPosition)
{
    open(tree.file(QStringLiteral("a.bin"), digits(10)));
    w->Cb1->setChecked(true);
    EXPECT_TRUE(w->Edit5->isEnabled() && w->SpinButton3->isEnabled());
    w->Edit5->setText(QStringLiteral("12"));   // past the end: back to 0
    EXPECT_EQ(w->Edit5->text(), QStringLiteral("0"));
    w->Edit5->setText(QString());
    EXPECT_EQ(shown(), QStringList{QStringLiteral("warning|错误|数字串中含有非数字字符。")});
    EXPECT_FALSE(w->Button7->isEnabled());
    w->Edit5->setText(QStringLiteral("4"));
    EXPECT_EQ(w->openedFile().Position(), 4);
    EXPECT_EQ(fields(), (QStringList{"2", "3", "0"}));
    EXPECT_TRUE(w->Button7->isEnabled());

    dialogs.answerFile(tree.path(QStringLiteral("p")));
    w->Button7Click();
    const QStringList d = shown();
    ASSERT_EQ(d.size(), 2);
    EXPECT_TRUE(d[0].startsWith(QStringLiteral("saveFile|")));
    EXPECT_EQ(d[1], msg(QStringLiteral(" 文件分割完成。")));
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("p1"))), QByteArray("456"));
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("p2"))), QByteArray("789"));
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("p3"))));
    // The opened file is closed afterwards.
    EXPECT_FALSE(w->openedFile().IsOpen());
    EXPECT_TRUE(w->Edit1->text().isEmpty());
    EXPECT_FALSE(w->Button7->isEnabled());
}

TEST_F(FsfTest, AnExistingPieceIsAskedForAndNoStopsTheSplit)
{
    open(tree.file(QStringLiteral("a.bin"), digits(10)));
    w->Edit2->setText(QStringLiteral("3"));
    tree.file(QStringLiteral("p2"), QByteArray("old"));
    dialogs.answerFile(tree.path(QStringLiteral("p")));
    dialogs.answerQuestion(ui::Dialogs::No);
    w->Button7Click();
    const QStringList d = shown();
    ASSERT_EQ(d.size(), 3);
    EXPECT_EQ(d[1], QStringLiteral("question|文件存在|") + tree.path(QStringLiteral("p2")) +
                        QStringLiteral("文件存在,要改写吗?"));
    EXPECT_EQ(d[2], msg(QStringLiteral(" 文件分割中止。")));
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("p1"))), QByteArray("012"));
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("p2"))), QByteArray("old"));
    EXPECT_FALSE(w->openedFile().IsOpen());
}

TEST_F(FsfTest, SplitFailuresShowAnErrorAndNoSuccess)
{
    // An empty file is refused before any dialog.
    open(tree.file(QStringLiteral("empty"), 0));
    w->Button7Click();
    EXPECT_EQ(shown(), QStringList{QStringLiteral("error|错误|文件为空,不能分割。")});

    // A piece that is the opened file.
    const QString x1 = tree.file(QStringLiteral("x1"), digits(10));
    open(x1);
    dialogs.answerFile(tree.path(QStringLiteral("x")));
    w->Button7Click();
    QStringList d = shown();
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(d[1], QStringLiteral("error|错误|分割出的文件不能是正在分割的文件: ") + x1);
    EXPECT_EQ(readBytes(x1), digits(10));
    EXPECT_TRUE(w->openedFile().IsOpen());

    // A read-only piece, and a write that fails part-way.
    tree.file(QStringLiteral("ro2"), QByteArray("keep"));
    tree.setMode(QStringLiteral("ro2"), 0444);
    dialogs.answerFile(tree.path(QStringLiteral("ro")));
    w->Button7Click();
    d = shown();
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(d[1], QStringLiteral("error|错误|文件是只读的,不能改写: ") + tree.path(QStringLiteral("ro2")));
    EXPECT_EQ(readBytes(tree.path(QStringLiteral("ro2"))), QByteArray("keep"));

    dialogs.answerFile(tree.path(QStringLiteral("big")));
    {
        smtest::FileSizeLimit limit(3);
        w->Button7Click();
    }
    d = shown();
    ASSERT_EQ(d.size(), 2);
    EXPECT_TRUE(d[1].startsWith(QStringLiteral("error|错误|写文件出错: ") + tree.path(QStringLiteral("big1"))))
        << d[1].toStdString();
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("big1"))));
    EXPECT_FALSE(smtest::entries(tree.root()).join(u' ').contains(QStringLiteral(".orvo-")));
}

TEST_F(FsfTest, MergeJoinsTheSetOfTheOpenedPieceUpToTheFirstGap)
{
    tree.file(QStringLiteral("m1"), QByteArray("one "));
    const QString m2 = tree.file(QStringLiteral("m2"), QByteArray("two "));
    tree.file(QStringLiteral("m3"), QByteArray("three"));
    tree.file(QStringLiteral("m5"), QByteArray("five"));
    open(m2);
    EXPECT_TRUE(w->Button8->isEnabled());

    // The output may not be a piece; the opened file stays open.
    dialogs.answerFile(tree.path(QStringLiteral("m3")));
    w->Button8Click();
    QStringList d = shown();
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(d[1], QStringLiteral("error|错误|合并后的文件不能是要合并的文件: ") + tree.path(QStringLiteral("m3")));
    EXPECT_TRUE(w->openedFile().IsOpen());

    // An existing output is replaced only after the question.
    const QString out = tree.file(QStringLiteral("out"), QByteArray("older"));
    dialogs.answerFile(out);
    dialogs.answerQuestion(ui::Dialogs::No);
    w->Button8Click();
    d = shown();
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(d[1], QStringLiteral("question|文件存在|文件存在,要改写吗?"));
    EXPECT_EQ(readBytes(out), QByteArray("older"));

    dialogs.answerFile(out);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    w->Button8Click();
    d = shown();
    ASSERT_EQ(d.size(), 3);
    EXPECT_EQ(d[2], msg(QStringLiteral(" 文件合并完成。")));
    EXPECT_EQ(readBytes(out), QByteArray("one two three"));
    EXPECT_FALSE(w->openedFile().IsOpen());
    EXPECT_FALSE(w->Button8->isEnabled());
}

TEST_F(FsfTest, MergeIsOfferedOnlyWhenPiecesOneAndTwoOfTheSetExist)
{
    tree.file(QStringLiteral("b1"), 1);
    tree.file(QStringLiteral("b2"), 1);
    const QString b12 = tree.file(QStringLiteral("b12"), 1);
    open(b12);   // its set would be b11, b12, …
    EXPECT_FALSE(w->Button8->isEnabled());
    open(tree.path(QStringLiteral("b1")));
    EXPECT_TRUE(w->Button8->isEnabled());
    const QString lone = tree.file(QStringLiteral("c1"), 1);
    open(lone);
    EXPECT_FALSE(w->Button8->isEnabled());
}

TEST_F(FsfTest, MergeWriteFailureShowsAnErrorAndKeepsTheOlderOutput)
{
    tree.file(QStringLiteral("m1"), digits(10));
    tree.file(QStringLiteral("m2"), digits(10));
    const QString out = tree.file(QStringLiteral("out"), QByteArray("older"));
    open(tree.path(QStringLiteral("m1")));
    dialogs.answerFile(out);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    {
        smtest::FileSizeLimit limit(15);
        w->Button8Click();
    }
    const QStringList d = shown();
    ASSERT_EQ(d.size(), 3);
    EXPECT_TRUE(d[2].startsWith(QStringLiteral("error|错误|写文件出错: ") + out)) << d[2].toStdString();
    EXPECT_EQ(readBytes(out), QByteArray("older"));
    EXPECT_EQ(smtest::entries(tree.root()), (QStringList{"m1", "m2", "out"}));
}

TEST_F(FsfTest, InsertionAppendsByDefaultAndAsksBeforeReplacingTheBackup)
{
    const QString x = tree.file(QStringLiteral("x.bin"), QByteArray("0123"));
    const QString ins = tree.file(QStringLiteral("ins"), QByteArray("AB"));
    open(x);
    dialogs.answerFile(ins);
    w->Button2Click();
    EXPECT_EQ(shown().size(), 1);   // the file choice only
    EXPECT_EQ(readBytes(x), QByteArray("0123AB"));
    EXPECT_FALSE(w->openedFile().IsOpen());

    const QString backup = tree.file(QStringLiteral("备份x.bin"), QByteArray("old"));
    open(x);
    w->CheckBox1->setChecked(true);
    w->Edit6->setText(QStringLiteral("1"));
    dialogs.answerFile(ins);
    dialogs.answerQuestion(ui::Dialogs::No);
    w->Button2Click();
    QStringList d = shown();
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(d[1], QStringLiteral("question|文件存在|文件存在,要改写吗?"));
    EXPECT_EQ(readBytes(backup), QByteArray("old"));
    EXPECT_EQ(readBytes(x), QByteArray("0123AB"));
    EXPECT_TRUE(w->openedFile().IsOpen());

    dialogs.answerFile(ins);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    w->Button2Click();
    EXPECT_EQ(shown().size(), 2);
    EXPECT_EQ(readBytes(backup), QByteArray("0123AB"));
    EXPECT_EQ(readBytes(x), QByteArray("0AB3AB"));

    // The opened file cannot be inserted into itself.
    open(x);
    dialogs.answerFile(x);
    w->CheckBox1->setChecked(false);
    w->Button2Click();
    d = shown();
    ASSERT_EQ(d.size(), 2);
    EXPECT_EQ(d[1], QStringLiteral("error|错误|不能将打开的文件接入它自己: ") + x);

    w->Edit6->setText(QString());
    EXPECT_EQ(shown(), QStringList{QStringLiteral("warning|错误|数字串中含有非数字字符。")});
    EXPECT_FALSE(w->Button2->isEnabled());
}

TEST_F(FsfTest, HelpAboutAndClosingShowsTheMainWindowAgain)
{
    w->N3Click();
    EXPECT_EQ(shown(), QStringList{msg(QStringLiteral(
                           "合并操作:按[打开文件]打开分割好的文件的其中一份,\r\n就可按[合并]操作。注意:要合并的文件序号要连续,"
                           "\r\n序号从1开始,合并到序号接不上就会结束完成。"))});
    w->N4Click();
    EXPECT_EQ(shown().size(), 1);

    QWidget main;
    w->setMainWindow(&main);
    open(tree.file(QStringLiteral("a"), 3));
    w->show();
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(main.isVisible());
    EXPECT_FALSE(w->openedFile().IsOpen());
}

TEST_F(FsfTest, SizesAndPositionsBeyondThirtyTwoBits)
{
    const qint64 size = qint64(6) << 30;   // sparse: no data is written
    const QString big = tree.file(QStringLiteral("big.bin"), 0);
    ASSERT_TRUE(QFile::resize(big, size));
    open(big);
    EXPECT_EQ(w->Label3->text(), QStringLiteral("文件大小:6442450944  字节."));
    EXPECT_EQ(w->Edit6->text(), QStringLiteral("6442450944"));
    EXPECT_EQ(fields(), (QStringList{"2", "3221225472", "0"}));
    w->Cb1->setChecked(true);
    w->Edit5->setText(QStringLiteral("5368709120"));
    EXPECT_EQ(w->openedFile().Position(), qint64(5) << 30);
    EXPECT_EQ(fields(), (QStringList{"2", "536870912", "0"}));

    dialogs.answerFile(tree.file(QStringLiteral("tail"), QByteArray("AB")));
    w->Button2Click();
    EXPECT_EQ(shown().size(), 1);
    EXPECT_EQ(QFileInfo(big).size(), size + 2);
}

} // namespace
