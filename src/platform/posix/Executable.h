#pragma once
#include <QString>

// The one rule for "may this be run": a regular file (links followed) that the current user may execute,
// as access(X_OK) answers it (so the owner, group and other bits count as they apply to the user, and
// root needs at least one execute bit).
namespace plat::posix {

bool isExecutable(const QString& path);
// An executable file that starts with the ELF magic: a program that starts directly rather than being
// opened by the user's handler.
bool isElfProgram(const QString& path);

} // namespace plat::posix
