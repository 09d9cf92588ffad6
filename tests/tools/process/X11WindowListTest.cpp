// The window list of a real X11 display (run under Xvfb): our own windows with their titles, classes,
// process ids and synthesised styles, the cap of 256 and switching to a window.
#include "platform/ProcessInfo.h"
#include "platform/X11Windows.h"
#include "tools/process/engine/ProcessRows.h"
#include "tools/process/engine/ProcessSnapshot.h"
#include <QGuiApplication>
#include <QTest>
#include <QWidget>
#include <cstdlib>
#include <unistd.h>
#include <xcb/xcb.h>
#include <gtest/gtest.h>

namespace {

class X11WindowList : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs the xcb platform";
        conn = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        ASSERT_NE(conn, nullptr);
        root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
    }
    xcb_window_t bareWindow()
    {
        const xcb_window_t id = xcb_generate_id(conn);
        xcb_create_window(conn, XCB_COPY_FROM_PARENT, id, root, 0, 0, 10, 10, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        return id;
    }
    static const plat::WindowEntry* find(const QList<plat::WindowEntry>& list, quint32 handle)
    {
        for (const plat::WindowEntry& w : list)
            if (w.handle == handle)
                return &w;
        return nullptr;
    }
    xcb_connection_t* conn = nullptr;
    xcb_window_t root = 0;
};

TEST_F(X11WindowList, OurWindowsWithTitleClassPidAndStyle)
{
    QWidget shown;
    shown.setWindowTitle(QStringLiteral("进程列表窗口"));
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    QWidget hidden;
    hidden.setWindowTitle(QStringLiteral("Hidden one"));
    hidden.winId();   // created, never mapped
    QWidget dialog(&shown, Qt::Dialog);
    dialog.setWindowTitle(QStringLiteral("Owned"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    plat::X11Windows x(conn);
    const QList<plat::WindowEntry> all = x.topLevelWindows();
    const plat::WindowEntry* s = find(all, quint32(shown.winId()));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->title, QStringLiteral("进程列表窗口"));
    EXPECT_FALSE(s->className.isEmpty());
    EXPECT_EQ(s->pid, quint32(::getpid()));
    EXPECT_EQ(s->owner, 0u);
    EXPECT_EQ(quint32(s->style), 0x10CF0000u);
    const plat::WindowEntry* h = find(all, quint32(hidden.winId()));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(quint32(h->style) & process::kWsVisible, 0u);
    const plat::WindowEntry* d = find(all, quint32(dialog.winId()));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->owner, quint32(shown.winId()));
    EXPECT_EQ(d->ownerTitle, QStringLiteral("进程列表窗口"));

    // The start options of the window list show the main window only, with our executable as its path.
    plat::LinuxProcessInfo info(&x);
    const QVector<process::ListRow> rows = process::windowRows(info, {});
    const auto row = std::find_if(rows.begin(), rows.end(),
                                  [&](const auto& r) { return r.cells.value(6) == QString::number(shown.winId()); });
    ASSERT_NE(row, rows.end());
    EXPECT_EQ(row->cells.value(1), QCoreApplication::applicationFilePath());
    for (const auto& r : rows)
        EXPECT_NE(r.cells.value(0), QStringLiteral("Owned"));
}

TEST_F(X11WindowList, AtMost256WindowsAreCollected)
{
    std::vector<xcb_window_t> made;
    for (int i = 0; i < 300; ++i)
        made.push_back(bareWindow());
    xcb_flush(conn);
    plat::X11Windows x(conn);
    const QList<plat::WindowEntry> all = x.topLevelWindows();
    EXPECT_GE(all.size(), 300);
    EXPECT_EQ(process::collectWindows(all, {process::Visibility::All, true, false}).size(), 256);
    for (xcb_window_t w : made)
        xcb_destroy_window(conn, w);
    xcb_flush(conn);
}

TEST_F(X11WindowList, SwitchingToAnUnmappedWindowMapsIt)
{
    const xcb_window_t w = bareWindow();
    xcb_flush(conn);
    plat::X11Windows x(conn);
    x.activate(w);
    xcb_get_window_attributes_reply_t* a = xcb_get_window_attributes_reply(conn, xcb_get_window_attributes(conn, w), nullptr);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->map_state, XCB_MAP_STATE_VIEWABLE);
    std::free(a);
    xcb_destroy_window(conn, w);
    xcb_flush(conn);
}

TEST_F(X11WindowList, AConnectionOfItsOwnSeesTheSameWindows)
{
    QWidget shown;
    shown.setWindowTitle(QStringLiteral("Seen from outside"));
    shown.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&shown));
    const std::unique_ptr<plat::X11Windows> own = plat::X11Windows::openDisplay();
    ASSERT_TRUE(own);
    const QList<plat::WindowEntry> all = own->topLevelWindows();
    const plat::WindowEntry* s = find(all, quint32(shown.winId()));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->title, QStringLiteral("Seen from outside"));
}

} // namespace
