#pragma once
#include "fileops/engine/FileOpJob.h"

namespace fileops {

// FO_DELETE: into the recycle bin (FOF_ALLOWUNDO) or for good after one question; an item that cannot go
// to the recycle bin is deleted for good only on the user's word. Links are removed, never followed.
class DeleteJob : public FileOpJob {
public:
    using FileOpJob::FileOpJob;

private:
    void work() override;
    Done deleteOne(const QString& path, bool permanent);
};

} // namespace fileops
