#pragma once
#include <QByteArray>
#include <QtGlobal>
#include "tools/compress/engine/ZInflaters.h"
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>
#include <zlib.h>

class QFileDevice;

// The zlib stream layer of the ".zak" format: one RFC 1950 stream (deflate, window bits 15, memory level 8,
// default strategy) and nothing else.
namespace zak {

inline constexpr qint64 kChunk = 61440;         // bytes per copy step and per progress event
inline constexpr int kBufferSize = 65536;       // zlib buffer size, each way
inline constexpr int kWindow = 32768;           // deflate window (window bits 15)

// The two header bytes zlib writes for a compression level (Z_DEFAULT_COMPRESSION allowed).
QByteArray zlibHeader(int zlevel);

// Writes all of `data` to the open file `dest` through its descriptor. Returns 0 or an errno value.
int writeOut(QFileDevice& dest, const char* data, qint64 n);

// Compressed output of one stream, written to a device as it is produced.
class ZWriter {
public:
    virtual ~ZWriter() = default;
    virtual void write(const char* data, qint64 n) = 0;
    // Ends the stream: the remaining deflate data and the Adler-32 trailer are written.
    virtual void finish() = 0;
    virtual qint64 bytesIn() const = 0;
    virtual qint64 bytesOut() const = 0;   // compressed bytes produced so far
};

// Plain deflate on the calling thread. Output collects in a 65536-byte buffer that is written whenever full.
class CompressionStream final : public ZWriter {
public:
    CompressionStream(QFileDevice& dest, int zlevel);
    ~CompressionStream() override;
    CompressionStream(const CompressionStream&) = delete;
    CompressionStream& operator=(const CompressionStream&) = delete;
    void write(const char* data, qint64 n) override;
    void finish() override;
    qint64 bytesIn() const override { return qint64(m_z.total_in); }
    qint64 bytesOut() const override { return qint64(m_z.total_out); }

private:
    void flushBuffer(qint64 n);
    QFileDevice& m_dest;
    z_stream m_z{};
    QByteArray m_buf;
};

// Deflate spread over several threads that still writes one zlib stream: the input is cut into blocks, each
// compressed as raw deflate with the previous 32 KiB as preset dictionary and ended by a sync flush (the last
// by the finishing flush); the blocks are written in order between the header and the combined Adler-32.
// The calling thread only fills blocks and writes finished ones, so reading, compressing and writing overlap;
// written blocks keep their buffers for the next ones.
class ParallelCompressionStream final : public ZWriter {
public:
    static constexpr qint64 kBlockSize = 256 * 1024;       // the smallest block
    static constexpr qint64 kLargeBlockSize = 1024 * 1024;  // the largest: fewer dictionaries to prime

    ParallelCompressionStream(QFileDevice& dest, int zlevel, int threads, qint64 blockSize = kBlockSize);
    ~ParallelCompressionStream() override;
    ParallelCompressionStream(const ParallelCompressionStream&) = delete;
    ParallelCompressionStream& operator=(const ParallelCompressionStream&) = delete;
    // The block size for `size` input bytes on `threads` threads: at least four blocks a thread, within
    // kBlockSize..kLargeBlockSize.
    static qint64 blockSizeFor(qint64 size, int threads);
    void write(const char* data, qint64 n) override;
    void finish() override;
    qint64 bytesIn() const override { return m_in; }
    qint64 bytesOut() const override { return m_out; }

private:
    struct Block {
        QByteArray in;
        QByteArray dict;
        bool last = false;
        QByteArray out;
        uLong adler = 1;
        int error = Z_OK;
        bool done = false;
    };
    std::shared_ptr<Block> newBlock();
    void submit(bool last);
    void writeReady(bool wait, size_t keep);
    void put(const char* data, qint64 n);
    void workerLoop();
    void stopThreads();

    QFileDevice& m_dest;
    const int m_level;
    const qint64 m_blockSize;
    size_t m_maxInFlight;
    std::shared_ptr<Block> m_current;
    QByteArray m_prevTail;
    std::deque<std::shared_ptr<Block>> m_inFlight;   // output order
    std::deque<std::shared_ptr<Block>> m_queue;      // waiting for a thread
    std::vector<std::shared_ptr<Block>> m_spare;     // written, buffers kept
    std::mutex m_mutex;
    std::condition_variable m_workReady;
    std::condition_variable m_blockDone;
    bool m_quit = false;
    std::vector<std::thread> m_threads;
    uLong m_adler = 1;
    qint64 m_in = 0;
    qint64 m_out = 0;
};

// Inflate of one zlib stream from a device through a 262144-byte input buffer. Bytes after the stream end are
// ignored; a source that ends before the stream end, data that is not a zlib stream and a wrong check value
// are failures (EZDecompressionError). The fast inflater decodes where built in; when it finds a fault, zlib
// decodes the stream again up to the same point and goes on, so every fault is reported as zlib reports it.
class DecompressionStream {
public:
    static constexpr qint64 kInputSize = 256 * 1024;

    explicit DecompressionStream(QFileDevice& src, InflateEngine engine = InflateEngine::Fastest);
    ~DecompressionStream();
    DecompressionStream(const DecompressionStream&) = delete;
    DecompressionStream& operator=(const DecompressionStream&) = delete;

    // Decodes up to n bytes into buf; returns fewer only at the stream end.
    qint64 read(char* buf, qint64 n);
    // Decodes the rest of the stream without keeping it and returns its length; `stop` is asked between
    // steps and a true answer returns -1.
    qint64 countToEnd(const std::function<bool()>& stop);
    // Back to the start of the stream and of the source.
    void reset();
    bool atEnd() const { return m_end; }
    // Whether zlib has taken over from the fast inflater after a fault.
    bool fellBack() const { return m_fellBack; }

private:
    void fill();
    void rewindSource();
    void fault(int status);
    [[noreturn]] void raise(int status) const;
    QFileDevice& m_src;
    const InflateEngine m_engine;
    std::unique_ptr<Inflater> m_inflater;
    QByteArray m_buf;
    qint64 m_produced = 0;   // bytes decoded since the stream start
    bool m_eof = false;
    bool m_end = false;
    bool m_fellBack = false;
};

} // namespace zak
