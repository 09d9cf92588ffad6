// The date rewrite window: captions, the picker's range and editing modes, now at start, midnight on OK.
#include "properties/FileDateWindow.h"
#include <QDateTimeEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(FileDateWindow, CaptionsRangeAndStartState)
{
    TFileDateForm f;
    EXPECT_EQ(f.windowTitle(), QStringLiteral("修改日期/时间"));
    EXPECT_EQ(f.Label1->text(), QStringLiteral(" 选择新的日期或时间: "));
    EXPECT_EQ(f.RadioButton1->text(), QStringLiteral("修改日期 "));
    EXPECT_EQ(f.RadioButton2->text(), QStringLiteral("修改时间 "));
    EXPECT_EQ(f.BtnOK->text(), QStringLiteral("确定"));
    EXPECT_EQ(f.BtnCancel->text(), QStringLiteral("取消"));
    EXPECT_TRUE(f.RadioButton1->isChecked());
    EXPECT_EQ(f.DTPicker1->displayFormat(), QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(f.DTPicker1->minimumDateTime(), QDateTime(QDate(1980, 1, 1), QTime(0, 0)));
    EXPECT_EQ(f.DTPicker1->maximumDate(), QDate(2107, 12, 31));
    f.DTPicker1->setDateTime(QDateTime(QDate(1970, 1, 1), QTime(0, 0)));
    EXPECT_EQ(f.DTPicker1->dateTime(), QDateTime(QDate(1980, 1, 1), QTime(0, 0)));
    f.DTPicker1->setDateTime(QDateTime(QDate(2200, 1, 1), QTime(0, 0)));
    EXPECT_EQ(f.DTPicker1->date(), QDate(2107, 12, 31));
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST(FileDateWindow, ShowingSetsNowOnceAndTheRadiosSwitchTheEditing)
{
    TFileDateForm f;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    f.show();
    EXPECT_GE(f.DTPicker1->dateTime(), before);
    EXPECT_LE(f.DTPicker1->dateTime(), QDateTime::currentDateTime());
    QTest::mouseClick(f.RadioButton2, Qt::LeftButton);
    EXPECT_EQ(f.DTPicker1->displayFormat(), QStringLiteral("HH:mm:ss"));
    QTest::mouseClick(f.RadioButton1, Qt::LeftButton);
    EXPECT_EQ(f.DTPicker1->displayFormat(), QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(f.DTPicker1->minimumDate(), QDate(1980, 1, 1));   // every day again after time editing
    EXPECT_EQ(f.DTPicker1->maximumDate(), QDate(2107, 12, 31));
    // Coming back to the window keeps the choice.
    const QDateTime chosen(QDate(2001, 2, 3), QTime(4, 5, 6));
    f.DTPicker1->setDateTime(chosen);
    f.hide();
    f.show();
    EXPECT_EQ(f.DTPicker1->dateTime(), chosen);
}

TEST(FileDateWindow, OkKeepsTheChoiceWithMidnightAsTwoSecondsPast)
{
    const struct {
        QTime chosen;
        QTime result;
    } cases[] = {{QTime(0, 0, 0), QTime(0, 0, 2)}, {QTime(13, 14, 15), QTime(13, 14, 15)}};
    for (const auto& c : cases) {
        TFileDateForm f;
        f.show();
        f.DTPicker1->setDateTime(QDateTime(QDate(2019, 7, 8), c.chosen));
        QTest::mouseClick(f.BtnOK, Qt::LeftButton);
        EXPECT_EQ(f.result(), QDialog::Accepted);
        EXPECT_EQ(f.Result, QDateTime(QDate(2019, 7, 8), c.result));
    }
    TFileDateForm f;
    f.show();
    QTest::mouseClick(f.BtnCancel, Qt::LeftButton);
    EXPECT_EQ(f.result(), QDialog::Rejected);
    EXPECT_FALSE(f.Result.isValid());
}

} // namespace
