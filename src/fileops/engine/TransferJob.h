#pragma once
#include "fileops/engine/FileOpJob.h"
#include "fileops/engine/TreeCopier.h"

namespace fileops {

// What copy and move share: each source to its target (a full name, or a name in the one target folder),
// missing target folders created on request, collisions asked about, renamed or merged folder by folder.
// Placing one item in its target folder is the copy's or the move's own step.
class TransferJob : public FileOpJob {
protected:
    TransferJob(const FileOpRequest& request, FileOpPrompter& prompter, FileOpProgress& progress, Verb verb)
        : FileOpJob(request, prompter, progress), m_verb(verb)
    {
    }
    // Puts `src` (lstat record `ss`) into the open target folder `dstDirFd` as `name`.
    virtual StepResult placeItem(const QString& src, const struct stat& ss, int dstDirFd, const QString& name,
                                 Place mode) = 0;
    bool moves() const { return m_verb == Verb::Move; }
    Verb verb() const { return m_verb; }

private:
    void work() override;
    Done transferTop(const QString& src, const QString& dst);
    Done transferItem(const QString& src, const QString& dstDir, const QString& name);
    Done mergeFolder(const QString& src, const QString& dst);
    Done place(const QString& src, const struct stat& ss, const QString& dstDir, const QString& name, Place mode);

    Verb m_verb;
};

} // namespace fileops
