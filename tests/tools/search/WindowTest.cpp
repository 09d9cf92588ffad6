// The search window Tfindfiles: controls, criteria, result rows, summary, sorting, item commands and
// closing while a search runs.
#include "SearchTestSupport.h"
#include "platform/Services.h"
#include "support/CaseNames.h"
#include "support/Fakes.h"
#include "support/ScriptedDialogs.h"
#include "support/TempTree.h"
#include "tools/search/FindFilesWindow.h"
#include "tools/search/SearchControls.h"
#include "ui/RadioGroup.h"
#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTreeView>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Records the start folder of folder choosers as well.
class Dialogs : public test::ScriptedDialogs {
public:
    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override
    {
        starts << start;
        return test::ScriptedDialogs::chooseFolder(parent, title, start);
    }
    QStringList starts;
};

class SearchWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        w = new Tfindfiles;
        w->setAttribute(Qt::WA_DeleteOnClose);
    }
    void TearDown() override
    {
        delete w.data();
        for (const test::DialogCall& c : dialogs.calls())
            ADD_FAILURE() << "unchecked " << c.kind.toStdString() << ": " << c.text.toStdString();
    }
    static plat::Services withLauncher(test::FakeLauncher& l)
    {
        plat::Services s = plat::services();
        s.launcher = &l;
        return s;
    }
    // Presses Find and waits until the search has ended.
    void find()
    {
        w->Button2->click();
        while (w && w->FindFile->Busy())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QStringList column(int c) const
    {
        QStringList out;
        for (int r = 0; r < w->resultCount(); ++r)
            out << w->resultText(r, c);
        return out;
    }
    QStringList labels() const
    {
        QStringList out;
        for (const QLabel* l : w->findChildren<QLabel*>())
            out << l->text();
        return out;
    }

    Dialogs dialogs;
    test::FakeLauncher launcher;
    plat::ScopedServices services{withLauncher(launcher)};
    QPointer<Tfindfiles> w;
};

TEST_F(SearchWindow, ControlsAndDefaults)
{
    EXPECT_EQ(w->windowTitle(), QStringLiteral("查找文件"));
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    ASSERT_EQ(w->PageControl->count(), 3);
    EXPECT_EQ(w->PageControl->tabText(0), QStringLiteral("文件位置"));
    EXPECT_EQ(w->PageControl->tabText(1), QStringLiteral("日期"));
    EXPECT_EQ(w->PageControl->tabText(2), QStringLiteral("高级的"));
    for (const char* l : {"文件名:  ", "包含文字:   ", "范围: ", "至少:   ", "至多:  ", "KB"})
        EXPECT_TRUE(labels().contains(QString::fromUtf8(l))) << l;

    const std::vector<std::tuple<QAbstractButton*, const char*, bool>> boxes = {
        {w->IgnoreCase, "区分大小写", false}, {w->Subfolders, "包括子文件夹", true},
        {w->Threaded, "线程查找", true},     {w->AD, "之后日期:", false},
        {w->AT, "之后时间:", false},         {w->BD, "之前日期:", false},
        {w->BT, "之前时间:", false},         {w->ExactAttr, "勾选的属性都有才查找该文件&B", false},
        {w->Readonly, "只读&R", true},       {w->Hidden, "隐藏&H", true},
        {w->Archive, "存档&A", true},        {w->System, "系统&T", true},
        {w->Directory, "文件夹&D", false}};
    for (const auto& [box, text, checked] : boxes) {
        EXPECT_EQ(box->text(), QString::fromUtf8(text));
        EXPECT_EQ(box->isChecked(), checked) << text;
    }
    EXPECT_EQ(w->BrowseButton->text(), QStringLiteral("更改范围&B"));
    EXPECT_EQ(w->Button2->text(), QStringLiteral("查找&F"));
    EXPECT_EQ(w->Button1->text(), QStringLiteral("停止&S"));
    EXPECT_TRUE(w->Button2->isEnabled());
    EXPECT_FALSE(w->Button1->isEnabled());
    EXPECT_FALSE(w->Animate->Active());
    EXPECT_EQ(w->DateRangeChoice->title(), QStringLiteral("查找的文件"));
    EXPECT_EQ(w->DateRangeChoice->ItemIndex(), 0);
    EXPECT_EQ(w->Attributes->title(), QStringLiteral(" 属性 "));
    EXPECT_EQ(w->FileSize->title(), QStringLiteral("大小"));
    for (QWidget* picker : std::initializer_list<QWidget*>{w->AfterDate, w->AfterTime, w->BeforeDate, w->BeforeTime})
        EXPECT_FALSE(picker->isEnabled());
    EXPECT_EQ(w->Location->text(), QDir::homePath() + u'/');
    EXPECT_EQ(w->Filename->text(), QString());
    EXPECT_EQ(w->SizeMin->value(), 0);
    EXPECT_EQ(w->SizeMax->maximum(), 2147483647);
    EXPECT_EQ(w->statusText(), QString());

    EXPECT_EQ(w->FindFile->Filename(), QStringLiteral("*.*"));
    EXPECT_TRUE(w->FindFile->Threaded());

    const QStringList headers = {"名称", "位置", "大小", "修改日期"};
    const int widths[] = {100, 160, 60, 120};
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(w->FoundFiles->model()->headerData(c, Qt::Horizontal).toString(), headers[c]);
        EXPECT_EQ(w->FoundFiles->columnWidth(c), widths[c]);
    }
    EXPECT_EQ(w->O1->text(), QStringLiteral("打开&O"));
    EXPECT_EQ(w->E1->text(), QStringLiteral("定位文件(资源管理器)&E"));
    EXPECT_EQ(w->OrvoF1->text(), QStringLiteral("定位文件(Orvo文件管理器)&F"));
    EXPECT_EQ(w->PopupMenu1->actions().size(), 3);

    // FormCreate: today at midnight for the dates, the current time of day for the times.
    EXPECT_EQ(w->BeforeDate->date(), QDate::currentDate());
    EXPECT_EQ(w->AfterDate->date(), QDate::currentDate());
    EXPECT_LE(qAbs(w->AfterTime->time().secsTo(QTime::currentTime())), 5);
}

TEST_F(SearchWindow, CheckBoxesReachTheComponentAtOnce)
{
    w->Subfolders->click();
    EXPECT_FALSE(w->FindFile->Subfolders());
    w->Threaded->click();
    EXPECT_FALSE(w->FindFile->Threaded());
    w->ExactAttr->click();
    EXPECT_TRUE(w->FindFile->ExactAttribute());
    w->IgnoreCase->click();
    EXPECT_FALSE(w->FindFile->IgnoreCase());   // checked = case-sensitive
    w->IgnoreCase->click();
    EXPECT_TRUE(w->FindFile->IgnoreCase());
    for (auto [box, picker] : std::vector<std::pair<QCheckBox*, QWidget*>>{
             {w->AD, w->AfterDate}, {w->AT, w->AfterTime}, {w->BD, w->BeforeDate}, {w->BT, w->BeforeTime}}) {
        box->click();
        EXPECT_TRUE(picker->isEnabled());
        box->click();
        EXPECT_FALSE(picker->isEnabled());
    }
}

// --- Size fields ---

struct SizeCase {
    const char* text;
    int value;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.text;
}

class SizeField : public SearchWindow, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(SizeField, KeyUpParsesTheTextOrFallsBackByItsLength)
{
    const SizeCase& c = GetParam();
    for (search::SpinEdit* edit : {w->SizeMin, w->SizeMax}) {
        edit->setValue(77);
        auto* line = edit->findChild<QLineEdit*>();
        ASSERT_TRUE(line);
        line->setText(QString::fromUtf8(c.text));
        edit == w->SizeMin ? w->SizeMinKeyUp() : w->SizeMaxKeyUp();
        EXPECT_EQ(edit->value(), c.value) << c.text;
        EXPECT_EQ(edit->text(), QString::number(c.value));
    }
}

INSTANTIATE_TEST_SUITE_P(Search, SizeField,
                         ::testing::Values(SizeCase{"12", 12}, SizeCase{"abc", 0}, SizeCase{"", 0},
                                           SizeCase{"1234567x", 0},             // 8 characters
                                           SizeCase{"12345678x", 2147483647},   // 9 characters
                                           SizeCase{"12345678901", 2147483647}, SizeCase{"2147483647", 2147483647},
                                           SizeCase{"3000000", 3000000}, SizeCase{"-5", 0}),
                         [](const auto& i) { return test::literalName(i.param.text); });

TEST_F(SearchWindow, TypingIntoASizeField)
{
    w->show();
    w->SizeMin->setFocus();
    w->SizeMin->selectAll();
    QTest::keyClicks(w->SizeMin, QStringLiteral("abc"));
    EXPECT_EQ(w->SizeMin->value(), 0);
    w->SizeMax->selectAll();
    QTest::keyClicks(w->SizeMax, QStringLiteral("12345678901"));
    EXPECT_EQ(w->SizeMax->value(), 2147483647);
}

// --- Searching ---

TEST_F(SearchWindow, ResultRowsAndSummary)
{
    test::TempTree t;
    t.file("zero.bin", 0);
    t.file("one.bin", 1);
    t.file("k.bin", 1024);
    t.file("k1.bin", 1025);
    t.file("sub/inner.bin", 3000);
    t.dir("sub/folder.bin");
    t.setTimes("one.bin", QDateTime(QDate(2021, 1, 2), QTime(3, 4, 5)), QDateTime(QDate(2021, 1, 2), QTime(3, 4, 5)));
    t.setTimes("k.bin", QDateTime(QDate(2021, 1, 2), QTime(0, 0)), QDateTime(QDate(2021, 1, 2), QTime(0, 0)));
    w->Filename->setText(QStringLiteral("*.bin"));
    w->Location->setText(t.root());
    w->Directory->setChecked(true);
    find();
    ASSERT_EQ(w->resultCount(), 6);
    QMap<QString, QStringList> rows;
    for (int r = 0; r < w->resultCount(); ++r)
        rows[w->resultText(r, 0)] = {w->resultText(r, 1), w->resultText(r, 2), w->resultText(r, 3)};
    const QString root = t.root().chopped(1);
    EXPECT_EQ(rows["zero.bin"].mid(0, 2), QStringList({root, "0KB"}));
    EXPECT_EQ(rows["one.bin"], QStringList({root, "1KB", "2021/1/2 03:04:04"}));
    EXPECT_EQ(rows["k.bin"], QStringList({root, "1KB", "2021/1/2"}));
    EXPECT_EQ(rows["k1.bin"].mid(0, 2), QStringList({root, "2KB"}));
    EXPECT_EQ(rows["inner.bin"].mid(0, 2), QStringList({root + "/sub", "3KB"}));
    EXPECT_EQ(rows["folder.bin"].mid(0, 2), QStringList({root + "/sub", "Folder"}));

    static const QRegularExpression summary(QStringLiteral("^6 文件找到在 3 文件夹 \\(\\d+ ms\\)$"));
    EXPECT_TRUE(summary.match(w->statusText()).hasMatch()) << w->statusText().toStdString();
    EXPECT_TRUE(w->Button2->isEnabled());
    EXPECT_FALSE(w->Button1->isEnabled());
    EXPECT_FALSE(w->Animate->Active());
}

// The busy animation under Stop shows only while a search runs; otherwise its place stays empty.
TEST_F(SearchWindow, TheBusyAnimationShowsOnlyWhileSearching)
{
    w->show();
    EXPECT_FALSE(w->Animate->isVisible());
    const QRect stop = w->Button1->geometry();
    w->Animate->setActive(true);
    EXPECT_TRUE(w->Animate->isVisible());
    EXPECT_EQ(w->Button1->geometry(), stop);
    w->Animate->setActive(false);
    EXPECT_FALSE(w->Animate->isVisible());
}

TEST_F(SearchWindow, NothingFoundInlineAndThreaded)
{
    test::TempTree t;
    t.file("a.txt", 1);
    w->Filename->setText(QStringLiteral("*.none"));
    w->Location->setText(t.root());
    for (bool threaded : {true, false}) {
        w->Threaded->setChecked(threaded);
        w->ThreadedClick();
        find();
        EXPECT_EQ(w->resultCount(), 0);
        EXPECT_TRUE(w->statusText().startsWith(QStringLiteral("0 文件找到在 1 文件夹 ("))) << threaded;
    }
}

TEST_F(SearchWindow, RefusedCriteriaShowTheErrorAndStartNothing)
{
    w->Filename->setText(QStringLiteral("dir/*.txt"));
    w->Button2->click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].kind, QStringLiteral("error"));
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("dir/*.txt\n\rInvalid filename specified"));
    dialogs.clear();
    w->Filename->setText(QStringLiteral("*.txt"));
    w->Location->setText(QStringLiteral("/tmp/*"));
    w->Button2->click();
    ASSERT_EQ(dialogs.calls().size(), 1u);
    EXPECT_EQ(dialogs.calls()[0].text, QStringLiteral("/tmp/*\n\rlocation cannot to be contained wildcards"));
    dialogs.clear();
    EXPECT_FALSE(w->FindFile->Busy());
    EXPECT_TRUE(w->Button2->isEnabled());
    EXPECT_FALSE(w->Button1->isEnabled());
    EXPECT_EQ(w->statusText(), QString());
}

TEST_F(SearchWindow, SizeAndDateCriteria)
{
    test::TempTree t;
    t.file("s1023", 1023);
    t.file("s1024", 1024);
    t.file("early", 1);
    t.setTimes("early", QDateTime(QDate(2022, 6, 1), QTime(7, 59, 58)), QDateTime(QDate(2022, 6, 1), QTime(7, 59, 58)));
    t.setTimes("s1023", QDateTime(QDate(2019, 1, 1), QTime(8, 0)), QDateTime(QDate(2019, 1, 1), QTime(8, 0)));
    t.setTimes("s1024", QDateTime(QDate(2023, 2, 2), QTime(23, 0)), QDateTime(QDate(2023, 2, 2), QTime(23, 0)));
    w->Location->setText(t.root());
    w->SizeMin->setValue(1);
    find();
    EXPECT_EQ(column(0), QStringList{"s1024"});

    // Only the time of day 08:00 or later, on any date, of the modification time.
    w->SizeMin->setValue(0);
    w->DateRangeChoice->setItemIndex(1);
    w->AT->click();
    w->AfterTime->setTime(QTime(8, 0));
    find();
    QStringList names = column(0);
    names.sort();
    EXPECT_EQ(names, QStringList({"s1023", "s1024"}));

    // A date alone bounds by whole days.
    w->AT->click();
    w->BD->click();
    w->BeforeDate->setDate(QDate(2022, 6, 1));
    find();
    names = column(0);
    names.sort();
    EXPECT_EQ(names, QStringList({"early", "s1023"}));
    EXPECT_EQ(w->FindFile->CreatedBefore(), 0);
    EXPECT_EQ(w->FindFile->ModifiedBefore(), search::encodeDate(2022, 6, 1));
}

TEST_F(SearchWindow, ContentAndCaseAndHugeSizeFields)
{
    test::TempTree t;
    t.file("a.txt", QByteArray("say Hello"));
    t.file("b.txt", QByteArray("say hello"));
    w->Location->setText(t.root());
    w->Containing->setText(QStringLiteral("HELLO"));
    find();
    EXPECT_EQ(w->resultCount(), 2);
    w->IgnoreCase->click();
    w->Containing->setText(QStringLiteral("Hello"));
    find();
    EXPECT_EQ(column(0), QStringList{"a.txt"});
    // A KB bound far above 2 GB is kept as a 64-bit byte count.
    w->SizeMax->setValue(2147483647);
    find();
    EXPECT_EQ(w->FindFile->SizeMax(), 2147483647LL * 1024);
    EXPECT_EQ(column(0), QStringList{"a.txt"});
}

TEST_F(SearchWindow, SortingByColumnTextFlipsAndResets)
{
    test::TempTree t;
    t.file("b", 9 * 1024);
    t.file("A", 10 * 1024);
    t.file("c", 100);
    w->Location->setText(t.root());
    w->Subfolders->click();
    find();
    w->FoundFilesColumnClick(0);
    EXPECT_EQ(column(0), QStringList({"A", "b", "c"}));
    w->FoundFilesColumnClick(0);
    EXPECT_EQ(column(0), QStringList({"c", "b", "A"}));
    EXPECT_TRUE(w->sortDescending());
    w->FoundFilesColumnClick(2);   // sizes sort as text: 10KB before 1KB before 9KB
    EXPECT_EQ(column(2), QStringList({"10KB", "1KB", "9KB"}));
    EXPECT_FALSE(w->sortDescending());
    w->FoundFiles->header()->sectionClicked(2);
    EXPECT_EQ(column(2), QStringList({"9KB", "1KB", "10KB"}));
    find();   // a new search turns sorting off
    EXPECT_EQ(w->sortColumn(), -1);
    EXPECT_EQ(w->resultCount(), 3);
}

TEST_F(SearchWindow, RowsFillInBatches)
{
    test::TempTree t;
    for (int i = 0; i < 600; ++i)
        t.file(QStringLiteral("f%1.txt").arg(i), 1);
    w->Location->setText(t.root());
    int inserts = 0;
    QObject::connect(w->FoundFiles->model(), &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    for (bool threaded : {true, false}) {
        w->Threaded->setChecked(threaded);
        w->ThreadedClick();
        inserts = 0;
        find();
        EXPECT_EQ(w->resultCount(), 600);
        EXPECT_LT(inserts, 60) << threaded;
    }
}

// --- Stopping and closing ---

void makeWideTree(test::TempTree& t, int folders)
{
    for (int i = 0; i < folders; ++i)
        t.file(QStringLiteral("d%1/f%1.txt").arg(i), 1);
}

TEST_F(SearchWindow, StopKeepsTheRowsAndMarksTheSummary)
{
    test::TempTree t;
    makeWideTree(t, 300);
    w->Location->setText(t.root());
    for (bool threaded : {true, false}) {
        w->Threaded->setChecked(threaded);
        w->ThreadedClick();
        auto newFolder = w->FindFile->OnNewFolder;
        int folders = 0;
        w->FindFile->OnNewFolder = [&, threaded](search::TFindFile* s, const QString& f, bool& ignore) {
            newFolder(s, f, ignore);
            // Threaded: the click comes through the event loop. Inline: the window dispatches messages from
            // its handlers, so a click arrives inside one of them.
            if (++folders == 20) {
                if (threaded)
                    QTimer::singleShot(0, w, [this] { w->Button1->click(); });
                else
                    w->Button1->click();
            }
        };
        find();
        w->FindFile->OnNewFolder = newFolder;
        EXPECT_TRUE(w->statusText().startsWith(QStringLiteral("查找终止。 - "))) << threaded;
        EXPECT_GT(w->resultCount(), 0);
        EXPECT_LT(w->resultCount(), 300);
        EXPECT_TRUE(w->Button2->isEnabled());
        EXPECT_FALSE(w->Button1->isEnabled());
    }
}

TEST_F(SearchWindow, ClosingDuringASearchStopsItAndFreesTheWindowAfterwards)
{
    test::TempTree t;
    makeWideTree(t, 300);
    for (bool threaded : {true, false}) {
        if (!w) {
            w = new Tfindfiles;
            w->setAttribute(Qt::WA_DeleteOnClose);
        }
        w->show();
        w->Location->setText(t.root());
        w->Threaded->setChecked(threaded);
        w->ThreadedClick();
        QPointer<search::TFindFile> finder = w->FindFile;
        auto newFolder = w->FindFile->OnNewFolder;
        int folders = 0;
        w->FindFile->OnNewFolder = [&, newFolder, threaded](search::TFindFile* s, const QString& f, bool& ignore) {
            newFolder(s, f, ignore);
            if (++folders == 5) {
                if (threaded)
                    QTimer::singleShot(0, w, [this] { w->close(); });
                else
                    w->close();
            }
        };
        w->Button2->click();   // inline: returns after the search has unwound
        EXPECT_TRUE(QTest::qWaitFor([&] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return !w;
        }, 20000));
        EXPECT_FALSE(w) << threaded;
        EXPECT_FALSE(finder) << threaded;
        EXPECT_LT(folders, 300) << threaded;
    }
}

// --- Browse and item commands ---

TEST_F(SearchWindow, BrowseStartsAtASingleLocation)
{
    w->Location->setText(QStringLiteral("/a;/b"));
    dialogs.answerFile(QString());
    w->BrowseButton->click();
    EXPECT_EQ(w->Location->text(), QStringLiteral("/a;/b"));   // cancelled
    w->Location->setText(QStringLiteral("/usr/"));
    dialogs.answerFile(QStringLiteral("/srv/"));
    w->BrowseButton->click();
    EXPECT_EQ(w->Location->text(), QStringLiteral("/srv/"));
    EXPECT_EQ(dialogs.starts, QStringList({QString(), "/usr/"}));
    dialogs.clear();
}

TEST_F(SearchWindow, ItemCommandsOpenLocateAndShowInTheMainWindow)
{
    test::TempTree t;
    t.file("doc.txt", 1);
    QFile::copy(QStringLiteral("/bin/true"), t.path("prog"));
    t.setMode("prog", 0755);
    w->Location->setText(t.root());
    QStringList shown;
    w->onShowInMainWindow = [&](const QString& folder) { shown << folder; };

    // Nothing selected: nothing happens.
    for (QAction* a : {w->O1, w->E1, w->OrvoF1})
        a->trigger();
    EXPECT_TRUE(launcher.opened.empty());
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_TRUE(shown.isEmpty());

    find();
    ASSERT_EQ(w->resultCount(), 2);
    auto select = [&](const QString& name) {
        for (int r = 0; r < w->resultCount(); ++r)
            if (w->resultText(r, 0) == name)
                w->FoundFiles->setCurrentIndex(w->FoundFiles->model()->index(r, 0));
    };
    select(QStringLiteral("doc.txt"));
    w->O1->trigger();
    ASSERT_EQ(launcher.opened.size(), 1u);
    EXPECT_EQ(launcher.opened[0], QUrl::fromLocalFile(t.path("doc.txt")));
    w->E1->trigger();
    ASSERT_EQ(launcher.opened.size(), 2u);
    EXPECT_EQ(launcher.opened[1], QUrl::fromLocalFile(t.root()));
    w->OrvoF1->trigger();
    EXPECT_EQ(shown, QStringList{t.root()});

    select(QStringLiteral("prog"));
    w->FoundFilesDblClick();
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].program, t.path("prog"));
    EXPECT_EQ(launcher.started[0].workDir, t.root().chopped(1));
}

} // namespace
