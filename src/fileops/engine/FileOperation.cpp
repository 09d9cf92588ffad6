#include "fileops/engine/FileOperation.h"
#include "fileops/engine/FileOpEngine.h"
#include "fileops/engine/FileOpWorker.h"
#include "platform/Pump.h"
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace fileops {

namespace {

// Hands the worker's questions and messages to the prompter on the GUI thread and waits for the answer.
class HandOffPrompter : public FileOpPrompter {
public:
    HandOffPrompter(FileOpPrompter& inner, QObject* guiContext) : m_inner(inner), m_context(guiContext) {}

    void error(const QString& text, const QString& caption) override
    {
        call([&] { m_inner.error(text, caption); });
    }
    void warning(const QString& text, const QString& caption) override
    {
        call([&] { m_inner.warning(text, caption); });
    }
    void message(const QString& text) override
    {
        call([&] { m_inner.message(text); });
    }
    Answer question(const QString& text, const QString& caption, int flags) override
    {
        Answer a = No;
        call([&] { a = m_inner.question(text, caption, flags); });
        return a;
    }

private:
    void call(const std::function<void()>& f)
    {
        if (QThread::currentThread() == m_context->thread())
            f();
        else
            QMetaObject::invokeMethod(m_context, f, Qt::BlockingQueuedConnection);
    }
    FileOpPrompter& m_inner;
    QObject* m_context;
};

} // namespace

unsigned shellFlags(int op, bool option)
{
    if (op == FO_DELETE)
        return option ? FOF_SILENT : (FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT);
    unsigned flags = FOF_ALLOWUNDO | FOF_MULTIDESTFILES;
    if (option && (op == FO_COPY || op == FO_MOVE))
        flags |= FOF_RENAMEONCOLLISION;
    return flags;
}

bool ShellFileOperation(FileOpPrompter& prompter, int op, bool option, const QStringList& sources,
                        const QStringList& targets)
{
    FileOpRequest r;
    r.op = op;
    r.flags = shellFlags(op, option);
    r.sources = sources;
    r.targets = targets;
    return runFileOperation(r, prompter).success();
}

FileOpResult runFileOperation(const FileOpRequest& request, FileOpPrompter& prompter)
{
    FileOpProgress progress;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread())
        return FileOpEngine(request, prompter, progress).run();

    QObject context;
    HandOffPrompter handOff(prompter, &context);
    FileOpWorker worker(request, handOff, progress);
    QEventLoop loop;
    QObject::connect(&worker, &FileOpWorker::workDone, &loop, &QEventLoop::quit, Qt::QueuedConnection);

    std::unique_ptr<FileOpProgressView> view;
    QTimer showTimer;
    showTimer.setSingleShot(true);
    QTimer updateTimer;
    updateTimer.setInterval(250);
    QObject::connect(&showTimer, &QTimer::timeout, &loop, [&] {
        if (worker.isDone())
            return;
        view = prompter.createProgressView(request.op);
        if (!view)
            return;
        view->update(progress.snapshot(request.op));
        updateTimer.start();
        loop.quit();   // wait again, now with user input for the progress window
    });
    QObject::connect(&updateTimer, &QTimer::timeout, &loop, [&] {
        if (!view)
            return;
        if (view->cancelRequested())
            progress.stop = true;
        view->update(progress.snapshot(request.op));
    });
    if (!(request.flags & FOF_SILENT))
        showTimer.start(500);

    worker.start();
    while (!worker.isDone()) {
        const bool input = view && view->isVisible();
        loop.exec(input ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    plat::waitPumping(&worker, QEventLoop::ExcludeUserInputEvents);   // only the thread's own exit is left
    showTimer.stop();
    updateTimer.stop();
    view.reset();
    return worker.result();
}

} // namespace fileops
