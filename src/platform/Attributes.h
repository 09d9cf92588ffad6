#pragma once
#include "platform/posix/Fd.h"
#include <QSet>
#include <QString>
#include <sys/types.h>

namespace plat {

// The folder's ".hidden" list (one name per line); read once per listing.
QSet<QString> readHiddenList(const QString& dir);

// Attribute bits (kAttr*) of an entry from its mode (links already followed), its name and whether
// the folder's ".hidden" lists it. Read-only: owner write bit clear; hidden: dot-name or listed;
// system: device, FIFO or socket; directory; archive: regular file (never folders).
quint32 attributes(mode_t mode, const QString& name, bool listedHidden);
// The same for one path (stat, following links; a dangling link uses its own data). 0 when missing.
quint32 attributes(const QString& path);

// Attribute letters in the fixed order A, R, H, S; empty when none is set.
QString attributeLetters(quint32 attributes);

// Writes the settable bits of `wanted` that differ from the entry's current attributes: read-only (the
// owner write bit, nothing else) and hidden (the name in the folder's ".hidden" list; never a rename).
// Archive, system and directory are not settable and ignored. Returns 0 or an errno value: EPERM when a
// dot-name would be un-hidden, EINVAL for a name a ".hidden" list cannot hold.
int setAttributes(const QString& path, quint32 wanted);

// Opens a regular file to change it, never truncating it (no O_TRUNC). Refused with EACCES when its
// read-only attribute is set, also for root; EISDIR for a folder, EINVAL for anything that is not a
// regular file (a FIFO or a device is never opened). On failure an invalid Fd and `error` gets the errno.
posix::Fd openForWrite(const QString& path, int* error = nullptr);

} // namespace plat
