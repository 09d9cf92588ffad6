#pragma once
#include <QByteArray>
#include <QString>

namespace plat {

// The text of a file written by the user or another program: a byte-order mark names the encoding (and
// is dropped); else valid UTF-8; else GB18030, the legacy Chinese encoding (UTF-8 with replacement
// characters where the system has no GB18030 codec).
QString decodeText(const QByteArray& bytes);

} // namespace plat
