#pragma once
#include <QStringList>

// Subcommands of orvo-cli; each takes the arguments after its name and returns the exit code.
namespace cli {

int runList(const QStringList& args);

} // namespace cli
