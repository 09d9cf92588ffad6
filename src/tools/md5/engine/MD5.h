#pragma once
#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>

namespace md5 {

using TDigest = std::array<std::uint8_t, 16>;

// The MD5 working state of one message (RFC 1321): state words, byte count and the pending partial block.
// Final() overwrites the whole state with zeros, so nothing of the message stays behind.
class Md5Context {
public:
    Md5Context() { Init(); }
    ~Md5Context();
    Md5Context(const Md5Context&) = delete;
    Md5Context& operator=(const Md5Context&) = delete;

    void Init();
    void Update(const void* data, std::size_t length);
    TDigest Final();

private:
    std::uint32_t m_state[4];
    std::uint64_t m_count;          // bytes fed so far
    std::uint8_t m_buffer[64];      // partial block
    void wipe();
};

// The digest as 32 upper-case hexadecimal digits, no separators.
QString digestText(const TDigest& digest);
// Digest text of a whole buffer.
QString digestOf(const void* data, std::size_t length);
inline QString digestOf(const QByteArray& bytes) { return digestOf(bytes.constData(), std::size_t(bytes.size())); }

} // namespace md5
