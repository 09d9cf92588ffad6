// orvo-cli: the engines from the command line, one subcommand per engine.
#include "cli/Commands.h"
#include "platform/Services.h"
#include <QCoreApplication>
#include <QLocale>
#include <algorithm>
#include <cstdio>

namespace cli {

std::vector<Command>& registry()
{
    static std::vector<Command> commands;
    return commands;
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
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    plat::installDefaultServices();

    const QStringList args = app.arguments().mid(1);
    for (const cli::Command& c : cli::registry()) {
        if (!args.isEmpty() && c.name == args.first())
            return c.run(args.mid(1));
    }
    usage();
    return 2;
}
