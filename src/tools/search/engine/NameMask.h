#pragma once
#include <QByteArray>
#include <QString>

namespace search {

// The platform's mask match (plat::platformMaskMatch) on raw file-name bytes. When the mask and the name
// are both ASCII it matches the bytes directly, so names the mask rejects are never decoded.
class NameMask {
public:
    explicit NameMask(const QString& mask);
    // `decoded` receives the decoded name when matching needed it; it is left empty otherwise.
    bool matches(const char* name, size_t length, QString& decoded) const;

private:
    QString m_mask;
    QByteArray m_lower;     // the mask in ASCII lower case, when it is ASCII
    bool m_ascii = false;
    bool m_all = false;     // "*" and "*.*" match every name
};

} // namespace search
