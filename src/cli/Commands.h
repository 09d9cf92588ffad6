#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Subcommands of orvo-cli. Each command file registers itself with a static `Registration`:
//   static const cli::Registration reg{"md5", "md5 [--mode auto|mapped|stream] FILE...", runMd5};
// A command takes the arguments after its name and returns the exit code.
namespace cli {

struct Command {
    QString name;
    QString usage;      // one or more lines, without the program name
    std::function<int(const QStringList&)> run;
};

std::vector<Command>& registry();

struct Registration {
    Registration(const char* name, const char* usage, std::function<int(const QStringList&)> run)
    {
        registry().push_back({QString::fromUtf8(name), QString::fromUtf8(usage), std::move(run)});
    }
};

// Prints "usage: orvo-cli " + the command's usage to stderr; returns 2 for the caller to return.
int usageError(const QString& name);

// Standard output of every command: writes and flushes that remember the first failure, so that a
// full disk or a closed pipe is not taken for success.
void writeOut(const char* data, size_t size);
bool flushOut();   // false once any write to standard output failed
// Ctrl-C, SIGTERM and SIGHUP end the program at once, unless the running command takes them over with
// stopOnSignal: then `stop` runs when one arrives, the command winds down (signalled() turns true) and the
// program ends by that signal once the command returns.
void stopOnSignal(std::function<void()> stop);
bool signalled();

// The command's exit code, or 1 with "orvo-cli: write error: <reason>" on stderr when standard output failed.
int finishOutput(int code);

} // namespace cli
