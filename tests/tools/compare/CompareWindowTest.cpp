#include "CompareHelpers.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "tools/compare/CompareGrid.h"
#include "tools/compare/CompareResultWindow.h"
#include "tools/compare/CompareSelectWindow.h"
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace cmptest;

namespace {

// 100 lines; file 2 differs on lines 30 and 70.
class ResultWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStringList b = numbered("line", 100);
        b[29] = "changed 30";
        b[69] = "changed 70";
        one = t.file("one.txt", lines(numbered("line", 100)));
        two = t.file("two.txt", lines(b));
        dat.resize(600, 400);
    }
    QColor pixel(int col, int row, int dx, int dy)
    {
        const QImage img = dat.Grid->grab().toImage();
        const QRect r = dat.Grid->CellRect(col, row);
        return img.pixelColor(r.left() + dx, r.top() + dy);
    }

    test::ScriptedDialogs dialogs;
    test::TempTree t;
    QString one, two;
    Tfcdat dat;
};

TEST_F(ResultWindow, IdenticalFilesLeaveBothButtonsDisabled)
{
    ASSERT_TRUE(dat.Compare(one, one));
    EXPECT_EQ(dat.windowTitle(), QStringLiteral("文件比较"));
    EXPECT_FALSE(dat.result().HasDifferences());
    EXPECT_FALSE(dat.DownBitBtn->isEnabled());
    EXPECT_FALSE(dat.UpBitBtn->isEnabled());
    EXPECT_EQ(dat.VScrollBar->minimum(), 1);
    EXPECT_EQ(dat.VScrollBar->maximum(), 99);   // row count (101) - 2
    dat.VScrollBar->setValue(50);
    EXPECT_EQ(dat.Grid->TopRow(), 50);
    EXPECT_FALSE(dat.UpBitBtn->isEnabled());
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(ResultWindow, NextAndPreviousDifference)
{
    ASSERT_TRUE(dat.Compare(one, two));
    const int half = dat.Grid->VisibleRowCount() / 2;
    ASSERT_GT(half, 0);
    ASSERT_LT(half, 25);
    EXPECT_EQ(dat.Grid->TopRow(), 1);
    EXPECT_TRUE(dat.DownBitBtn->isEnabled());
    EXPECT_FALSE(dat.UpBitBtn->isEnabled());   // starts disabled

    dat.DownBitBtn->click();
    EXPECT_EQ(dat.Grid->TopRow(), 30 - half);   // the difference stands in the middle row
    EXPECT_EQ(dat.VScrollBar->value(), 30 - half);
    EXPECT_TRUE(dat.DownBitBtn->isEnabled());
    EXPECT_FALSE(dat.UpBitBtn->isEnabled());    // nothing above row 30

    dat.DownBitBtn->click();
    EXPECT_EQ(dat.Grid->TopRow(), 70 - half);
    EXPECT_FALSE(dat.DownBitBtn->isEnabled());
    EXPECT_TRUE(dat.UpBitBtn->isEnabled());

    dat.UpBitBtn->click();
    EXPECT_EQ(dat.Grid->TopRow(), 30 - half);
    EXPECT_TRUE(dat.DownBitBtn->isEnabled());
    EXPECT_FALSE(dat.UpBitBtn->isEnabled());

    // Scrolling by hand updates the buttons too.
    dat.VScrollBar->setValue(90);
    EXPECT_FALSE(dat.DownBitBtn->isEnabled());
    EXPECT_TRUE(dat.UpBitBtn->isEnabled());
    dat.VScrollBar->setValue(2);
    EXPECT_TRUE(dat.DownBitBtn->isEnabled());
    EXPECT_FALSE(dat.UpBitBtn->isEnabled());

    // With the middle row just below row 30 a previous difference exists; a lower window moves the middle
    // row above it, and the resize updates the buttons.
    dat.VScrollBar->setValue(31 - half);
    EXPECT_TRUE(dat.UpBitBtn->isEnabled());
    dat.resize(600, dat.height() - dat.Grid->height() + 3 * dat.Grid->DefaultRowHeight());
    ASSERT_EQ(dat.Grid->VisibleRowCount(), 2);
    ASSERT_LT(dat.Grid->TopRow() + 1, 30);
    EXPECT_FALSE(dat.UpBitBtn->isEnabled());
    EXPECT_TRUE(dat.DownBitBtn->isEnabled());
}

TEST_F(ResultWindow, GridCellsColoursAndOffsets)
{
    ASSERT_TRUE(dat.Compare(one, two));
    dat.show();
    dat.DownBitBtn->click();
    CompareGrid* g = dat.Grid;
    EXPECT_EQ(g->DisplayText(0, 0), QStringLiteral("文件名:"));
    EXPECT_EQ(g->DisplayText(1, 0), QStringLiteral("one.txt"));
    EXPECT_EQ(g->DisplayText(0, 30), QStringLiteral("30"));   // the marker is not shown
    EXPECT_EQ(g->DisplayText(2, 30), QStringLiteral("changed 30"));

    const QColor teal(0, 0x80, 0x80);
    const QColor base = g->palette().color(QPalette::Base);
    const QColor face = g->palette().color(QPalette::Button);
    ASSERT_NE(base, teal);
    EXPECT_EQ(pixel(0, 30, 1, 0), teal);
    EXPECT_EQ(pixel(1, 30, 1, 0), teal);
    EXPECT_EQ(pixel(2, 30, 1, 0), teal);
    EXPECT_EQ(pixel(0, 29, 1, 0), face);
    EXPECT_EQ(pixel(1, 29, 1, 0), base);
    EXPECT_EQ(pixel(2, 31, 1, 0), base);
    EXPECT_EQ(pixel(1, 0, 1, 0), face);
    // The 2-pixel line at the right edge of column 1, on a marked row as well.
    const int w1 = g->ColWidths(1);
    EXPECT_EQ(pixel(1, 30, w1 - 1, 1), face);
    EXPECT_EQ(pixel(1, 30, w1 - 2, 1), face);
    EXPECT_EQ(pixel(1, 30, w1 - 3, 1), teal);

    // Column widths: column 0 fits its caption, column 1 takes the smaller half of the rest.
    EXPECT_EQ(g->ColWidths(0), g->fontMetrics().horizontalAdvance(QStringLiteral("文件名:")) + 2);
    EXPECT_EQ(g->ColWidths(0) + g->ColWidths(1) + g->ColWidths(2), g->width());
    EXPECT_LE(g->ColWidths(1), g->ColWidths(2));
    EXPECT_LE(g->ColWidths(2) - g->ColWidths(1), 1);

    // SpinEdit1 bounds HScrollBar, which shifts the text of columns 1 and 2 but not row 0 or column 0.
    EXPECT_EQ(dat.SpinEdit1->value(), 1000);
    EXPECT_EQ(dat.HScrollBar->maximum(), 1000);
    dat.SpinEdit1->setValue(3);
    EXPECT_EQ(dat.HScrollBar->maximum(), 3);
    dat.HScrollBar->setValue(10);
    EXPECT_EQ(g->HOffset(), 3);
    EXPECT_EQ(g->DisplayText(2, 30), QStringLiteral("nged 30"));
    EXPECT_EQ(g->DisplayText(1, 0), QStringLiteral("one.txt"));
    EXPECT_EQ(g->DisplayText(0, 30), QStringLiteral("30"));
}

TEST(ResultGrid, LongCellsAreCut)
{
    test::TempTree t;
    const QString long1 = QString(300, u'a');
    FileCompare fc;
    ASSERT_TRUE(fc.Execute(t.file("a", lines({long1})), t.file("b", lines({"b"}))));
    CompareGrid g;
    g.resize(400, 200);
    g.setSource(&fc);
    EXPECT_EQ(g.DisplayText(1, 1).size(), 255);
    g.setHOffset(100);
    EXPECT_EQ(g.DisplayText(1, 1).size(), 200);
    EXPECT_EQ(g.DisplayText(0, 1), QStringLiteral("1"));
}

TEST_F(ResultWindow, EscCancelsARunningComparison)
{
    const QString big1 = t.file("big1.txt", lines(numbered("a", 30000)));
    const QString big2 = t.file("big2.txt", lines(numbered("b", 30000)));
    FileCompare& engine = dat.engine();
    auto pump = engine.OnProgress;
    int calls = 0;
    engine.OnProgress = [&](FileCompare* sender) {
        if (++calls == 2) {   // the key arrives while the comparison runs
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&dat, &esc);
            EXPECT_TRUE(dat.isVisible());
        }
        pump(sender);
    };
    EXPECT_FALSE(dat.Compare(big1, big2));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(dat.running());
    EXPECT_EQ(dat.result().RowCount(), 0);
    EXPECT_EQ(dat.Grid->source(), nullptr);
    EXPECT_TRUE(dialogs.calls().empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Afterwards Esc closes the window as usual.
    engine.OnProgress = pump;
    ASSERT_TRUE(dat.Compare(one, two));
    QTest::keyClick(&dat, Qt::Key_Escape);
    EXPECT_FALSE(dat.isVisible());
}

TEST_F(ResultWindow, ReadFailureIsShown)
{
    const QString folder = t.dir("folder");
    EXPECT_FALSE(dat.Compare(one, folder));
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("error"));
    EXPECT_TRUE(dialogs.calls()[0].text.startsWith(folder));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    dialogs.clear();
}

// --- the selection window ---

class SelectionWindow : public ::testing::Test {
protected:
    SelectionWindow()
    {
        fc = new TFC;
        fc->setAttribute(Qt::WA_DeleteOnClose);
        fc->show();
    }
    ~SelectionWindow() override { delete fc.data(); }
    void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    test::ScriptedDialogs dialogs;
    test::TempTree t;
    QPointer<TFC> fc;
};

TEST_F(SelectionWindow, ControlsAndChosenPathsKeepTheirCase)
{
    EXPECT_EQ(fc->windowTitle(), QStringLiteral("文件比较"));
    EXPECT_TRUE(fc->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(fc->Label1->text(), QStringLiteral("比较文件1：      "));
    EXPECT_EQ(fc->Label2->text(), QStringLiteral("比较文件2：      "));
    EXPECT_EQ(fc->Button1->text(), QStringLiteral("选取文件1..."));
    EXPECT_EQ(fc->Button2->text(), QStringLiteral("选取文件2..."));
    EXPECT_EQ(fc->OKBtn->text(), QStringLiteral("比较"));
    EXPECT_EQ(fc->CancelBtn->text(), QStringLiteral("取消"));

    const QString path = t.file("Docs/Report-A.TXT", lines({"x"}));
    dialogs.answerFile(path);
    fc->Button1->click();
    EXPECT_EQ(fc->Edit1->text(), path);
    EXPECT_EQ(fc->Edit1->toolTip(), path);
    dialogs.answerFile(QString());   // cancelled: the field stays
    fc->Button2->click();
    EXPECT_TRUE(fc->Edit2->text().isEmpty());
    ASSERT_EQ(dialogs.calls().size(), 2u);
    for (const test::DialogCall& c : dialogs.calls()) {
        EXPECT_EQ(c.kind, QStringLiteral("openFile"));
        EXPECT_EQ(c.caption, QStringLiteral("选取文件进行比较"));
    }
    dialogs.clear();
}

TEST_F(SelectionWindow, PathsThatNameNoFileMoveTheFocus)
{
    const QString ok = t.file("ok.txt", lines({"x"}));
    const QStringList bad = {QString(), t.path("missing.txt"), t.dir("folder"), t.fifo("pipe")};
    for (const QString& b : bad) {
        fc->Edit1->setText(b);
        fc->Edit2->setText(ok);
        fc->OKBtn->click();
        EXPECT_EQ(fc->focusWidget(), fc->Edit1) << b.toStdString();
        EXPECT_TRUE(fc->isVisible());
        fc->Edit1->setText(ok);
        fc->Edit2->setText(b);
        fc->OKBtn->click();
        EXPECT_EQ(fc->focusWidget(), fc->Edit2) << b.toStdString();
        EXPECT_TRUE(fc->isVisible());
    }
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST_F(SelectionWindow, CompareShowsTheResultModallyThenCloses)
{
    fc->Edit1->setText(t.file("A.txt", lines({"a", "b"})));
    fc->Edit2->setText(t.file("B.txt", lines({"a", "c"})));
    QStringList seen;
    bool selectionHidden = false;
    // Once the finished result window waits in its modal loop, read it and close it.
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dat = qobject_cast<Tfcdat*>(QApplication::activeModalWidget());
        if (!dat || dat->running() || !dat->Grid->source())
            return;
        poll.stop();
        seen = rows(dat->result());
        selectionHidden = !fc->isVisible();
        dat->close();
    });
    poll.start();
    fc->OKBtn->click();
    EXPECT_EQ(seen, (QStringList{" 1|a|a", "x2|b|c"}));
    EXPECT_TRUE(selectionHidden);
    flushDeletes();
    EXPECT_TRUE(fc.isNull());   // closed and freed after the result
}

TEST_F(SelectionWindow, CancelledOrFailedCompareReturnsToTheChoice)
{
    fc->Edit1->setText(t.file("a.txt", lines({"a"})));
    fc->Edit2->setText(t.file("b.txt", lines({"b"})));
    // Esc as soon as the result window is up.
    QTimer::singleShot(0, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            QTest::keyClick(w, Qt::Key_Escape);
    });
    fc->OKBtn->click();
    flushDeletes();
    ASSERT_FALSE(fc.isNull());
    EXPECT_TRUE(fc->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(dialogs.calls().empty());

    if (QFile::exists(QStringLiteral("/proc/self/mem"))) {
        fc->Edit2->setText(QStringLiteral("/proc/self/mem"));   // a file whose read fails
        fc->OKBtn->click();
        flushDeletes();
        ASSERT_FALSE(fc.isNull());
        EXPECT_TRUE(fc->isVisible());
        ASSERT_EQ(dialogs.calls().size(), 1u);
        EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("error"));
        dialogs.clear();
    }
}

} // namespace
