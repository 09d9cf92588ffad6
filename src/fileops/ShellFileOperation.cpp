#include "fileops/ShellFileOperation.h"
#include "fileops/DialogsPrompter.h"
#include "fileops/engine/FileOperation.h"

namespace fileops {

bool ShellFileOperation(QWidget* owner, int op, bool option, const QStringList& sources, const QStringList& targets)
{
    if (!owner) {
        SilentPrompter silent;
        return ShellFileOperation(silent, op, option, sources, targets);
    }
    DialogsPrompter prompter(owner);
    return ShellFileOperation(prompter, op, option, sources, targets);
}

} // namespace fileops
