// The attribute window driven through its controls: captions, the filled texts, the key filter, the
// pickers, the icon saving and the hints.
#include "PropertiesTestSupport.h"
#include "properties/AttributeWindow.h"
#include "properties/engine/ItemInfo.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace proptest;

namespace {

class AttributeWindow : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const test::DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }
    // The window showing a 1536-byte file with odd stamps.
    void showNote()
    {
        const QString p = t.file(QStringLiteral("note.txt"), 1536);
        setStamps(p, kOddAccess, kOddWrite);
        w.showItem(*properties::readItem(p));
    }
    test::ScriptedDialogs dialogs;
    test::TempTree t;
    TfrmAttribute w;
};

TEST_F(AttributeWindow, CaptionsAndStartState)
{
    EXPECT_EQ(w.windowTitle(), QStringLiteral("属性"));
    const struct {
        QWidget* control;
        const char* text;
    } captions[] = {
        {w.Label5, "类型:"}, {w.Label3, "位置:"}, {w.Label6, "大小:"}, {w.Label9, "MS-DOS 名称:"},
        {w.Label7, "创建时间:"}, {w.Label4, "修改时间:"}, {w.Label8, "访问时间:"}, {w.Label1, "属性："},
        {w.ReadOnly, "只读(&R)"}, {w.Archive, "存档(&C)"}, {w.System, "系统(&S)"}, {w.Hidden, "隐藏(&D)"},
        {w.Button3, "填写"}, {w.ok, "确定"}, {w.cel, "取消"}, {w.yall, "全部都"}, {w.noall, "全部不"},
    };
    for (const auto& c : captions) {
        SCOPED_TRACE(c.text);
        const QString text = qobject_cast<QLabel*>(c.control) ? qobject_cast<QLabel*>(c.control)->text()
                                                               : qobject_cast<QAbstractButton*>(c.control)->text();
        EXPECT_EQ(text, QString::fromUtf8(c.text));
    }
    for (QDateTimeEdit* p : {w.DateTimePicker1, w.DateTimePicker2, w.DateTimePicker3})
        EXPECT_TRUE(p->isHidden());
    EXPECT_FALSE(w.Button3->isEnabled());
    EXPECT_TRUE(w.CheckBox2->isChecked());
    EXPECT_TRUE(w.CheckBox3->isChecked());
    // Linux cannot set a creation time, nor archive and system.
    EXPECT_FALSE(w.CheckBox1->isEnabled());
    EXPECT_FALSE(w.CheckBox1->isChecked());
    EXPECT_TRUE(w.CreateTime->isReadOnly());
    EXPECT_EQ(w.CreateTime->toolTip(), QStringLiteral("Linux 不支持修改创建时间"));
    EXPECT_EQ(w.CheckBox1->toolTip(), QStringLiteral("Linux 不支持修改创建时间"));
    EXPECT_FALSE(w.Archive->isEnabled());
    EXPECT_FALSE(w.System->isEnabled());
    EXPECT_TRUE(w.ReadOnly->isEnabled());
    EXPECT_TRUE(w.Hidden->isEnabled());
    EXPECT_EQ(w.WriteTime->palette().color(QPalette::Base), w.WriteTime->palette().color(QPalette::Button));
}

TEST_F(AttributeWindow, ShowsTheItemsTexts)
{
    showNote();
    EXPECT_EQ(w.FileName->text(), QStringLiteral("note.txt"));
    EXPECT_EQ(w.FileName->toolTip(), QStringLiteral("note.txt"));
    EXPECT_FALSE(w.FileType->text().isEmpty());
    EXPECT_EQ(w.FilePath->text(), t.root());
    EXPECT_EQ(w.FilePath->toolTip(), t.root());
    EXPECT_EQ(w.FileSize->text(), QStringLiteral("1.50KB (1,536 字节)"));
    EXPECT_EQ(w.DosName->text(), QString());
    EXPECT_EQ(w.WriteTime->text(), properties::timeText(plat::posix::FileTime(kOddWrite.tv_sec, qint32(kOddWrite.tv_nsec))));
    EXPECT_EQ(w.accessTime1->text(), properties::timeText(plat::posix::FileTime(kOddAccess.tv_sec, 0)));
    EXPECT_EQ(w.DateTimePicker2->dateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), w.WriteTime->text());
    EXPECT_FALSE(w.ReadOnly->isChecked());
    EXPECT_TRUE(w.Archive->isChecked());
    EXPECT_FALSE(w.System->isChecked());
    EXPECT_FALSE(w.Hidden->isChecked());
    EXPECT_FALSE(w.Image1->pixmap().isNull());
    // A folder: its type, no archive.
    w.showItem(*properties::readItem(t.dir(QStringLiteral("sub"))));
    EXPECT_EQ(w.FileType->text(), QStringLiteral("文件夹"));
    EXPECT_EQ(w.FileSize->text(), QStringLiteral("0.00KB ( 字节)"));
    EXPECT_FALSE(w.Archive->isChecked());
}

TEST_F(AttributeWindow, TimeEditsTakeDigitsBlanksDashesAndColonsOnly)
{
    showNote();
    w.show();
    w.WriteTime->clear();
    w.WriteTime->setFocus();
    QTest::keyClicks(w.WriteTime, QStringLiteral("2020-01-02 03:04:05"));
    EXPECT_EQ(w.WriteTime->text(), QStringLiteral("2020-01-02 03:04:05"));
    EXPECT_EQ(dialogs.beeps(), 0);
    for (Qt::Key k : {Qt::Key_A, Qt::Key_Slash, Qt::Key_Period}) {
        QTest::keyClick(w.WriteTime, k);
        EXPECT_EQ(w.WriteTime->text(), QStringLiteral("2020-01-02 03:04:05"));
    }
    EXPECT_EQ(dialogs.beeps(), 3);
    QTest::keyClick(w.accessTime1, Qt::Key_X);
    EXPECT_EQ(dialogs.beeps(), 4);
    QTest::keyClick(w.WriteTime, Qt::Key_Backspace);
    EXPECT_EQ(w.WriteTime->text(), QStringLiteral("2020-01-02 03:04:0"));
    dialogs.clear();
}

// The first double-click shows the picker and writes its value; the next ones switch date and time editing.
TEST_F(AttributeWindow, DoubleClickingATimeLabelShowsThenSwitchesItsPicker)
{
    showNote();
    w.show();
    const QString shown = w.WriteTime->text();
    w.WriteTime->setText(QStringLiteral("2000-01-01 00:00:00"));
    QTest::mouseDClick(w.Label4, Qt::LeftButton);
    EXPECT_TRUE(w.DateTimePicker2->isVisible());
    EXPECT_EQ(w.WriteTime->text(), shown);
    EXPECT_EQ(w.DateTimePicker2->displayFormat(), QStringLiteral("yyyy-MM-dd"));
    EXPECT_TRUE(w.Button3->isEnabled());
    QTest::mouseDClick(w.Label4, Qt::LeftButton);
    EXPECT_EQ(w.DateTimePicker2->displayFormat(), QStringLiteral("HH:mm:ss"));
    QTest::mouseDClick(w.Label4, Qt::LeftButton);
    EXPECT_EQ(w.DateTimePicker2->displayFormat(), QStringLiteral("yyyy-MM-dd"));
    EXPECT_TRUE(w.DateTimePicker3->isHidden());

    // A change of the picker goes into the edit.
    w.DateTimePicker2->setDateTime(QDateTime(QDate(2011, 12, 13), QTime(14, 15, 16)));
    EXPECT_EQ(w.WriteTime->text(), QStringLiteral("2011-12-13 14:15:16"));

    // Double-clicking the access edit shows its picker; "填写" hides both.
    QTest::mouseDClick(w.accessTime1, Qt::LeftButton);
    EXPECT_TRUE(w.DateTimePicker3->isVisible());
    QTest::mouseClick(w.Button3, Qt::LeftButton);
    EXPECT_TRUE(w.DateTimePicker2->isHidden());
    EXPECT_TRUE(w.DateTimePicker3->isHidden());
    EXPECT_FALSE(w.Button3->isEnabled());

    // The creation label and edit do nothing: Linux cannot set that time.
    QTest::mouseDClick(w.Label7, Qt::LeftButton);
    QTest::mouseDClick(w.CreateTime, Qt::LeftButton);
    EXPECT_TRUE(w.DateTimePicker1->isHidden());
    EXPECT_FALSE(w.Button3->isEnabled());
}

TEST_F(AttributeWindow, DoubleClickingTheIconSavesItWithIcoAppended)
{
    showNote();
    w.show();
    dialogs.answerFile(t.path(QStringLiteral("a.ico")));   // the dialog supplied ".ico" to "a"
    QTest::mouseDClick(w.Image1, Qt::LeftButton);
    const auto saves = dialogs.callsOf(QStringLiteral("saveFile"));
    ASSERT_EQ(saves.size(), 1u);
    const QString saved = t.path(QStringLiteral("a.ico.ico"));
    QImageReader reader(saved);
    EXPECT_EQ(reader.format(), QByteArray("ico"));
    EXPECT_FALSE(reader.read().isNull());
    EXPECT_FALSE(QFile::exists(t.path(QStringLiteral("a.ico"))));
    dialogs.clear();

    // An existing file is replaced only when the user says so.
    QFile::resize(saved, 0);
    dialogs.answerFile(t.path(QStringLiteral("a.ico")));
    dialogs.answerQuestion(ui::Dialogs::No);
    QTest::mouseDClick(w.Image1, Qt::LeftButton);
    EXPECT_EQ(QFileInfo(saved).size(), 0);
    const auto questions = dialogs.callsOf(QStringLiteral("question"));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_TRUE(questions[0].text.contains(saved));
    dialogs.clear();
    dialogs.answerFile(t.path(QStringLiteral("a.ico")));
    dialogs.answerQuestion(ui::Dialogs::Yes);
    QTest::mouseDClick(w.Image1, Qt::LeftButton);
    EXPECT_GT(QFileInfo(saved).size(), 0);
    dialogs.clear();

    // Cancelled: nothing is written.
    dialogs.answerFile(QString());
    QTest::mouseDClick(w.Image1, Qt::LeftButton);
    EXPECT_EQ(QDir(t.root()).entryList(QDir::Files).size(), 2);   // note.txt and a.ico.ico
    dialogs.clear();
}

TEST_F(AttributeWindow, ButtonsCloseWithTheirResults)
{
    showNote();
    const struct {
        QPushButton* button;
        int result;
    } cases[] = {{w.ok, TfrmAttribute::mrOk}, {w.cel, TfrmAttribute::mrCancel}, {w.noall, TfrmAttribute::mrNoToAll}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button->text().toStdString());
        w.show();
        QTest::mouseClick(c.button, Qt::LeftButton);
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), c.result);
    }
}

} // namespace
