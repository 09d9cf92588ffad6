#include "ZipTestSupport.h"
#include "support/CaseNames.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "tools/compress/CompressWindow.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace ziptest;

namespace {

constexpr qint64 kChunk = 61440;

// Also records where the file dialogs start and what they filter, and can act before a question is answered.
class RecordingDialogs : public test::ScriptedDialogs {
public:
    struct FileDialog {
        QString kind, title, dir, filter;
        bool confirmOverwrite;
    };
    std::vector<FileDialog> files;
    std::function<void()> beforeQuestion;

    QString openFile(QWidget* p, const QString& title, const QString& dir, const QString& filter) override
    {
        files.push_back({"openFile", title, dir, filter, false});
        return ScriptedDialogs::openFile(p, title, dir, filter);
    }
    QString saveFile(QWidget* p, const QString& title, const QString& dir, const QString& filter,
                     const QString& suffix, bool confirmOverwrite) override
    {
        files.push_back({"saveFile", title, dir, filter, confirmOverwrite});
        return ScriptedDialogs::saveFile(p, title, dir, filter, suffix, confirmOverwrite);
    }
    Answer question(QWidget* p, const QString& text, const QString& caption, int flags) override
    {
        if (beforeQuestion)
            beforeQuestion();
        return ScriptedDialogs::question(p, text, caption, flags);
    }
};

template <class F>
void pumpUntil(F done)
{
    QDeadlineTimer deadline(20000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(done());
}

// The texts of one direction, and how to start it.
struct Direction {
    const char* name;
    bool compress;
    QString idle, running, cancelCaption, cancelQuestion, status;
    QString openTitle, openFilter, saveTitle, saveFilter, ext, destHint, sourceHint;
};

void PrintTo(const Direction& d, std::ostream* os)
{
    *os << d.name;
}

const Direction kCompress{"compress",
                          true,
                          "压缩文件",
                          "取消压缩",
                          "取消压缩",
                          "真的要取消压缩：”",
                          "  压缩文件",
                          "选择要压缩的文件进行压缩",
                          "所有文件(*.*)|*.*|PAK文件(*.pak)|*.pak",
                          "压缩后的文件保存为",
                          "zak文件(*.zak)|*.zak|所有文件(*.*)|*.*",
                          ".zak",
                          "压缩后的文件：",
                          "要压缩的文件："};
const Direction kDecompress{"decompress",
                            false,
                            "解压缩文件",
                            "取消解压缩",
                            "取消解压缩",
                            "真的要取消解压缩：”",
                            "  解压缩文件",
                            "选择要解压缩的文件进行解压缩",
                            "zak文件(*.zak)|*.zak|所有文件(*.*)|*.*",
                            "解压缩后的文件保存为",
                            "所有文件(*.*)|*.*",
                            ".uz",
                            "解压缩后的文件：",
                            "要解压缩的文件："};

class YsjysTest : public ::testing::Test {
protected:
    QPushButton* button(const Direction& d) const { return d.compress ? w->Button1 : w->Button2; }
    QPushButton* otherButton(const Direction& d) const { return d.compress ? w->Button2 : w->Button1; }
    void click(const Direction& d) { d.compress ? w->Button1Click() : w->Button2Click(); }

    // A source for the direction: the plain data, or the data compressed.
    QString source(const Direction& d, const QByteArray& data)
    {
        const QString plain = tree.file("a.txt", data);
        if (d.compress)
            return plain;
        TZnZip zip;
        zip.setSourceFile(plain);
        zip.setDestFile(tree.path("a.txt.zak"));
        EXPECT_TRUE(zip.Compress());
        zip.WaitFor();
        QFile::remove(plain);
        return tree.path("a.txt.zak");
    }
    // Counts the window's progress events, passing them on, and runs `action` after the first one. The
    // worker waits for that event to be handled, so the action always lands in the middle of a longer job.
    void onFirstStep(std::function<void()> action)
    {
        auto handler = w->ZnZip1.OnProcess;
        w->ZnZip1.OnProcess = [this, handler, action](TZnZip* s, qint64 n) {
            handler(s, n);
            if (++steps == 1)
                action();
        };
    }
    void expectIdle()
    {
        EXPECT_EQ(w->Button1->text(), QStringLiteral("压缩文件"));
        EXPECT_EQ(w->Button2->text(), QStringLiteral("解压缩文件"));
        EXPECT_TRUE(w->Button1->isEnabled());
        EXPECT_TRUE(w->Button2->isEnabled());
        EXPECT_FALSE(w->ZnZip1.Busy());
    }

    test::TempTree tree;
    RecordingDialogs dialogs;
    std::unique_ptr<Tysjys> w = std::make_unique<Tysjys>();
    int steps = 0;
};

TEST_F(YsjysTest, InitialWindow)
{
    EXPECT_EQ(w->windowTitle(), QStringLiteral("压缩/解压缩文件"));
    EXPECT_EQ(w->Button1->text(), QStringLiteral("压缩文件"));
    EXPECT_EQ(w->Button2->text(), QStringLiteral("解压缩 文件"));
    EXPECT_EQ(w->Button1->toolTip(), QStringLiteral("选择任意文件进行压缩处理"));
    EXPECT_EQ(w->Button2->toolTip(), QStringLiteral("选择任意本程序压缩过的文件进行解压缩处理"));
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    EXPECT_TRUE(w->font().bold());
    EXPECT_EQ(w->palette().color(QPalette::Window), w->palette().color(QPalette::Highlight));
    EXPECT_EQ(w->ZnZip1.ZipLevel(), zcDefault);
    EXPECT_EQ(w->statusText(), QString());
}

// The window is painted in the highlight colour; its progress bar keeps the normal colours, so the chunk
// stands out from the groove and the groove from the window.
TEST_F(YsjysTest, TheProgressBarStandsOutFromTheWindow)
{
    const QPalette bar = w->ProgressBar1->palette();
    const QColor window = w->palette().color(QPalette::Window);
    EXPECT_NE(bar.color(QPalette::Window), window);
    EXPECT_NE(bar.color(QPalette::Base), window);
    EXPECT_NE(bar.color(QPalette::Highlight), bar.color(QPalette::Base));

    w->show();
    w->ProgressBar1->setValue(50);
    const QImage shot = w->ProgressBar1->grab().toImage();
    const int y = shot.height() / 2;
    EXPECT_NE(shot.pixelColor(shot.width() / 4, y), shot.pixelColor(shot.width() * 3 / 4, y));
    EXPECT_NE(shot.pixelColor(shot.width() * 3 / 4, y), window);
}

class YsjysDirectionTest : public YsjysTest, public ::testing::WithParamInterface<Direction> {};

TEST_P(YsjysDirectionTest, CompletedJob)
{
    const Direction& d = GetParam();
    const QByteArray data = content('t', 3 * kChunk + 17);
    const QString src = source(d, data);
    const QString dest = tree.path("result");
    dialogs.answerFile(src);
    dialogs.answerFile(dest);
    QString runningStatus, runningCaption;
    bool otherEnabled = true;
    auto begin = w->ZnZip1.OnBegin;
    w->ZnZip1.OnBegin = [&, begin](TZnZip* s, qint64 n) {
        runningStatus = w->statusText();
        runningCaption = button(d)->text();
        otherEnabled = otherButton(d)->isEnabled();
        begin(s, n);
    };
    click(d);
    w->ZnZip1.WaitFor();

    EXPECT_EQ(runningCaption, d.running);
    EXPECT_EQ(runningStatus, d.status);
    EXPECT_FALSE(otherEnabled);
    EXPECT_EQ(w->statusText(), d.status + QStringLiteral(" 完成。"));
    expectIdle();
    ASSERT_EQ(dialogs.files.size(), size_t(2));
    EXPECT_EQ(dialogs.files[0].title, d.openTitle);
    EXPECT_EQ(dialogs.files[0].filter, d.openFilter);
    EXPECT_EQ(dialogs.files[0].dir, QString());
    EXPECT_EQ(dialogs.files[1].title, d.saveTitle);
    EXPECT_EQ(dialogs.files[1].filter, d.saveFilter);
    EXPECT_EQ(dialogs.files[1].dir, src + d.ext);
    EXPECT_FALSE(dialogs.files[1].confirmOverwrite) << "the window asks its own overwrite question";
    EXPECT_EQ(w->ProgressBar1->toolTip(), d.destHint + dest);
    EXPECT_EQ(w->StatusBar1->toolTip(), d.sourceHint + src);
    EXPECT_EQ(w->total(), data.size());
    EXPECT_EQ(w->ProgressBar1->maximum(), data.size());
    EXPECT_EQ(w->ProgressBar1->value(), data.size());
    if (d.compress) {
        EXPECT_EQ(readAll(dest).left(2), QByteArray::fromHex("789c"));
    } else {
        EXPECT_TRUE(readAll(dest) == data);
    }
}

TEST_P(YsjysDirectionTest, DialogCancelled)
{
    const Direction& d = GetParam();
    const QString src = source(d, "abc");
    for (int cancelAt = 0; cancelAt < 2; ++cancelAt) {
        SCOPED_TRACE(cancelAt);
        dialogs.answerFile(cancelAt == 0 ? QString() : src);
        if (cancelAt == 1)
            dialogs.answerFile(QString());
        click(d);
        EXPECT_EQ(w->statusText(), d.status + QStringLiteral(" 取消"));
        EXPECT_FALSE(w->ZnZip1.Busy());
        EXPECT_EQ(button(d)->text(), d.compress ? d.idle : QStringLiteral("解压缩 文件"));
    }
}

TEST_P(YsjysDirectionTest, OverwriteQuestion)
{
    const Direction& d = GetParam();
    const QByteArray data = content('t', 5000);
    const QString src = source(d, data);
    const QString dest = tree.file("exists.bin", QByteArray("older contents"));

    dialogs.answerFile(src);
    dialogs.answerFile(dest);
    dialogs.answerQuestion(ui::Dialogs::No);
    click(d);
    EXPECT_FALSE(w->ZnZip1.Busy());
    EXPECT_EQ(w->statusText(), QString()) << "declining keeps the previous status";
    EXPECT_EQ(readAll(dest), QByteArray("older contents"));
    ASSERT_EQ(dialogs.callsOf("question").size(), size_t(1));
    EXPECT_EQ(dialogs.callsOf("question")[0].text, dest + QStringLiteral(" 文件已经存在,是否覆盖?"));
    EXPECT_EQ(dialogs.callsOf("question")[0].caption, QStringLiteral("覆盖文件"));

    dialogs.answerFile(src);
    dialogs.answerFile(dest);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    click(d);
    w->ZnZip1.WaitFor();
    EXPECT_EQ(w->statusText(), d.status + QStringLiteral(" 完成。"));
    EXPECT_NE(readAll(dest), QByteArray("older contents"));
    if (!d.compress) {
        EXPECT_TRUE(readAll(dest) == data);
    }
}

TEST_P(YsjysDirectionTest, DestinationThatIsTheSourceIsRefused)
{
    const Direction& d = GetParam();
    const QString src = source(d, "keep me");
    const QByteArray before = readAll(src);
    dialogs.answerFile(src);
    dialogs.answerFile(src);
    click(d);
    EXPECT_EQ(w->statusText(), d.status + QStringLiteral(" 出错！"));
    EXPECT_TRUE(dialogs.callsOf("question").empty());
    EXPECT_FALSE(w->ZnZip1.Busy());
    EXPECT_TRUE(w->Button1->isEnabled() && w->Button2->isEnabled());
    EXPECT_EQ(readAll(src), before);
}

TEST_P(YsjysDirectionTest, SourceGoneBeforeTheStartIsAnError)
{
    const Direction& d = GetParam();
    dialogs.answerFile(tree.path("gone"));
    dialogs.answerFile(tree.path("out"));
    click(d);
    EXPECT_EQ(w->statusText(), d.status + QStringLiteral(" 出错！"));
    expectIdle();
}

TEST_P(YsjysDirectionTest, CancelDuringTheJob)
{
    const Direction& d = GetParam();
    const QString src = source(d, content('t', 40 * kChunk));
    const QString dest = tree.file("out.bin", QByteArray("older contents"));
    const QStringList before = entries(tree.root());
    QString statusAfterCancel;
    onFirstStep([&] {
        dialogs.answerQuestion(ui::Dialogs::Yes);
        click(d);
        statusAfterCancel = w->statusText();
        expectIdle();
    });
    dialogs.answerFile(src);
    dialogs.answerFile(dest);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    click(d);
    w->ZnZip1.WaitFor();
    QCoreApplication::processEvents();
    const auto questions = dialogs.callsOf("question");
    ASSERT_EQ(questions.size(), size_t(2));
    EXPECT_EQ(questions[1].text, d.cancelQuestion + src + QStringLiteral("“吗?"));
    EXPECT_EQ(questions[1].caption, d.cancelCaption);
    EXPECT_EQ(statusAfterCancel, d.status + QStringLiteral(" 取消"));
    EXPECT_EQ(w->statusText(), d.status + QStringLiteral(" 取消"));
    EXPECT_LT(steps, 40);
    expectIdle();
    EXPECT_EQ(readAll(dest), QByteArray("older contents"));
    EXPECT_EQ(entries(tree.root()), before);
}

TEST_P(YsjysDirectionTest, CancelDeclinedLetsTheJobFinish)
{
    const Direction& d = GetParam();
    const QString src = source(d, content('t', 10 * kChunk));
    QString captionAfterNo;
    onFirstStep([&] {
        dialogs.answerQuestion(ui::Dialogs::No);
        click(d);
        captionAfterNo = button(d)->text();
    });
    dialogs.answerFile(src);
    dialogs.answerFile(tree.path("out.bin"));
    click(d);
    w->ZnZip1.WaitFor();
    EXPECT_EQ(captionAfterNo, d.running);
    EXPECT_EQ(w->statusText(), d.status + QStringLiteral(" 完成。"));
    EXPECT_TRUE(QFileInfo::exists(tree.path("out.bin")));
}

TEST_P(YsjysDirectionTest, JobThatEndsWhileTheCancelQuestionIsOpenKeepsItsResult)
{
    const Direction& d = GetParam();
    const QString src = source(d, content('t', 10 * kChunk));
    onFirstStep([&] {
        // The user waits with the question open until the job has finished, then answers Yes.
        dialogs.beforeQuestion = [&] { w->ZnZip1.WaitFor(); };
        dialogs.answerQuestion(ui::Dialogs::Yes);
        click(d);
    });
    dialogs.answerFile(src);
    dialogs.answerFile(tree.path("out.bin"));
    click(d);
    w->ZnZip1.WaitFor();
    EXPECT_EQ(dialogs.callsOf("question").size(), size_t(1));
    EXPECT_EQ(w->statusText(), d.status + QStringLiteral(" 完成。"));
    EXPECT_TRUE(QFileInfo::exists(tree.path("out.bin")));
    expectIdle();
}

TEST_P(YsjysDirectionTest, ClosingDuringTheJobRemovesThePartialOutput)
{
    const Direction& d = GetParam();
    const QString src = source(d, content('t', 40 * kChunk));
    const QStringList before = entries(tree.root());
    bool busyAfterClose = true;
    QStringList filesAfterClose;
    onFirstStep([&] {
        w->close();
        busyAfterClose = w->ZnZip1.Busy();
        filesAfterClose = entries(tree.root());
    });
    dialogs.answerFile(src);
    dialogs.answerFile(tree.path("out.bin"));
    w->show();
    click(d);
    w->ZnZip1.WaitFor();
    EXPECT_LT(steps, 40);
    EXPECT_FALSE(busyAfterClose);
    EXPECT_EQ(filesAfterClose, before);
    w.reset();
    EXPECT_EQ(entries(tree.root()), before);
}

INSTANTIATE_TEST_SUITE_P(Directions, YsjysDirectionTest, ::testing::Values(kCompress, kDecompress),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(YsjysTest, FailedJobKeepsTheOlderDestination)
{
    const QString src = tree.file("not.zak", QByteArray("plain text, not a zlib stream"));
    const QString dest = tree.file("out.txt", QByteArray("older contents"));
    dialogs.answerFile(src);
    dialogs.answerFile(dest);
    dialogs.answerQuestion(ui::Dialogs::Yes);
    w->Button2Click();
    w->ZnZip1.WaitFor();
    EXPECT_EQ(w->statusText(), QStringLiteral("  解压缩文件不能进行！已经取消。"));
    expectIdle();
    EXPECT_EQ(readAll(dest), QByteArray("older contents"));
    EXPECT_EQ(entries(tree.root()), (QStringList{"not.zak", "out.txt"}));
}

struct PositionCase {
    qint64 total, done;
    int maximum, position;
};

class YsjysProgressTest : public YsjysTest, public ::testing::WithParamInterface<PositionCase> {};

TEST_P(YsjysProgressTest, BytesOrPercent)
{
    const PositionCase c = GetParam();
    w->ZnZip1Begin(&w->ZnZip1, c.total);
    EXPECT_EQ(w->ProgressBar1->minimum(), 0);
    EXPECT_EQ(w->ProgressBar1->maximum(), c.maximum);
    EXPECT_EQ(w->ProgressBar1->value(), 0);
    EXPECT_EQ(w->progressPosition(c.done), c.position);
    // The last step always reaches the bar.
    w->ZnZip1Process(&w->ZnZip1, c.total);
    EXPECT_EQ(w->ProgressBar1->value(), c.total == 0 ? 0 : c.maximum);
}

INSTANTIATE_TEST_SUITE_P(
    Totals, YsjysProgressTest,
    ::testing::Values(PositionCase{1000, 600, 1000, 600}, PositionCase{2147483646, 5, 2147483646, 5},
                      PositionCase{2147483647, 1, 100, 0}, PositionCase{3000000000, 1500000000, 100, 50},
                      PositionCase{3000000000, 1000000000, 100, 33}, PositionCase{3000000000, 2000000000, 100, 67},
                      PositionCase{3000000000, 29999999, 100, 1}, PositionCase{3000000000, 0, 100, 0},
                      PositionCase{3000000000, 3000000000, 100, 100}, PositionCase{0, 0, 100, 0}),
    [](const auto& i) { return std::to_string(i.param.done) + "_of_" + std::to_string(i.param.total); });

struct MoveCase {
    const char* label;
    int target;         // 0 window body, 1 progress bar, 2 status bar
    Qt::MouseButton button;
    bool moves;
};

class YsjysMoveTest : public YsjysTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(YsjysMoveTest, DraggingTheBodyMovesTheWindow)
{
    const MoveCase c = GetParam();
    w->show();
    const QPoint start = w->pos();
    QWidget* target = c.target == 0 ? static_cast<QWidget*>(w.get())
                    : c.target == 1 ? static_cast<QWidget*>(w->ProgressBar1)
                                    : static_cast<QWidget*>(w->StatusBar1);
    const QPoint local(3, 3);
    const QPoint global = target->mapToGlobal(local);
    QMouseEvent press(QEvent::MouseButtonPress, local, global, c.button, c.button, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &press);
    const QPoint delta(40, 25);
    QMouseEvent moveEvent(QEvent::MouseMove, local + delta, global + delta, Qt::NoButton, c.button,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(target, &moveEvent);
    QMouseEvent release(QEvent::MouseButtonRelease, local + delta, global + delta, c.button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
    EXPECT_EQ(w->pos(), c.moves ? start + delta : start);
}

INSTANTIATE_TEST_SUITE_P(Targets, YsjysMoveTest,
                         ::testing::Values(MoveCase{"body", 0, Qt::LeftButton, true},
                                           MoveCase{"progress", 1, Qt::LeftButton, true},
                                           MoveCase{"status", 2, Qt::LeftButton, true},
                                           MoveCase{"right", 0, Qt::RightButton, false}),
                         [](const auto& info) { return std::string(info.param.label); });

} // namespace
