#pragma once
#include <QString>

// Path helpers: folders carry a trailing '/', the root is "/", identity is case-sensitive.
namespace plat::path {

inline constexpr QChar kSep = u'/';

QString withTrailingSep(const QString& p);
QString withoutTrailingSep(const QString& p);   // "/" stays "/"
QString folderPart(const QString& p);           // up to and including the last '/'
QString namePart(const QString& p);             // after the last '/'
QString extOf(const QString& name);             // from the last '.' of the name part, dot included; "" when none
bool isRoot(const QString& p);
bool samePath(const QString& a, const QString& b);  // case-sensitive, ignores one trailing '/'
bool isUnder(const QString& child, const QString& parent); // child strictly below parent
// Absolute, cleaned folder path with a trailing '/'; relative paths resolve against the current directory.
QString normalizeFolder(const QString& p);
bool isDirectory(const QString& p);             // follows links
QByteArray encode(const QString& p);            // file-name bytes for system calls
QString decode(const char* bytes);

} // namespace plat::path
