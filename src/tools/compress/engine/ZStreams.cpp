#include "tools/compress/engine/ZStreams.h"
#include "tools/compress/engine/ZErrors.h"
#include "platform/posix/FileIO.h"
#include <QFileDevice>
#include <cerrno>
#include <algorithm>
#include <utility>

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
    // A level zlib refuses fails here, as the one-thread stream would.
    z_stream probe{};
    const int rc = deflateInit2(&probe, zlevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    if (rc != Z_OK)
        throw EZCompressionError(zlibText(rc), rc);
    deflateEnd(&probe);
    m_current = newBlock();
    for (int i = 0; i < threads; ++i)
        m_threads.emplace_back([this] { workerLoop(); });
    const QByteArray header = zlibHeader(zlevel);
    put(header.constData(), header.size());
}

ParallelCompressionStream::~ParallelCompressionStream()
{
    stopThreads();
}

qint64 ParallelCompressionStream::blockSizeFor(qint64 size, int threads)
{
    const qint64 quarter = size / (4 * std::max(1, threads));
    return std::clamp<qint64>(quarter / kBlockSize * kBlockSize, kBlockSize, kLargeBlockSize);
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

void ParallelCompressionStream::put(const char* data, qint64 n)
{
    writeAll(m_dest, data, n);
    m_out += n;
}

std::shared_ptr<ParallelCompressionStream::Block> ParallelCompressionStream::newBlock()
{
    if (m_spare.empty()) {
        auto b = std::make_shared<Block>();
        b->in.reserve(m_blockSize);
        return b;
    }
    std::shared_ptr<Block> b = std::move(m_spare.back());
    m_spare.pop_back();
    b->in.resize(0);   // keeps the buffers' room
    b->last = false;
    b->adler = 1;
    b->error = Z_OK;
    b->done = false;
    return b;
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
    if (!last)
        m_prevTail = b->in.right(kWindow);
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(b);
        m_inFlight.push_back(b);
    }
    m_workReady.notify_one();
    // Write what is ready; wait only when too many blocks are on their way.
    writeReady(false, 0);
    if (m_inFlight.size() > m_maxInFlight)
        writeReady(true, m_maxInFlight);
    if (!last)
        m_current = newBlock();
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
        put(front->out.constData(), front->out.size());
        m_adler = adler32_combine(m_adler, front->adler, z_off_t(front->in.size()));
        m_spare.push_back(std::move(front));
    }
}

void ParallelCompressionStream::finish()
{
    submit(true);
    writeReady(true, 0);
    char trailer[4];
    for (int i = 0; i < 4; ++i)
        trailer[i] = char((m_adler >> (24 - 8 * i)) & 0xff);
    put(trailer, 4);
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
            b->adler = adler32Of(1, b->in.constData(), b->in.size());
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

DecompressionStream::DecompressionStream(QFileDevice& src, InflateEngine engine)
    : m_src(src), m_engine(engine), m_inflater(makeInflater(engine)), m_buf(kInputSize, Qt::Uninitialized)
{
}

DecompressionStream::~DecompressionStream() = default;

void DecompressionStream::fill()
{
    const qint64 n = m_src.read(m_buf.data(), kInputSize);
    if (n < 0)
        throw EZDecompressionError(QStringLiteral("读取文件出错：") + m_src.fileName() + QStringLiteral("（") +
                                   m_src.errorString() + QStringLiteral("）"));
    if (n == 0)
        m_eof = true;
    m_inflater->feed(m_buf.constData(), n);
}

void DecompressionStream::rewindSource()
{
    if (!m_src.seek(0))
        throw EZDecompressionError(QStringLiteral("读取文件出错：") + m_src.fileName());
    m_eof = false;
}

void DecompressionStream::raise(int status) const
{
    switch (status) {
    case Z_BUF_ERROR:
        throw EZDecompressionError(QStringLiteral("压缩文件不完整：") + m_src.fileName(), status);
    case Z_NEED_DICT:
    case Z_DATA_ERROR:
        throw EZDecompressionError(QStringLiteral("不是有效的压缩文件：") + m_src.fileName(), status);
    default:
        throw EZDecompressionError(zlibText(status), status);
    }
}

// A fault of the fast inflater hands the stream to zlib: it decodes from the start up to the bytes already
// produced and then goes on in its place, meeting the fault itself. zlib's faults are raised.
void DecompressionStream::fault(int status)
{
    if (!m_inflater->isFast())
        raise(status);
    m_inflater = makeInflater(InflateEngine::Zlib);
    m_fellBack = true;
    rewindSource();
    QByteArray scratch(kInputSize, Qt::Uninitialized);
    for (qint64 left = std::exchange(m_produced, 0); left > 0;) {
        const qint64 n = read(scratch.data(), std::min<qint64>(left, scratch.size()));
        if (n == 0)   // zlib ended the stream before the fast inflater did: the file changed meanwhile
            raise(Z_DATA_ERROR);
        left -= n;
    }
}

qint64 DecompressionStream::read(char* buf, qint64 n)
{
    qint64 done = 0;
    while (done < n && !m_end) {
        if (m_inflater->pending() == 0 && !m_eof)
            fill();
        const qint64 before = m_inflater->pending();
        qint64 given = 0;
        const int rc = m_inflater->inflate(buf + done, n - done, given);
        done += given;
        m_produced += given;
        if (rc == Z_STREAM_END) {
            m_end = true;
        } else if (rc != Z_OK) {
            fault(rc);
        } else if (given == 0 && m_inflater->pending() == before && (before > 0 || m_eof)) {
            // No progress was possible: more input is needed and there is none.
            fault(Z_BUF_ERROR);
        }
    }
    return done;
}

qint64 DecompressionStream::countToEnd(const std::function<bool()>& stop)
{
    QByteArray scratch(kInputSize * 4, Qt::Uninitialized);
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
    if (m_fellBack)
        m_inflater = makeInflater(m_engine);
    else
        m_inflater->reset();
    m_fellBack = false;
    rewindSource();
    m_produced = 0;
    m_end = false;
}

} // namespace zak
