#pragma once
#include "fileops/engine/TransferJob.h"

namespace fileops {

// FO_MOVE: a rename within one file system. Across file systems the item is copied whole first; then the
// source goes entry by entry, and only what was copied and has not changed since.
class MoveJob : public TransferJob {
public:
    MoveJob(const FileOpRequest& request, FileOpPrompter& prompter, FileOpProgress& progress)
        : TransferJob(request, prompter, progress, Verb::Move)
    {
    }

private:
    StepResult placeItem(const QString& src, const struct stat& ss, int dstDirFd, const QString& name,
                         Place mode) override;
};

} // namespace fileops
