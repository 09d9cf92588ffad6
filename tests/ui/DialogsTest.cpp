#include "support/ScriptedDialogs.h"
#include "ui/Dialogs.h"
#include "ui/MessageBox.h"
#include <QApplication>
#include <QFontMetrics>
#include <gtest/gtest.h>

TEST(Dialogs, FilterTextBecomesQtFilterAndStarDotStarMatchesEverything)
{
    EXPECT_EQ(ui::Dialogs::qtFilter(QStringLiteral("文本文件|*.txt;*.log|所有文件|*.*")),
              QStringLiteral("文本文件 (*.txt *.log);;所有文件 (*)"));
    EXPECT_EQ(ui::Dialogs::qtFilter(QString()), QString());
}

TEST(Dialogs, ScriptedServiceIsInstalledForItsLifetimeAndAnswersFromItsQueue)
{
    ui::Dialogs* before = ui::Dialogs::installed();
    {
        test::ScriptedDialogs dlg;
        EXPECT_EQ(&ui::Dialogs::get(), &dlg);
        dlg.answerQuestion(ui::Dialogs::Cancel);
        EXPECT_EQ(ui::Dialogs::get().question(nullptr, QStringLiteral("删除?"), QStringLiteral("删除"),
                                              ui::Dialogs::EscCancels),
                  ui::Dialogs::Cancel);
        ui::Dialogs::get().error(nullptr, QStringLiteral("x  不存在！"));
        ui::Dialogs::get().beep();
        ASSERT_EQ(dlg.calls().size(), 3u);
        EXPECT_EQ(dlg.calls()[1].caption, QStringLiteral("错误"));
        EXPECT_EQ(dlg.calls()[1].text, QStringLiteral("x  不存在！"));
        EXPECT_EQ(dlg.beeps(), 1);
    }
    EXPECT_EQ(ui::Dialogs::installed(), before);
}

// A short text under a long title: the box is as wide as the title, with room for the title bar's buttons.
TEST(Dialogs, MessageBoxesAreWideEnoughForTheirTitle)
{
    for (const QString& title : {QStringLiteral("Orvo 文件管理器"), QStringLiteral("文件分割或合并")}) {
        ui::TitledMessageBox box(QMessageBox::NoIcon, title, QStringLiteral(" 文件分割完成。"));
        box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
        box.show();
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GE(box.width(), QFontMetrics(bold).horizontalAdvance(title) + 120) << title.toStdString();
        box.close();
    }
}
