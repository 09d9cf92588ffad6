#pragma once
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

} // namespace plat
