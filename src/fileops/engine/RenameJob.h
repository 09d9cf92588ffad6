#pragma once
#include "fileops/engine/FileOpJob.h"

namespace fileops {

// FO_RENAME: each source gets the name of its target in the same folder, never replacing another entry.
class RenameJob : public FileOpJob {
public:
    using FileOpJob::FileOpJob;

private:
    void work() override;
};

} // namespace fileops
