// The attribute run: one window per item, OK, cancel, "全部都" from any item, "全部不", errors.
#include "PropertiesTestSupport.h"
#include "platform/Attributes.h"
#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "properties/AttributeRun.h"
#include "properties/AttributeWindow.h"
#include "properties/engine/AttributeApply.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace proptest;

namespace {

const QString kNewTime = QStringLiteral("2012-06-07 08:09:10");

class AttributeRunTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const test::DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }
    // Files and folders with odd stamps, in the order given; "/" at the end makes a folder.
    QStringList items(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names) {
            const QString p = name.endsWith(u'/') ? t.dir(name.chopped(1))
                                                  : t.file(name, "data of " + plat::path::namePart(name).toUtf8());
            setStamps(p, kOddAccess, kOddWrite);
            paths << p;
        }
        return paths;
    }
    static qint64 newTimeSeconds() { return localSeconds(2012, 6, 7, 8, 9, 10); }
    // Types the new modification time and sets read-only, then clicks `button`.
    static std::function<void(TfrmAttribute&)> change(QPushButton* TfrmAttribute::*button)
    {
        return [button](TfrmAttribute& w) {
            w.WriteTime->setText(kNewTime);
            w.ReadOnly->setChecked(true);
            QTest::mouseClick(w.*button, Qt::LeftButton);
        };
    }
    static std::function<void(TfrmAttribute&)> click(QPushButton* TfrmAttribute::*button)
    {
        return [button](TfrmAttribute& w) { QTest::mouseClick(w.*button, Qt::LeftButton); };
    }
    bool changed(const QString& p) const { return Stamps::of(p).write.tv_sec == newTimeSeconds(); }
    bool untouched(const QString& p) const
    {
        const Stamps s = Stamps::of(p);
        return same(s.write, kOddWrite) && same(s.access, kOddAccess) && !(plat::attributes(p) & plat::kAttrReadOnly);
    }

    test::ScriptedDialogs dialogs;
    test::TempTree t;
    properties::AttributeRun run{nullptr};
};

TEST_F(AttributeRunTest, OkWithoutEditsChangesNothingInTwoZones)
{
    for (const auto& [tz, offset] : {std::pair{"Asia/Shanghai", 8 * 3600L}, std::pair{"America/New_York", -5 * 3600L}}) {
        SCOPED_TRACE(tz);
        Zone zone(tz, offset);
        const QStringList paths = items({"a.txt", "b/"});
        const Stamps a = Stamps::of(paths[0]), b = Stamps::of(paths[1]);
        ModalScript<TfrmAttribute> script;
        script.then(click(&TfrmAttribute::ok)).then(click(&TfrmAttribute::ok));
        EXPECT_FALSE(run.execute(paths));
        for (const auto& [p, before] : {std::pair{paths[0], a}, std::pair{paths[1], b}}) {
            const Stamps after = Stamps::of(p);
            EXPECT_TRUE(same(after.write, before.write));
            EXPECT_TRUE(same(after.access, before.access));
            EXPECT_TRUE(same(after.birth, before.birth));
            EXPECT_EQ(after.ino, before.ino);
            EXPECT_EQ(after.contents, before.contents);
        }
        QDir(paths[1]).removeRecursively();
        QFile::remove(paths[0]);
    }
}

TEST_F(AttributeRunTest, OneWindowPerItemInOrderAndCancelLeavesTheItem)
{
    const QStringList paths = items({"a.txt", "b.txt"});
    QStringList shown;
    ModalScript<TfrmAttribute> script;
    script.then([&](TfrmAttribute& w) { shown << w.FileName->text(); change(&TfrmAttribute::cel)(w); })
        .then([&](TfrmAttribute& w) { shown << w.FileName->text(); change(&TfrmAttribute::ok)(w); });
    EXPECT_TRUE(run.execute(paths));
    EXPECT_EQ(shown, (QStringList{"a.txt", "b.txt"}));
    EXPECT_TRUE(untouched(paths[0]));
    EXPECT_TRUE(changed(paths[1]));
    EXPECT_TRUE(plat::attributes(paths[1]) & plat::kAttrReadOnly);
    EXPECT_TRUE(same(Stamps::of(paths[1]).access, kOddAccess));
}

// "全部都" decides file or folder per item: the folder is left alone without a message, the files after it
// still get their time.
TEST_F(AttributeRunTest, YesToAllFromTheFirstOrSecondItemWithAFolderAmongThem)
{
    for (int start : {0, 1}) {
        SCOPED_TRACE(start);
        const QString in = QStringLiteral("run%1/").arg(start);
        const QStringList paths = items({in + "a/", in + "b.txt", in + "c.txt"});
        ModalScript<TfrmAttribute> script;
        if (start == 1)
            script.then(click(&TfrmAttribute::ok));
        script.then(change(&TfrmAttribute::yall));
        EXPECT_TRUE(run.execute(paths));
        if (start == 0) {
            EXPECT_TRUE(same(Stamps::of(paths[0]).write, kOddWrite));   // a folder's times are not written
            EXPECT_TRUE(plat::attributes(paths[0]) & plat::kAttrReadOnly);
        } else {
            EXPECT_TRUE(untouched(paths[0]));
        }
        EXPECT_TRUE(changed(paths[1]));
        EXPECT_TRUE(changed(paths[2]));
        EXPECT_TRUE(plat::attributes(paths[2]) & plat::kAttrReadOnly);
        EXPECT_TRUE(same(Stamps::of(paths[2]).access, kOddAccess));
        EXPECT_EQ(Stamps::of(paths[2]).contents, QByteArray("data of c.txt"));
        ::chmod(QFile::encodeName(paths[0]).constData(), 0755);   // so the folder can go
    }
}

TEST_F(AttributeRunTest, NoToAllOnTheSecondItemEndsTheRun)
{
    const QStringList paths = items({"a.txt", "b.txt", "c.txt"});
    ModalScript<TfrmAttribute> script;
    script.then(change(&TfrmAttribute::ok)).then(change(&TfrmAttribute::noall));
    EXPECT_TRUE(run.execute(paths));
    EXPECT_EQ(script.shown(), 2);
    EXPECT_TRUE(changed(paths[0]));
    EXPECT_TRUE(untouched(paths[1]));
    EXPECT_TRUE(untouched(paths[2]));
}

TEST_F(AttributeRunTest, AReadOnlyFileGetsTheMessageAndTheRunGoesOn)
{
    const QStringList paths = items({"a.txt", "b.txt"});
    t.setMode(QStringLiteral("a.txt"), 0444);
    ModalScript<TfrmAttribute> script;
    const auto newTimeOnly = [](TfrmAttribute& w) {
        w.WriteTime->setText(kNewTime);
        QTest::mouseClick(w.ok, Qt::LeftButton);
    };
    script.then(newTimeOnly).then(newTimeOnly);
    EXPECT_TRUE(run.execute(paths));
    const auto errors = dialogs.callsOf(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].text, QStringLiteral("目标文件正在被使用或是有只读属性或是文件夹,\r日期时间修改操作失败！"));
    EXPECT_TRUE(same(Stamps::of(paths[0]).write, kOddWrite));
    EXPECT_TRUE(changed(paths[1]));
    dialogs.clear();
}

TEST_F(AttributeRunTest, AnUnreadableTimeEndsTheRunWithAnError)
{
    const QStringList paths = items({"a.txt", "b.txt"});
    ModalScript<TfrmAttribute> script;
    script.then([](TfrmAttribute& w) {
        w.WriteTime->setText(QStringLiteral("2012-99-07 08:09:10"));
        w.ReadOnly->setChecked(true);
        QTest::mouseClick(w.ok, Qt::LeftButton);
    });
    EXPECT_FALSE(run.execute(paths));
    const auto errors = dialogs.callsOf(QStringLiteral("error"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(errors[0].text.contains(QStringLiteral("2012-99-07 08:09:10")));
    EXPECT_TRUE(untouched(paths[0]));
    EXPECT_TRUE(untouched(paths[1]));
    dialogs.clear();
}

} // namespace
