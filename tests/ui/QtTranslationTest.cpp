// Qt's standard buttons read in Chinese when the user's locale has no translation of its own.
#include "ui/QtTranslation.h"
#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

TEST(QtTranslation, StandardButtonsReadInChineseByDefault)
{
    QCoreApplication& app = *QCoreApplication::instance();
    for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Chinese, QLocale::China)}) {
        SCOPED_TRACE(locale.name().toStdString());
        EXPECT_EQ(ui::installQtTranslation(app, locale), QStringLiteral("zh_CN"));
        QMessageBox box;
        box.setStandardButtons(QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        EXPECT_NE(box.button(QMessageBox::No)->text(), QStringLiteral("&No"));
        for (QTranslator* t : app.findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
}

} // namespace
