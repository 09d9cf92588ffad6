#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// File names as the kernel sees them (bytes) and as the program shows them (QString), without loss.
// Valid UTF-8 decodes as usual. Each byte of a sequence that is not valid UTF-8 becomes the lone
// surrogate U+DC00+byte, which encodes back to that same byte, so a name that is not UTF-8 still
// names its own file (and never another's) when it comes back from the program.
namespace plat::posix {

QByteArray encodePath(QStringView path);
QString decodePath(QByteArrayView bytes);
inline QString decodePath(const char* bytes) { return decodePath(QByteArrayView(bytes)); }
inline QString decodePath(const QByteArray& bytes) { return decodePath(QByteArrayView(bytes)); }

// True when `path` holds bytes that are not UTF-8 (kept as escapes by decodePath).
bool hasEscapedBytes(QStringView path);

} // namespace plat::posix
