// orvo-cli: the engines from the command line, one subcommand per engine.
#include "cli/Commands.h"
#include "platform/Services.h"
#include "platform/posix/EndSignals.h"
#include "platform/posix/PathCodec.h"
#include "platform/posix/SysError.h"
#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <thread>
#include <cstdio>

namespace cli {

std::vector<Command>& registry()
{
    static std::vector<Command> commands;
    return commands;
}

namespace {

int outputError = 0;   // errno value of the first failed write to standard output

std::mutex signalMutex;
std::function<void()> onSignal;     // set while a command winds down on a signal of its own
std::atomic<int> caughtSignal{0};

// The signals are blocked in every thread and taken here, outside any handler, so that a command can
// clean up with ordinary code.
void waitForSignals()
{
    for (;;) {
        const int sig = plat::posix::waitForEndSignal();
        std::function<void()> stop;
        {
            std::lock_guard lock(signalMutex);
            stop = onSignal;
        }
        if (!stop || caughtSignal.load())
            plat::posix::endBySignal(sig);   // nothing to wind down, or asked a second time
        caughtSignal = sig;
        stop();
    }
}

} // namespace

void stopOnSignal(std::function<void()> stop)
{
    std::lock_guard lock(signalMutex);
    onSignal = std::move(stop);
}

bool signalled()
{
    return caughtSignal.load() != 0;
}

void writeOut(const char* data, size_t size)
{
    if (size && std::fwrite(data, 1, size, stdout) != size && !outputError)
        outputError = errno ? errno : EIO;
}

bool flushOut()
{
    errno = 0;
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && !outputError)
        outputError = errno ? errno : EIO;
    return !outputError;
}

int finishOutput(int code)
{
    if (flushOut())
        return code;
    const QString text = QStringLiteral("orvo-cli: write error: ") + plat::posix::errnoText(outputError) + u'\n';
    std::fputs(text.toLocal8Bit().constData(), stderr);
    return 1;
}

int usageError(const QString& name)
{
    for (const Command& c : registry()) {
        if (c.name == name) {
            const QString text = QStringLiteral("usage: orvo-cli ") + c.usage + QLatin1Char('\n');
            std::fputs(text.toLocal8Bit().constData(), stderr);
        }
    }
    return 2;
}

} // namespace cli

namespace {

void usage()
{
    std::vector<cli::Command> commands = cli::registry();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    QString text = QStringLiteral("usage: orvo-cli <command> [options]\ncommands:\n");
    for (const cli::Command& c : commands)
        text += QStringLiteral("  ") + QString(c.usage).replace(QLatin1Char('\n'), QStringLiteral("\n  ")) +
                QLatin1Char('\n');
    std::fputs(text.toLocal8Bit().constData(), stderr);
}

} // namespace

int main(int argc, char** argv)
{
    // Before any other thread exists, so that every thread inherits the blocked signals.
    plat::posix::blockEndSignals();
    std::thread(cli::waitForSignals).detach();

    // The arguments as the kernel passed them: names that are not UTF-8 keep their bytes, where
    // QCoreApplication::arguments() would turn them into U+FFFD and so name another file.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << plat::posix::decodePath(argv[i]);
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    plat::installDefaultServices();

    for (const cli::Command& c : cli::registry()) {
        if (!args.isEmpty() && c.name == args.first())
        {
            const int code = cli::finishOutput(c.run(args.mid(1)));
            if (const int sig = cli::caughtSignal.load())
                plat::posix::endBySignal(sig);
            return code;
        }
    }
    usage();
    return 2;
}
