// orvo-cli: the engines from the command line, one subcommand per engine.
#include "cli/Commands.h"
#include "platform/Services.h"
#include <QCoreApplication>
#include <QLocale>
#include <cstdio>
#include <functional>
#include <map>

namespace {

void usage()
{
    std::fputs("usage: orvo-cli <command> [options]\n"
               "commands:\n"
               "  list [--mask M] [--no-folders] [--no-parent] [--hide-ext] [--show-hidden] [--show-system]\n"
               "       [--click COL]... DIR|DRIVES\n",
               stderr);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    plat::installDefaultServices();

    const std::map<QString, std::function<int(const QStringList&)>> commands = {
        {QStringLiteral("list"), cli::runList},
    };
    const QStringList args = app.arguments().mid(1);
    const auto it = args.isEmpty() ? commands.end() : commands.find(args.first());
    if (it == commands.end()) {
        usage();
        return 2;
    }
    return it->second(args.mid(1));
}
