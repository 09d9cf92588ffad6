#include "platform/posix/PathCodec.h"

namespace plat::posix {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;    // U+DC80..U+DCFF carry the bytes 0x80..0xFF

bool isEscape(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

// Length of the valid UTF-8 sequence at s[i], 0 when it is not one (overlong forms, encoded surrogates
// and values above U+10FFFF are not valid).
int validSequence(const unsigned char* s, qsizetype i, qsizetype n, char32_t& cp)
{
    const unsigned char b = s[i];
    int len;
    char32_t min;
    if (b >= 0xC2 && b <= 0xDF) { len = 2; cp = b & 0x1F; min = 0x80; }
    else if (b >= 0xE0 && b <= 0xEF) { len = 3; cp = b & 0x0F; min = 0x800; }
    else if (b >= 0xF0 && b <= 0xF4) { len = 4; cp = b & 0x07; min = 0x10000; }
    else return 0;
    if (i + len > n)
        return 0;
    for (int k = 1; k < len; ++k) {
        const unsigned char c = s[i + k];
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

} // namespace

QString decodePath(QByteArrayView bytes)
{
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n && s[i] < 0x80)
        ++i;
    if (i == n)
        return QString::fromLatin1(bytes.data(), n);
    QString out;
    out.reserve(n);
    out.append(QLatin1StringView(bytes.data(), i));
    while (i < n) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            out.append(QChar(b));
            ++i;
            continue;
        }
        char32_t cp = 0;
        if (const int len = validSequence(s, i, n, cp)) {
            if (cp >= 0x10000) {
                out.append(QChar(QChar::highSurrogate(cp)));
                out.append(QChar(QChar::lowSurrogate(cp)));
            } else {
                out.append(QChar(char16_t(cp)));
            }
            i += len;
        } else {
            out.append(QChar(char16_t(kEscapeBase + b)));
            ++i;
        }
    }
    return out;
}

bool hasEscapedBytes(QStringView path)
{
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < path.size() && QChar::isLowSurrogate(path[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (isEscape(c))
            return true;
    }
    return false;
}

QByteArray encodePath(QStringView path)
{
    if (!hasEscapedBytes(path))
        return path.toUtf8();
    QByteArray out;
    out.reserve(path.size() * 3);
    qsizetype runStart = 0;
    auto flush = [&](qsizetype end) {
        if (end > runStart)
            out.append(path.mid(runStart, end - runStart).toUtf8());
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < path.size() && QChar::isLowSurrogate(path[i + 1].unicode())) {
            ++i;
            continue;
        }
        if (isEscape(c)) {
            flush(i);
            out.append(char(c - kEscapeBase));
            runStart = i + 1;
        }
    }
    flush(path.size());
    return out;
}

} // namespace plat::posix
