#pragma once
#include "fileops/engine/TransferJob.h"

namespace fileops {

// FO_COPY: every item copied by the tree copier.
class CopyJob : public TransferJob {
public:
    CopyJob(const FileOpRequest& request, FileOpPrompter& prompter, FileOpProgress& progress)
        : TransferJob(request, prompter, progress, Verb::Copy)
    {
    }

private:
    StepResult placeItem(const QString& src, const struct stat& ss, int dstDirFd, const QString& name,
                         Place mode) override
    {
        return TreeCopier(Verb::Copy, m_progress).copyEntry(src, ss, dstDirFd, name, mode);
    }
};

} // namespace fileops
