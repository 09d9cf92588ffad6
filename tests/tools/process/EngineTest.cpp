// The process manager's pure rules: priority texts, the /proc parsers, the row texts, the window filter,
// the style boxes, the style synthesis and the icon lookup.
#include "FakeProcessInfo.h"
#include "platform/IconKeys.h"
#include "platform/X11Windows.h"
#include "platform/posix/Processes.h"
#include "support/CaseNames.h"
#include "support/TempTree.h"
#include "tools/process/engine/ExecutableIcons.h"
#include "tools/process/engine/ProcessRows.h"
#include "tools/process/engine/ProcessSnapshot.h"
#include <sched.h>
#include <gtest/gtest.h>

using namespace proctest;
using process::Visibility;
using process::WindowOptions;

namespace {

// --- Priority ---

struct PriorityCase {
    const char* name;
    qint32 base;
    const char* text;
};

class PriorityText : public ::testing::TestWithParam<PriorityCase> {};

TEST_P(PriorityText, NamesTheDocumentedValuesOnly)
{
    EXPECT_EQ(process::priorityText(GetParam().base), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Values, PriorityText,
                         ::testing::Values(PriorityCase{"idle", 4, "[Idle    ]"}, PriorityCase{"normal", 8, "[Normal  ]"},
                                           PriorityCase{"high", 13, "[High    ]"},
                                           PriorityCase{"realtime", 24, "[RealTime]"},
                                           PriorityCase{"ten", 10, "[Unknown]"}, PriorityCase{"six", 6, "[Unknown]"},
                                           PriorityCase{"zero", 0, "[Unknown]"}),
                         test::NameField());

struct BaseCase {
    const char* name;
    quint32 policy;
    qint32 nice;
    qint32 base;
};

class BasePriority : public ::testing::TestWithParam<BaseCase> {};

TEST_P(BasePriority, FollowsPolicyThenNice)
{
    EXPECT_EQ(plat::posix::basePriority(GetParam().policy, GetParam().nice), GetParam().base);
}

INSTANTIATE_TEST_SUITE_P(Table, BasePriority,
                         ::testing::Values(BaseCase{"nice19", SCHED_OTHER, 19, 4}, BaseCase{"nice10", SCHED_OTHER, 10, 4},
                                           BaseCase{"nice9", SCHED_OTHER, 9, 6}, BaseCase{"nice1", SCHED_OTHER, 1, 6},
                                           BaseCase{"nice0", SCHED_OTHER, 0, 8}, BaseCase{"niceMinus1", SCHED_OTHER, -1, 10},
                                           BaseCase{"niceMinus9", SCHED_OTHER, -9, 10},
                                           BaseCase{"niceMinus10", SCHED_OTHER, -10, 13},
                                           BaseCase{"niceMinus20", SCHED_OTHER, -20, 13},
                                           BaseCase{"fifo", SCHED_FIFO, 0, 24}, BaseCase{"roundRobin", SCHED_RR, 5, 24},
                                           BaseCase{"batch", SCHED_BATCH, 0, 8}, BaseCase{"idlePolicy", SCHED_IDLE, 0, 8}),
                         test::NameField());

// --- /proc parsers ---

TEST(ProcStat, ReadsTheFieldsAfterANameWithBlanksAndParentheses)
{
    const QByteArray line = "4242 (my (odd) prog) S 17 4242 4242 0 -1 4194560 100 0 0 0 5 3 0 0 20 -5 7 0 "
                            "12345 1000000 200 18446744073709551615 1 1 0 0 0 0 0 0 0 0 0 0 17 3 0 2 0 0 0";
    const auto f = plat::posix::parseStat(line);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->comm, QByteArray("my (odd) prog"));
    EXPECT_EQ(f->ppid, 17u);
    EXPECT_EQ(f->nice, -5);
    EXPECT_EQ(f->threads, 7u);
    EXPECT_EQ(f->policy, 2u);
    EXPECT_EQ(plat::posix::basePriority(f->policy, f->nice), 24);
}

TEST(ProcStat, RefusesMalformedLines)
{
    for (const char* line : {"", "12 no parentheses S 1", "12 (short) S 1 2 3", "12 (x) S notanumber 1 1 0 -1 0 0 0 0 0 0 0 0 0 20 0 1"})
        EXPECT_FALSE(plat::posix::parseStat(line)) << line;
}

const QByteArray kMaps =
    "55d0c0a00000-55d0c0a02000 r--p 00000000 08:01 1311 /usr/bin/sleep\n"
    "55d0c0a02000-55d0c0a06000 r-xp 00002000 08:01 1311 /usr/bin/sleep\n"
    "55d0c1a00000-55d0c1a21000 rw-p 00000000 00:00 0 [heap]\n"
    "7f0000000000-7f0000028000 r--p 00000000 08:01 2001 /usr/lib/x86_64-linux-gnu/libc.so.6\n"
    "7f0000028000-7f000019d000 r-xp 00028000 08:01 2001 /usr/lib/x86_64-linux-gnu/libc.so.6\n"
    "7f00001a0000-7f00001a4000 rw-p 00000000 00:00 0 \n"
    "7f00001b0000-7f00001b1000 r--p 00000000 08:01 3003 /tmp/with blank/lib x.so\n"
    "7f00001f5000-7f00001f9000 rw-p 001f4000 08:01 2001 /usr/lib/x86_64-linux-gnu/libc.so.6\n"
    "7ffd00000000-7ffd00021000 rw-p 00000000 00:00 0 [stack]\n";

TEST(ProcMaps, OneRowPerMappedFileInOrderOfFirstAppearance)
{
    QStringList rows;
    for (const plat::ModuleEntry& m : plat::posix::parseMaps(kMaps, 77))
        rows << process::moduleRow(m, -1).cells.join(u'|');
    const QStringList expected = {
        QStringLiteral("sleep|/usr/bin/sleep|%1|%1|%2|0|0|1|77|548").arg(0x55d0c0a00000ull).arg(0x6000),
        QStringLiteral("libc.so.6|/usr/lib/x86_64-linux-gnu/libc.so.6|%1|%1|%2|0|0|1|77|548")
            .arg(0x7f0000000000ull).arg(0x1f9000),
        QStringLiteral("lib x.so|/tmp/with blank/lib x.so|%1|%1|4096|0|0|1|77|548").arg(0x7f00001b0000ull)};
    EXPECT_EQ(rows, expected);
}

TEST(ProcMaps, NothingForAnonymousMappingsOrEmptyText)
{
    EXPECT_TRUE(plat::posix::parseMaps("7f00001a0000-7f00001a4000 rw-p 00000000 00:00 0 \n", 1).isEmpty());
    EXPECT_TRUE(plat::posix::parseMaps("", 1).isEmpty());
}

// --- Rows ---

TEST(ProcessRows, ProcessAndWindowCellsInColumnOrder)
{
    EXPECT_EQ(process::processColumns().size(), 10);
    EXPECT_EQ(process::moduleColumns().size(), 10);
    EXPECT_EQ(process::windowColumns().size(), 11);
    EXPECT_EQ(process::threadColumns().size(), 7);
    EXPECT_EQ(process::processRow(proc(4000000000u, 1, "整理 tool", 13, 12), 3).cells,
              QStringList({"整理 tool", "4000000000", "1", "12", "[High    ]", "0", "0", "0", "0", "0"}));

    plat::WindowEntry owned = window(0x1a00003, "保存", kDialog, 0x1a00001, 321);
    owned.ownerTitle = QStringLiteral("编辑器");
    owned.exStyle = 0x88;
    EXPECT_EQ(process::windowRow(owned, QStringLiteral("/usr/bin/ed"), 0).cells,
              QStringList({"保存", "/usr/bin/ed", "321", "Cls27262979", "0", QString::number(kDialog),
                           "27262979", "136", "11", "27262977", "编辑器"}));
    const plat::WindowEntry top = window(5, "", kNormal);
    const QStringList cells = process::windowRow(top, QString(), 0).cells;
    EXPECT_EQ(cells.value(9), QStringLiteral("0"));
    EXPECT_EQ(cells.value(10), QStringLiteral("Desktop"));
    EXPECT_EQ(cells.value(5), QStringLiteral("282001408"));
}

// --- Window filter ---

struct TaskBarCase {
    const char* name;
    quint32 style;
    bool taskBar;
};

class TaskBarStyle : public ::testing::TestWithParam<TaskBarCase> {};

TEST_P(TaskBarStyle, PopupsNeedMinimizeBoxAndSystemMenuAndMustBeEnabled)
{
    EXPECT_EQ(process::hasTaskBarStyle(GetParam().style), GetParam().taskBar);
}

INSTANTIATE_TEST_SUITE_P(Styles, TaskBarStyle,
                         ::testing::Values(TaskBarCase{"plain", 0, true}, TaskBarCase{"overlapped", 0x00CF0000u, true},
                                           TaskBarCase{"popup", 0x80000000u, false},
                                           TaskBarCase{"popupWithBoxAndMenu", 0x800A0000u, true},
                                           TaskBarCase{"popupDisabled", 0x880A0000u, false},
                                           TaskBarCase{"popupWithoutMenu", 0x80020000u, false},
                                           TaskBarCase{"popupWithoutBox", 0x80080000u, false}),
                         test::NameField());

QList<plat::WindowEntry> sampleWindows()
{
    return {window(1, "Editor", kNormal),          window(2, "", kNormal),
            window(3, "Hidden", kHiddenNormal),    window(4, "Tooltip", kPopup),
            window(5, "Save as", kDialog, 1),      window(6, "", kHiddenNormal),
            window(7, "Player", qint32(0x900A0000u))};
}

QList<quint32> handles(const QList<plat::WindowEntry>& list)
{
    QList<quint32> out;
    for (const auto& w : list)
        out << w.handle;
    return out;
}

struct FilterCase {
    const char* name;
    WindowOptions options;
    QList<quint32> shown;
};

class WindowFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(WindowFilter, AdmitsWhatTheOptionsSay)
{
    EXPECT_EQ(handles(process::collectWindows(sampleWindows(), GetParam().options)), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Options, WindowFilter,
    ::testing::Values(FilterCase{"startState", {}, {1, 7}},
                      FilterCase{"withEmpty", {Visibility::VisibleOnly, true, true}, {1, 2, 7}},
                      FilterCase{"allVisibleStates", {Visibility::All, false, true}, {1, 3, 7}},
                      FilterCase{"invisibleOnly", {Visibility::InvisibleOnly, true, true}, {3, 6}},
                      FilterCase{"noTaskBarFilter", {Visibility::VisibleOnly, false, false}, {1, 4, 5, 7}},
                      FilterCase{"everything", {Visibility::All, true, false}, {1, 2, 3, 4, 5, 6, 7}}),
    test::NameField());

TEST(WindowFilter, CollectsAtMost256AdmittedWindows)
{
    QList<plat::WindowEntry> all;
    for (quint32 i = 1; i <= 100; ++i)
        all << window(i, "", kHiddenNormal);   // left out by the start options
    for (quint32 i = 101; i <= 400; ++i)
        all << window(i, "shown", kNormal);
    const QList<plat::WindowEntry> got = process::collectWindows(all, {});
    ASSERT_EQ(got.size(), 256);
    EXPECT_EQ(got.first().handle, 101u);
    EXPECT_EQ(got.last().handle, 356u);
    EXPECT_EQ(process::collectWindows(all, {Visibility::All, true, false}).size(), 256);
}

// --- Style boxes ---

QStringList ticked(quint32 style)
{
    QStringList out;
    const auto boxes = process::styleBoxes(style);
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i])
            out << QString::fromLatin1(process::styleBoxNames()[i]);
    return out;
}

TEST(StyleBoxes, TickTheBitsOfTheStyle)
{
    EXPECT_EQ(process::styleBoxNames().size(), 22u);
    EXPECT_EQ(ticked(0), QStringList());
    EXPECT_EQ(ticked(0x10CF0000u),
              QStringList({"WS_OVERLAPPED", "WS_VISIBLE", "WS_CAPTION", "WS_BORDER", "WS_DLGFRAME", "WS_SYSMENU",
                           "WS_THICKFRAME", "WS_GROUP", "WS_MINIMIZEBOX", "WS_TABSTOP", "WS_MAXIMIZEBOX",
                           "WS_TILEDWINDOW"}));
    EXPECT_EQ(ticked(0x80880000u), QStringList({"WS_OVERLAPPED", "WS_POPUP", "WS_BORDER", "WS_SYSMENU", "WS_POPUPWINDOW"}));
    EXPECT_EQ(ticked(0x00400000u), QStringList({"WS_OVERLAPPED", "WS_DLGFRAME"}));   // no caption without the border
    EXPECT_EQ(ticked(0x7F300000u), QStringList({"WS_OVERLAPPED", "WS_CHILD", "WS_MINIMIZE", "WS_VISIBLE", "WS_DISABLED",
                                                "WS_CLIPSIBLINGS", "WS_CLIPCHILDREN", "WS_MAXIMIZE", "WS_VSCROLL",
                                                "WS_HSCROLL"}));
}

// --- Style synthesis ---

struct SynthesisCase {
    const char* name;
    plat::WindowTraits traits;
    quint32 style;
    quint32 exStyle;
};

class StyleSynthesis : public ::testing::TestWithParam<SynthesisCase> {};

TEST_P(StyleSynthesis, MapsTheTraitsToTheBits)
{
    const plat::SynthesisedStyle s = plat::synthesiseStyle(GetParam().traits);
    EXPECT_EQ(quint32(s.style), GetParam().style);
    EXPECT_EQ(quint32(s.exStyle), GetParam().exStyle);
}

plat::WindowTraits traits(std::function<void(plat::WindowTraits&)> set)
{
    plat::WindowTraits t;
    set(t);
    return t;
}

INSTANTIATE_TEST_SUITE_P(
    Traits, StyleSynthesis,
    ::testing::Values(
        SynthesisCase{"unmappedNormal", {}, 0x00CF0000u, 0},
        SynthesisCase{"mappedNormal", traits([](auto& t) { t.viewable = true; }), 0x10CF0000u, 0},
        SynthesisCase{"overrideRedirect", traits([](auto& t) { t.viewable = t.overrideRedirect = true; }), 0x90000000u, 0},
        SynthesisCase{"dialog", traits([](auto& t) { t.type = plat::WindowTraits::Dialog; }), 0x80C80000u, 0},
        SynthesisCase{"dock", traits([](auto& t) { t.type = plat::WindowTraits::Other; }), 0x80000000u, 0},
        SynthesisCase{"utility", traits([](auto& t) { t.type = plat::WindowTraits::Other; t.utility = true; }),
                      0x80000000u, 0x80},
        SynthesisCase{"hidden", traits([](auto& t) { t.hidden = true; }), 0x20CF0000u, 0},
        SynthesisCase{"iconic", traits([](auto& t) { t.iconic = true; }), 0x20CF0000u, 0},
        SynthesisCase{"maximizedOneWay", traits([](auto& t) { t.maximizedHorz = true; }), 0x00CF0000u, 0},
        SynthesisCase{"maximized", traits([](auto& t) { t.maximizedHorz = t.maximizedVert = true; }), 0x01CF0000u, 0},
        SynthesisCase{"skipTaskbarAbove", traits([](auto& t) { t.skipTaskbar = t.above = true; }), 0x00CF0000u, 0x88}),
    test::NameField());

// --- Icons ---

TEST(ExecutableIcons, MatchEntriesByProgramAndClassElseTheDefault)
{
    test::TempTree t;
    t.file(QStringLiteral("apps/viewer.desktop"),
           QByteArray("[Desktop Entry]\nName=Viewer\nExec=env LANG=C \"/opt/view/bin/pictureview\" %f\n"
                      "Icon=image-viewer\nStartupWMClass=PicView\n[Desktop Action New]\nIcon=other\n"));
    t.file(QStringLiteral("apps/sub/term.desktop"), QByteArray("[Desktop Entry]\nTryExec=xterm\nExec=xterm -e sh\nIcon=utilities-terminal\n"));
    t.file(QStringLiteral("apps/pathicon.desktop"), QByteArray("[Desktop Entry]\nExec=pathicon\nIcon=/opt/x.png\n"));
    process::ExecutableIcons icons({t.path(QStringLiteral("apps"))});
    EXPECT_EQ(icons.iconKey(QStringLiteral("/usr/lib/view/pictureview")), QStringLiteral("image-viewer"));
    EXPECT_EQ(icons.iconKey(QStringLiteral("viewer")), QStringLiteral("image-viewer"));   // the entry's own name
    EXPECT_EQ(icons.iconKey(QStringLiteral("xterm")), QStringLiteral("utilities-terminal"));
    EXPECT_EQ(icons.iconKey(QStringLiteral("pathicon")), QString());
    EXPECT_EQ(icons.iconKey(QStringLiteral("env")), QString());
    EXPECT_EQ(icons.classIconKey(QStringLiteral("picview")), QStringLiteral("image-viewer"));
    EXPECT_EQ(plat::iconKeyAt(icons.iconIndex(QStringLiteral("unknown-program"))), QStringLiteral("application-x-executable"));
    EXPECT_EQ(plat::iconKeyAt(icons.windowIconIndex(QStringLiteral("Nothing"), QStringLiteral("/usr/bin/xterm"))),
              QStringLiteral("utilities-terminal"));
}

// --- Rows from an information source ---

TEST(ProcessSnapshot, RowsFromTheSourceWithOwnersExecutables)
{
    FakeProcessInfo info;
    info.procs = {proc(1, 0, "init"), proc(20, 1, "bash", 4)};
    info.mods[20] = {plat::ModuleEntry{QStringLiteral("libc.so.6"), QStringLiteral("/lib/libc.so.6"), 4096, 8192, 20}};
    info.exes[321] = QStringLiteral("/usr/bin/ed");
    info.wins = {window(9, "Ed", kNormal, 0, 321), window(10, "Nobody's", kNormal)};
    const QVector<process::ListRow> procs = process::processRows(info);
    ASSERT_EQ(procs.size(), 2);
    EXPECT_EQ(procs[1].cells.value(4), QStringLiteral("[Idle    ]"));
    EXPECT_GE(procs[1].icon, 0);
    const QVector<process::ListRow> mods = process::moduleRows(info, 20);
    ASSERT_EQ(mods.size(), 1);
    EXPECT_EQ(mods[0].cells.value(4), QStringLiteral("8192"));
    EXPECT_TRUE(process::moduleRows(info, 99).isEmpty());
    const QVector<process::ListRow> wins = process::windowRows(info, {});
    ASSERT_EQ(wins.size(), 2);
    EXPECT_EQ(wins[0].cells.value(1), QStringLiteral("/usr/bin/ed"));
    EXPECT_EQ(wins[1].cells.value(1), QString());
}

} // namespace
