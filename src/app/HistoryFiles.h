#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The list files in the private folder ("orvopath.txt", "orvomask.txt"): one entry per line, CR LF line ends.
namespace app {

inline const QString kPathListFile = QStringLiteral("orvopath.txt");
inline const QString kMaskListFile = QStringLiteral("orvomask.txt");

// Lines split at CR LF, LF or CR; a line end at the very end adds no empty entry.
QStringList splitLines(const QString& text);

bool listFileExists(const QString& name);
// The entries, or nullopt when the file is missing or cannot be read. Links are not followed.
std::optional<QStringList> readListFile(const QString& name);
// Replaces the file: UTF-8 without BOM, every line ended by CR LF. Links are not followed.
bool writeListFile(const QString& name, const QStringList& lines);
// A missing file counts as removed.
bool removeListFile(const QString& name);

} // namespace app
