#pragma once
#include <QByteArray>
#include <array>
#include <functional>
#include <vector>

namespace search {

// The content test: whether a file's bytes contain a text, byte-wise, optionally ignoring the case of
// ASCII letters. One reusable buffer per search; each block read keeps the last (length - 1) bytes of the
// previous one in front, so a text that straddles two blocks is found.
class ContentMatcher {
public:
    static constexpr size_t kDefaultBlock = 256 * 1024;

    ContentMatcher(const QByteArray& text, bool ignoreCase, size_t blockSize = kDefaultBlock);

    // Reads the regular file at `path` (file-name bytes) until the text is found, the end, a read error or
    // a stop request (checked between blocks). Anything that is not a regular file, or cannot be opened,
    // does not contain the text.
    bool fileContains(const char* path, const std::function<bool()>& stopped = {});

    // The first occurrence of the text in [data, data + size), or nullptr.
    const char* find(const char* data, size_t size) const;

private:
    bool equalAt(const unsigned char* p, const unsigned char* text, size_t length) const;
    char letterBit(unsigned char c) const;   // 0x20 for a letter when the case is ignored
    // Vector scan; returns where the caller goes on (hit set when found).
    size_t scanAvx2(const unsigned char* hay, size_t size, const char** hit) const;

    QByteArray m_text;          // folded when ignoring case
    bool m_ignoreCase;
    bool m_folded = false;      // the text has ASCII letters and the case is ignored
    size_t m_block;
    std::array<unsigned char, 256> m_fold{};
    std::vector<char> m_buffer;
};

} // namespace search
