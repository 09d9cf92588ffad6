// MD5 message digest (RFC 1321). The compression function is fully unrolled with the round constants and
// message words added ahead of the round function, so the critical path per step is the boolean function,
// one add, the rotate and the final add.
#include "tools/md5/engine/MD5.h"
#include <cstring>
#include <string.h>

namespace md5 {
namespace {

inline std::uint32_t rotl(std::uint32_t x, int s) { return (x << s) | (x >> (32 - s)); }

inline std::uint32_t load32(const std::uint8_t* p)
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    v = __builtin_bswap32(v);
#endif
    return v;
}

// F(b,c,d) = (b & c) | (~b & d), written as d ^ (b & (c ^ d)).
#define MD5_F(a, b, c, d, x, s, k) \
    a += (x) + std::uint32_t(k);   \
    a += d ^ (b & (c ^ d));        \
    a = rotl(a, s) + b;
// G(b,c,d) = (b & d) | (c & ~d); the two terms never overlap, so they are added separately and the
// term that does not depend on b is computed off the critical path.
#define MD5_G(a, b, c, d, x, s, k) \
    a += (x) + std::uint32_t(k);   \
    a += c & ~d;                   \
    a += b & d;                    \
    a = rotl(a, s) + b;
#define MD5_H(a, b, c, d, x, s, k) \
    a += (x) + std::uint32_t(k);   \
    a += b ^ c ^ d;                \
    a = rotl(a, s) + b;
#define MD5_I(a, b, c, d, x, s, k) \
    a += (x) + std::uint32_t(k);   \
    a += c ^ (b | ~d);             \
    a = rotl(a, s) + b;

void compress(std::uint32_t state[4], const std::uint8_t* p, std::size_t blocks)
{
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (; blocks > 0; --blocks, p += 64) {
        const std::uint32_t x0 = load32(p), x1 = load32(p + 4), x2 = load32(p + 8), x3 = load32(p + 12),
                            x4 = load32(p + 16), x5 = load32(p + 20), x6 = load32(p + 24), x7 = load32(p + 28),
                            x8 = load32(p + 32), x9 = load32(p + 36), x10 = load32(p + 40), x11 = load32(p + 44),
                            x12 = load32(p + 48), x13 = load32(p + 52), x14 = load32(p + 56), x15 = load32(p + 60);
        const std::uint32_t aa = a, bb = b, cc = c, dd = d;

        MD5_F(a, b, c, d, x0, 7, 0xd76aa478)
        MD5_F(d, a, b, c, x1, 12, 0xe8c7b756)
        MD5_F(c, d, a, b, x2, 17, 0x242070db)
        MD5_F(b, c, d, a, x3, 22, 0xc1bdceee)
        MD5_F(a, b, c, d, x4, 7, 0xf57c0faf)
        MD5_F(d, a, b, c, x5, 12, 0x4787c62a)
        MD5_F(c, d, a, b, x6, 17, 0xa8304613)
        MD5_F(b, c, d, a, x7, 22, 0xfd469501)
        MD5_F(a, b, c, d, x8, 7, 0x698098d8)
        MD5_F(d, a, b, c, x9, 12, 0x8b44f7af)
        MD5_F(c, d, a, b, x10, 17, 0xffff5bb1)
        MD5_F(b, c, d, a, x11, 22, 0x895cd7be)
        MD5_F(a, b, c, d, x12, 7, 0x6b901122)
        MD5_F(d, a, b, c, x13, 12, 0xfd987193)
        MD5_F(c, d, a, b, x14, 17, 0xa679438e)
        MD5_F(b, c, d, a, x15, 22, 0x49b40821)

        MD5_G(a, b, c, d, x1, 5, 0xf61e2562)
        MD5_G(d, a, b, c, x6, 9, 0xc040b340)
        MD5_G(c, d, a, b, x11, 14, 0x265e5a51)
        MD5_G(b, c, d, a, x0, 20, 0xe9b6c7aa)
        MD5_G(a, b, c, d, x5, 5, 0xd62f105d)
        MD5_G(d, a, b, c, x10, 9, 0x02441453)
        MD5_G(c, d, a, b, x15, 14, 0xd8a1e681)
        MD5_G(b, c, d, a, x4, 20, 0xe7d3fbc8)
        MD5_G(a, b, c, d, x9, 5, 0x21e1cde6)
        MD5_G(d, a, b, c, x14, 9, 0xc33707d6)
        MD5_G(c, d, a, b, x3, 14, 0xf4d50d87)
        MD5_G(b, c, d, a, x8, 20, 0x455a14ed)
        MD5_G(a, b, c, d, x13, 5, 0xa9e3e905)
        MD5_G(d, a, b, c, x2, 9, 0xfcefa3f8)
        MD5_G(c, d, a, b, x7, 14, 0x676f02d9)
        MD5_G(b, c, d, a, x12, 20, 0x8d2a4c8a)

        MD5_H(a, b, c, d, x5, 4, 0xfffa3942)
        MD5_H(d, a, b, c, x8, 11, 0x8771f681)
        MD5_H(c, d, a, b, x11, 16, 0x6d9d6122)
        MD5_H(b, c, d, a, x14, 23, 0xfde5380c)
        MD5_H(a, b, c, d, x1, 4, 0xa4beea44)
        MD5_H(d, a, b, c, x4, 11, 0x4bdecfa9)
        MD5_H(c, d, a, b, x7, 16, 0xf6bb4b60)
        MD5_H(b, c, d, a, x10, 23, 0xbebfbc70)
        MD5_H(a, b, c, d, x13, 4, 0x289b7ec6)
        MD5_H(d, a, b, c, x0, 11, 0xeaa127fa)
        MD5_H(c, d, a, b, x3, 16, 0xd4ef3085)
        MD5_H(b, c, d, a, x6, 23, 0x04881d05)
        MD5_H(a, b, c, d, x9, 4, 0xd9d4d039)
        MD5_H(d, a, b, c, x12, 11, 0xe6db99e5)
        MD5_H(c, d, a, b, x15, 16, 0x1fa27cf8)
        MD5_H(b, c, d, a, x2, 23, 0xc4ac5665)

        MD5_I(a, b, c, d, x0, 6, 0xf4292244)
        MD5_I(d, a, b, c, x7, 10, 0x432aff97)
        MD5_I(c, d, a, b, x14, 15, 0xab9423a7)
        MD5_I(b, c, d, a, x5, 21, 0xfc93a039)
        MD5_I(a, b, c, d, x12, 6, 0x655b59c3)
        MD5_I(d, a, b, c, x3, 10, 0x8f0ccc92)
        MD5_I(c, d, a, b, x10, 15, 0xffeff47d)
        MD5_I(b, c, d, a, x1, 21, 0x85845dd1)
        MD5_I(a, b, c, d, x8, 6, 0x6fa87e4f)
        MD5_I(d, a, b, c, x15, 10, 0xfe2ce6e0)
        MD5_I(c, d, a, b, x6, 15, 0xa3014314)
        MD5_I(b, c, d, a, x13, 21, 0x4e0811a1)
        MD5_I(a, b, c, d, x4, 6, 0xf7537e82)
        MD5_I(d, a, b, c, x11, 10, 0xbd3af235)
        MD5_I(c, d, a, b, x2, 15, 0x2ad7d2bb)
        MD5_I(b, c, d, a, x9, 21, 0xeb86d391)

        a += aa;
        b += bb;
        c += cc;
        d += dd;
    }
    state[0] = a;
    state[1] = b;
    state[2] = c;
    state[3] = d;
}

#undef MD5_F
#undef MD5_G
#undef MD5_H
#undef MD5_I

} // namespace

Md5Context::~Md5Context() { wipe(); }

void Md5Context::Init()
{
    m_state[0] = 0x67452301;
    m_state[1] = 0xefcdab89;
    m_state[2] = 0x98badcfe;
    m_state[3] = 0x10325476;
    m_count = 0;
}

void Md5Context::Update(const void* data, std::size_t length)
{
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::size_t used = std::size_t(m_count & 63);
    m_count += length;
    if (used) {
        const std::size_t take = std::min<std::size_t>(64 - used, length);
        std::memcpy(m_buffer + used, p, take);
        used += take;
        p += take;
        length -= take;
        if (used < 64)
            return;
        compress(m_state, m_buffer, 1);
    }
    if (length >= 64) {
        compress(m_state, p, length / 64);
        p += length & ~std::size_t(63);
        length &= 63;
    }
    if (length)
        std::memcpy(m_buffer, p, length);
}

TDigest Md5Context::Final()
{
    const std::uint64_t bits = m_count * 8;
    std::size_t used = std::size_t(m_count & 63);
    m_buffer[used++] = 0x80;
    if (used > 56) {
        std::memset(m_buffer + used, 0, 64 - used);
        compress(m_state, m_buffer, 1);
        used = 0;
    }
    std::memset(m_buffer + used, 0, 56 - used);
    for (int i = 0; i < 8; ++i)
        m_buffer[56 + i] = std::uint8_t(bits >> (8 * i));
    compress(m_state, m_buffer, 1);

    TDigest digest;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            digest[std::size_t(4 * i + j)] = std::uint8_t(m_state[i] >> (8 * j));
    wipe();
    return digest;
}

void Md5Context::wipe()
{
    // explicit_bzero is not removed as a dead store before destruction.
    explicit_bzero(m_state, sizeof m_state);
    explicit_bzero(&m_count, sizeof m_count);
    explicit_bzero(m_buffer, sizeof m_buffer);
}

QString digestText(const TDigest& digest)
{
    static const char kHex[] = "0123456789ABCDEF";
    QString text(32, Qt::Uninitialized);
    QChar* out = text.data();
    for (std::uint8_t byte : digest) {
        *out++ = QLatin1Char(kHex[byte >> 4]);
        *out++ = QLatin1Char(kHex[byte & 15]);
    }
    return text;
}

QString digestOf(const void* data, std::size_t length)
{
    Md5Context ctx;
    ctx.Update(data, length);
    return digestText(ctx.Final());
}

} // namespace md5
