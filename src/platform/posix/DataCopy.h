#pragma once
#include <QtGlobal>
#include <functional>
#include <sys/stat.h>
#include <sys/types.h>

// The one data-copy loop: copy_file_range in large chunks, sendfile or pread/pwrite where the kernel
// refuses that, the holes of a sparse source kept where the target region is new. Injected write
// failures (faults::Op::Write on the target) are honoured before every chunk.
namespace plat::posix {

// Called after each copied chunk with the bytes just copied and the input offset reached; returns 0 to
// go on or an errno value (ECANCELED for a stop) to end the copy with.
using ChunkHook = std::function<int(qint64 copied, qint64 offset)>;

struct CopySpan {
    qint64 inOffset = 0;
    qint64 outOffset = 0;
    qint64 length = -1;        // -1: up to the end of the input
    // The target region is new (at or past the target's end; it ends the target): holes of the source
    // are skipped and the target is cut or extended to end exactly where the copy ends. Needs a length.
    bool keepHoles = false;
};

struct CopyOutcome {
    qint64 copied = 0;         // input bytes covered, holes included; short of the length only at the input's end
    int error = 0;             // 0, or the errno value the copy ended with
    bool writeSide = false;    // the error came from writing the target (else from reading or the hook)
};

// Copies `span` of `in` to `out` at their own offsets; the descriptors' file positions are not used.
CopyOutcome copyRange(int in, int out, const CopySpan& span, const ChunkHook& hook = {});

// Copies `size` bytes of `in` to the new file `out` at the same offsets, holes kept. Returns 0 or an errno value.
int copyData(int in, int out, qint64 size, const ChunkHook& hook);

// Permission bits for a copy of `source` made by this process: set-user-ID and set-group-ID only while the
// copy keeps the owner and group they refer to, so a copy made by another user (root above all) never gains them.
mode_t copyModeFor(const struct stat& source);

// fchmod: 0 or an errno value.
int setMode(int fd, mode_t mode);
// fchmod to `mode`, then the access and modification times of `times`. 0 or an errno value.
int setModeAndTimes(int fd, mode_t mode, const struct stat& times);

} // namespace plat::posix
