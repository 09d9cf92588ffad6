#include "support/ScriptedDialogs.h"
#include "ui/Dialogs.h"
#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTimer>
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

// A short text under a long title: the service's box is as wide as the title, with room for the title
// bar's buttons.
TEST(Dialogs, MessageBoxesAreWideEnoughForTheirTitle)
{
    ASSERT_EQ(ui::Dialogs::installed(), nullptr);   // the Qt service
    for (const QString& caption : {QString(), QStringLiteral("文件分割或合并")}) {
        const QString title = caption.isEmpty() ? QStringLiteral("Orvo 文件管理器") : caption;
        int shownWidth = 0;
        // Runs inside the box's own event loop once it shows, and closes it.
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shownWidth = box->width();
                box->accept();
            }
        });
        if (caption.isEmpty())
            ui::Dialogs::get().message(nullptr, QStringLiteral(" 文件分割完成。"));
        else
            ui::Dialogs::get().info(nullptr, QStringLiteral(" 文件分割完成。"), caption);
        QFont bold = QApplication::font();
        bold.setBold(true);
        EXPECT_GE(shownWidth, QFontMetrics(bold).horizontalAdvance(title) + 120) << title.toStdString();
    }
}
