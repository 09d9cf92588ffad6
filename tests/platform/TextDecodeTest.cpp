#include "platform/TextDecode.h"
#include <QStringEncoder>
#include <gtest/gtest.h>

namespace {

TEST(DecodeText, BomThenUtf8ThenGb18030)
{
    const QString chinese = QStringLiteral("桌面/文件夹");
    QStringEncoder gb("GB18030");
    ASSERT_TRUE(gb.isValid());
    const QByteArray gbBytes = gb.encode(chinese);
    ASSERT_NE(gbBytes, chinese.toUtf8());
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    const struct {
        const char* label;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"utf-8", chinese.toUtf8(), chinese},
        {"utf-8 with BOM", "\xEF\xBB\xBF" + chinese.toUtf8(), chinese},
        {"utf-16 with BOM", utf16.encode(chinese), chinese},
        {"gb18030", gbBytes, chinese},
        {"ascii", "a b\r\n", QStringLiteral("a b\r\n")},
        {"empty", QByteArray(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(plat::decodeText(c.bytes), c.text) << c.label;
}

} // namespace
