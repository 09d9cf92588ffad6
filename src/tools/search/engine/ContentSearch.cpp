#include "tools/search/engine/ContentSearch.h"
#include "platform/posix/FileIO.h"
#include <cstring>
#include <fcntl.h>
#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace search {

ContentMatcher::ContentMatcher(const QByteArray& text, bool ignoreCase, size_t blockSize)
    : m_text(text), m_ignoreCase(ignoreCase), m_block(blockSize < 1 ? 1 : blockSize)
{
    for (int c = 0; c < 256; ++c)
        m_fold[c] = (ignoreCase && c >= 'A' && c <= 'Z') ? (unsigned char)(c + 32) : (unsigned char)c;
    for (char& c : m_text) {
        const unsigned char f = m_fold[(unsigned char)c];
        m_folded = m_folded || (ignoreCase && f >= 'a' && f <= 'z');
        c = char(f);
    }
}

#if defined(__x86_64__)
// Thirty-two positions at a time, on processors that have AVX2 (the same test as the SSE2 loop below).
__attribute__((target("avx2"))) size_t ContentMatcher::scanAvx2(const unsigned char* hay, size_t size,
                                                                 const char** hit) const
{
    const auto* needle = reinterpret_cast<const unsigned char*>(m_text.constData());
    const size_t m = size_t(m_text.size());
    const __m256i vFirst = _mm256_set1_epi8(char(needle[0])), vLast = _mm256_set1_epi8(char(needle[m - 1]));
    const __m256i foldFirst = _mm256_set1_epi8(letterBit(needle[0]));
    const __m256i foldLast = _mm256_set1_epi8(letterBit(needle[m - 1]));
    size_t i = 0;
    for (; i + 32 + m - 1 <= size; i += 32) {
        const __m256i a = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i)), foldFirst);
        const __m256i b =
            _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(hay + i + m - 1)), foldLast);
        unsigned bits =
            unsigned(_mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi8(a, vFirst), _mm256_cmpeq_epi8(b, vLast))));
        while (bits) {
            const size_t at = i + size_t(__builtin_ctz(bits));
            if (equalAt(hay + at, needle, m)) {
                *hit = reinterpret_cast<const char*>(hay + at);
                return i;
            }
            bits &= bits - 1;
        }
    }
    return i;
}
#endif

char ContentMatcher::letterBit(unsigned char c) const
{
    return char(m_folded && c >= 'a' && c <= 'z' ? 0x20 : 0);
}

const char* ContentMatcher::find(const char* data, size_t size) const
{
    const size_t m = size_t(m_text.size());
    if (m == 0)
        return data;
    if (size < m)
        return nullptr;
    const auto* hay = reinterpret_cast<const unsigned char*>(data);
    const auto* needle = reinterpret_cast<const unsigned char*>(m_text.constData());
    size_t i = 0;
#if defined(__x86_64__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) {
        const char* hit = nullptr;
        i = scanAvx2(hay, size, &hit);
        if (hit)
            return hit;
    }
#endif
#if defined(__SSE2__)
    // Sixteen positions at a time: compare the first and the last byte of the text (letters folded by
    // setting bit 0x20, which maps only the two cases of a letter onto its lower case), then check the
    // bytes between them at the positions that passed.
    const __m128i vFirst = _mm_set1_epi8(char(needle[0])), vLast = _mm_set1_epi8(char(needle[m - 1]));
    const __m128i foldFirst = _mm_set1_epi8(letterBit(needle[0]));
    const __m128i foldLast = _mm_set1_epi8(letterBit(needle[m - 1]));
    for (; i + 16 + m - 1 <= size; i += 16) {
        const __m128i a = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i)), foldFirst);
        const __m128i b =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(hay + i + m - 1)), foldLast);
        unsigned bits = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, vFirst), _mm_cmpeq_epi8(b, vLast))));
        while (bits) {
            const size_t at = i + size_t(__builtin_ctz(bits));
            if (equalAt(hay + at, needle, m))
                return data + at;
            bits &= bits - 1;
        }
    }
#endif
    for (; i + m <= size; ++i)
        if (equalAt(hay + i, needle, m))
            return data + i;
    return nullptr;
}

bool ContentMatcher::equalAt(const unsigned char* p, const unsigned char* needle, size_t m) const
{
    if (!m_folded)
        return std::memcmp(p, needle, m) == 0;
    for (size_t k = 0; k < m; ++k)
        if (m_fold[p[k]] != needle[k])
            return false;
    return true;
}

bool ContentMatcher::fileContains(const char* path, const std::function<bool()>& stopped)
{
    // Opening a FIFO that appeared after the entry was read does not wait for a writer; it is refused.
    qint64 size = 0;
    const plat::posix::Fd f = plat::posix::openRegularFileAt(AT_FDCWD, path, &size);
    if (!f.valid())
        return false;
    const size_t m = size_t(m_text.size());
    if (m == 0)
        return true;
    const size_t keep = m - 1;
    if (m_buffer.size() < keep + m_block)
        m_buffer.resize(keep + m_block);
    char* buf = m_buffer.data();
    size_t carry = 0;
    qint64 total = 0;
    for (;;) {
        if (stopped && stopped())
            return false;
        const qint64 got = plat::posix::readSome(f.get(), buf + carry, qint64(m_block));
        if (got <= 0)
            return false;   // the end, or a read error: nothing found
        const size_t filled = carry + size_t(got);
        if (find(buf, filled))
            return true;
        total += got;
        // A short read that reaches the size the file had when opened is the end: no read for nothing.
        if (size_t(got) < m_block && total >= size)
            return false;
        carry = filled < keep ? filled : keep;
        std::memmove(buf, buf + filled - carry, carry);
    }
}

} // namespace search
