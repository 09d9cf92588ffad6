#include "tools/compress/engine/ZStreams.h"
#include "tools/compress/engine/ZErrors.h"
#include "platform/posix/FileIO.h"
#include <QFileDevice>
#include <cerrno>
#include <algorithm>

namespace zak {
namespace {

QString zlibText(int rc)
{
    return QStringLiteral("zlib 出错（%1 %2）").arg(rc).arg(QString::fromLatin1(zError(rc)));
}

} // namespace

int writeOut(QFileDevice& dest, const char* data, qint64 n)
{
    // Straight to the descriptor, past the device's buffer, so that a failure keeps its reason.
    if (dest.handle() < 0)
        return EBADF;
    return plat::posix::writeAll(dest.handle(), data, n);
}

namespace {

void writeAll(QFileDevice& dest, const char* data, qint64 n)
{
    if (const int e = writeOut(dest, data, n))
        throw EZCompressionError(QStringLiteral("写入文件出错：") + dest.fileName() + QStringLiteral("（") +
                                 plat::posix::errnoText(e) + QStringLiteral("）"));
}

} // namespace

QByteArray zlibHeader(int zlevel)
{
    const int level = zlevel == Z_DEFAULT_COMPRESSION ? 6 : zlevel;
    const unsigned flags = level < 2 ? 0 : level < 6 ? 1 : level == 6 ? 2 : 3;
    unsigned header = (0x78u << 8) | (flags << 6);
    header += 31 - header % 31;
    QByteArray h(2, Qt::Uninitialized);
    h[0] = char(header >> 8);
    h[1] = char(header & 0xff);
    return h;
}

// --- CompressionStream ---

CompressionStream::CompressionStream(QFileDevice& dest, int zlevel) : m_dest(dest), m_buf(kBufferSize, Qt::Uninitialized)
{
    const int rc = deflateInit2(&m_z, zlevel, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK)
        throw EZCompressionError(zlibText(rc), rc);
    m_z.next_out = reinterpret_cast<Bytef*>(m_buf.data());
    m_z.avail_out = kBufferSize;
}

CompressionStream::~CompressionStream()
{
    deflateEnd(&m_z);
}

void CompressionStream::flushBuffer(qint64 n)
{
    writeAll(m_dest, m_buf.constData(), n);
    m_z.next_out = reinterpret_cast<Bytef*>(m_buf.data());
    m_z.avail_out = kBufferSize;
}

void CompressionStream::write(const char* data, qint64 n)
{
    m_z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    m_z.avail_in = uInt(n);
    while (m_z.avail_in > 0) {
        const int rc = deflate(&m_z, Z_NO_FLUSH);
        if (rc < 0 && rc != Z_BUF_ERROR)
            throw EZCompressionError(zlibText(rc), rc);
        if (m_z.avail_out == 0)
            flushBuffer(kBufferSize);
    }
}

void CompressionStream::finish()
{
    m_z.next_in = nullptr;
    m_z.avail_in = 0;
    for (;;) {
        const int rc = deflate(&m_z, Z_FINISH);
        if (rc < 0 && rc != Z_BUF_ERROR)
            throw EZCompressionError(zlibText(rc), rc);
        if (rc == Z_STREAM_END)
            break;
        if (m_z.avail_out == 0)
            flushBuffer(kBufferSize);
    }
    flushBuffer(kBufferSize - m_z.avail_out);
}

// --- ParallelCompressionStream ---

ParallelCompressionStream::ParallelCompressionStream(QFileDevice& dest, int zlevel, int threads, qint64 blockSize)
    : m_dest(dest), m_level(zlevel), m_blockSize(std::max<qint64>(blockSize, kWindow))
{
    threads = std::max(1, threads);
    m_maxInFlight = size_t(threads) * 2 + 1;
    m_current = std::make_shared<Block>();
    m_current->in.reserve(m_blockSize);
    // A level zlib refuses fails here, as the one-thread stream would.
    z_stream probe{};
    const int rc = deflateInit2(&probe, zlevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK)
        throw EZCompressionError(zlibText(rc), rc);
    deflateEnd(&probe);
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { workerLoop(); });
    put(zlibHeader(zlevel));
}

ParallelCompressionStream::~ParallelCompressionStream()
{
    stopThreads();
}

void ParallelCompressionStream::stopThreads()
{
    {
        std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_workReady.notify_all();
    for (std::thread& t : m_threads)
        t.join();
    m_threads.clear();
}

void ParallelCompressionStream::put(const QByteArray& bytes)
{
    writeAll(m_dest, bytes.constData(), bytes.size());
    m_out += bytes.size();
}

void ParallelCompressionStream::write(const char* data, qint64 n)
{
    while (n > 0) {
        const qint64 take = std::min(n, m_blockSize - m_current->in.size());
        m_current->in.append(data, take);
        data += take;
        n -= take;
        m_in += take;
        if (m_current->in.size() == m_blockSize)
            submit(false);
    }
}

void ParallelCompressionStream::submit(bool last)
{
    std::shared_ptr<Block> b = std::move(m_current);
    b->last = last;
    b->dict = m_prevTail;
    m_prevTail = b->in.right(kWindow);
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(b);
        m_inFlight.push_back(b);
    }
    m_workReady.notify_one();
    m_current = std::make_shared<Block>();
    if (!last)
        m_current->in.reserve(m_blockSize);
    // Write what is ready; wait only when too many blocks are on their way.
    writeReady(false, 0);
    if (m_inFlight.size() > m_maxInFlight)
        writeReady(true, m_maxInFlight);
}

// Writes finished blocks in order. With `wait`, waits for blocks until at most `keep` remain in flight.
void ParallelCompressionStream::writeReady(bool wait, size_t keep)
{
    for (;;) {
        std::shared_ptr<Block> front;
        {
            std::unique_lock lock(m_mutex);
            if (m_inFlight.empty() || (wait && m_inFlight.size() <= keep))
                return;
            if (!m_inFlight.front()->done) {
                if (!wait)
                    return;
                m_blockDone.wait(lock, [&] { return m_inFlight.front()->done; });
            }
            front = m_inFlight.front();
            m_inFlight.pop_front();
        }
        if (front->error != Z_OK)
            throw EZCompressionError(zlibText(front->error), front->error);
        put(front->out);
        m_adler = adler32_combine(m_adler, front->adler, z_off_t(front->in.size()));
    }
}

void ParallelCompressionStream::finish()
{
    submit(true);
    writeReady(true, 0);
    QByteArray trailer(4, Qt::Uninitialized);
    for (int i = 0; i < 4; ++i)
        trailer[i] = char((m_adler >> (24 - 8 * i)) & 0xff);
    put(trailer);
    stopThreads();
}

void ParallelCompressionStream::workerLoop()
{
    z_stream z{};
    const int init = deflateInit2(&z, m_level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    for (;;) {
        std::shared_ptr<Block> b;
        {
            std::unique_lock lock(m_mutex);
            m_workReady.wait(lock, [&] { return m_quit || !m_queue.empty(); });
            if (m_quit)
                break;
            b = m_queue.front();
            m_queue.pop_front();
        }
        int rc = init;
        if (rc == Z_OK)
            rc = deflateReset(&z);
        if (rc == Z_OK && !b->dict.isEmpty())
            rc = deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(b->dict.constData()), uInt(b->dict.size()));
        if (rc == Z_OK) {
            const int flush = b->last ? Z_FINISH : Z_SYNC_FLUSH;
            b->out.resize(qsizetype(deflateBound(&z, uLong(b->in.size()))) + 64);
            z.next_in = reinterpret_cast<Bytef*>(b->in.data());
            z.avail_in = uInt(b->in.size());
            z.next_out = reinterpret_cast<Bytef*>(b->out.data());
            z.avail_out = uInt(b->out.size());
            for (;;) {
                rc = deflate(&z, flush);
                if (rc == Z_STREAM_END) {
                    rc = Z_OK;
                    break;
                }
                if (rc == Z_BUF_ERROR && !b->last && z.avail_in == 0) {
                    rc = Z_OK;     // the sync flush had already completed
                    break;
                }
                if (rc != Z_OK)
                    break;
                if (z.avail_out == 0) {
                    const qsizetype used = b->out.size();
                    b->out.resize(used + kBufferSize);
                    z.next_out = reinterpret_cast<Bytef*>(b->out.data() + used);
                    z.avail_out = kBufferSize;
                } else if (!b->last) {
                    break;         // all input taken and flushed
                }
            }
            b->out.resize(qsizetype(z.total_out));
            b->adler = adler32(1, reinterpret_cast<const Bytef*>(b->in.constData()), uInt(b->in.size()));
        }
        {
            std::lock_guard lock(m_mutex);
            b->error = rc;
            b->done = true;
        }
        m_blockDone.notify_all();
    }
    if (init == Z_OK)
        deflateEnd(&z);
}

// --- DecompressionStream ---

DecompressionStream::DecompressionStream(QFileDevice& src) : m_src(src), m_buf(kBufferSize, Qt::Uninitialized)
{
    const int rc = inflateInit(&m_z);
    if (rc != Z_OK)
        throw EZDecompressionError(zlibText(rc), rc);
}

DecompressionStream::~DecompressionStream()
{
    inflateEnd(&m_z);
}

void DecompressionStream::fill()
{
    const qint64 n = m_src.read(m_buf.data(), kBufferSize);
    if (n < 0)
        throw EZDecompressionError(QStringLiteral("读取文件出错：") + m_src.fileName() + QStringLiteral("（") +
                                   m_src.errorString() + QStringLiteral("）"));
    if (n == 0)
        m_eof = true;
    m_z.next_in = reinterpret_cast<Bytef*>(m_buf.data());
    m_z.avail_in = uInt(n);
}

qint64 DecompressionStream::read(char* buf, qint64 n)
{
    m_z.next_out = reinterpret_cast<Bytef*>(buf);
    m_z.avail_out = uInt(n);
    while (m_z.avail_out > 0 && !m_end) {
        if (m_z.avail_in == 0 && !m_eof)
            fill();
        const int rc = inflate(&m_z, Z_NO_FLUSH);
        switch (rc) {
        case Z_OK:
            break;
        case Z_STREAM_END:
            m_end = true;
            break;
        case Z_BUF_ERROR:
            // No progress was possible: more input is needed, and there is none.
            if (m_eof && m_z.avail_in == 0)
                throw EZDecompressionError(QStringLiteral("压缩文件不完整：") + m_src.fileName(), rc);
            break;
        case Z_NEED_DICT:
        case Z_DATA_ERROR:
            throw EZDecompressionError(QStringLiteral("不是有效的压缩文件：") + m_src.fileName(), rc);
        default:
            throw EZDecompressionError(zlibText(rc), rc);
        }
    }
    return n - m_z.avail_out;
}

qint64 DecompressionStream::countToEnd(const std::function<bool()>& stop)
{
    QByteArray scratch(kBufferSize * 4, Qt::Uninitialized);
    qint64 total = 0;
    while (!m_end) {
        if (stop && stop())
            return -1;
        total += read(scratch.data(), scratch.size());
    }
    return total;
}

void DecompressionStream::reset()
{
    const int rc = inflateReset(&m_z);
    if (rc != Z_OK)
        throw EZDecompressionError(zlibText(rc), rc);
    if (!m_src.seek(0))
        throw EZDecompressionError(QStringLiteral("读取文件出错：") + m_src.fileName());
    m_z.next_in = nullptr;
    m_z.avail_in = 0;
    m_eof = false;
    m_end = false;
}

} // namespace zak
