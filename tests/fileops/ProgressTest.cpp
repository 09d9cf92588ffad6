// The progress window of a long operation and its Cancel; the questions of the worker on the GUI thread.
#include "FileOpsHelpers.h"
#include "fileops/FileOpProgressDialog.h"
#include "fileops/ShellFileOperation.h"
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QThread>

using namespace fotest;

namespace {

QProgressDialog* visibleProgress()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible())
            return p;
    return nullptr;
}

TEST(Progress, AppearsOnTheOwnerAndCancelLeavesNoPartialCopy)
{
    test::TempTree t;
    t.file("src/big", 20 << 20, 'p');   // more than one copy step
    t.dir("dst");
    QWidget owner;
    owner.show();
    HookGuard guard;
    bool sawDialog = false;
    bool guiThreadFree = false;
    Qt::WindowModality modality = Qt::NonModal;
    QString title;
    fileops::FileOpHooks::copyFault = [&](const QString&, qint64) {
        if (sawDialog)
            return 0;
        // On the worker: wait for the window, then press its Cancel on the GUI thread.
        QElapsedTimer clock;
        clock.start();
        while (!sawDialog && clock.elapsed() < 5000) {
            QMetaObject::invokeMethod(qApp, [&] {
                guiThreadFree = true;
                if (QProgressDialog* p = visibleProgress()) {
                    sawDialog = true;
                    modality = p->windowModality();
                    title = p->windowTitle();
                    p->cancel();
                }
            }, Qt::BlockingQueuedConnection);
            QThread::msleep(20);
        }
        QThread::msleep(400);   // the window's state is read four times a second
        return 0;
    };
    test::ScriptedDialogs dialogs;
    fileops::DialogsPrompter ui(&owner);
    const auto r = run(fileops::FO_COPY, kCopyFlags, {t.path("src/big")}, {t.path("dst/big")}, ui);
    EXPECT_TRUE(guiThreadFree);
    EXPECT_TRUE(sawDialog);
    EXPECT_EQ(modality, Qt::WindowModal);
    EXPECT_EQ(title, QStringLiteral("正在复制"));
    EXPECT_TRUE(r.userCancelled);
    EXPECT_FALSE(r.success());
    EXPECT_FALSE(exists(t.path("dst/big")));
    EXPECT_TRUE(tempsBelow(t.path("dst")).isEmpty());
    EXPECT_EQ(visibleProgress(), nullptr);
    EXPECT_TRUE(dialogs.calls().empty());
}

TEST(Progress, SilentOperationsAndQuickOnesShowNoWindow)
{
    test::TempTree t;
    t.file("a", QByteArray("a"));
    t.dir("dst");
    QWidget owner;
    HookGuard guard;
    bool seen = false;
    fileops::FileOpHooks::copyFault = [&](const QString&, qint64) {
        QThread::msleep(700);
        QMetaObject::invokeMethod(qApp, [&] { seen = visibleProgress() != nullptr; }, Qt::BlockingQueuedConnection);
        return 0;
    };
    fileops::DialogsPrompter ui(&owner);
    EXPECT_TRUE(run(fileops::FO_COPY, kCopyFlags | fileops::FOF_SILENT, {t.path("a")}, {t.path("dst/a")}, ui).success());
    EXPECT_FALSE(seen);
}

TEST(Progress, LabelNamesTheItemAndTheCounts)
{
    fileops::ProgressSnapshot s;
    s.op = fileops::FO_MOVE;
    s.current = "x.txt";
    s.itemsDone = 1;
    s.itemsTotal = 3;
    EXPECT_EQ(fileops::FileOpProgressDialog::labelFor(s), QStringLiteral("正在移动“x.txt”\n已完成 1 / 3 项"));
}

TEST(Progress, WithoutAnOwnerNothingIsShownAndQuestionsAnswerNo)
{
    test::TempTree t;
    t.file("src/a", QByteArray("new"));
    t.file("dst/a", QByteArray("old"));
    test::ScriptedDialogs dialogs;   // any box would fail the test
    EXPECT_FALSE(fileops::ShellFileOperation(nullptr, fileops::FO_COPY, false, {t.path("src/a")}, {t.path("dst/a")}));
    EXPECT_EQ(readAll(t.path("dst/a")), QByteArray("old"));
    EXPECT_TRUE(dialogs.calls().empty());
}

} // namespace
