#pragma once
#include "fileops/engine/FileOpPrompter.h"
#include "fileops/engine/FileOpTypes.h"

namespace fileops {

// Runs one file operation as a single synchronous call. On the GUI thread the I/O runs on a worker
// thread while this call waits in a local event loop: questions and errors are handed back to the
// prompter on this thread, the prompter's progress window appears after 500 ms (unless FOF_SILENT) and is
// updated at most 4 times a second, and user input is held back until it is visible. Elsewhere (no
// application object, or called from a worker) the operation runs on the calling thread.
FileOpResult runFileOperation(const FileOpRequest& request, FileOpPrompter& prompter);

// The single call of the paste, delete and send-to commands: one operation on one source (or, for delete,
// a list of sources). `option` asks for rename on collision (copy, move) or a permanent delete (delete).
// True only when everything was done: no error, nothing skipped or cancelled.
bool ShellFileOperation(FileOpPrompter& prompter, int op, bool option, const QStringList& sources,
                        const QStringList& targets = {});

// The flags ShellFileOperation passes for an operation and option.
unsigned shellFlags(int op, bool option);

} // namespace fileops
