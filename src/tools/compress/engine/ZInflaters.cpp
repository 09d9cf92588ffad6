#include "tools/compress/engine/ZInflaters.h"
#include "tools/compress/engine/ZErrors.h"
#include <QString>
#include <algorithm>
#include <climits>
#include <zlib.h>
#ifdef ORVO_HAVE_ISAL
#include <isa-l/igzip_lib.h>
#endif

namespace zak {
namespace {

// zlib counts in 32-bit units; callers pass buffers far below that.
uInt clampLength(qint64 n)
{
    return uInt(std::min<qint64>(n, UINT_MAX));
}

class ZlibInflater final : public Inflater {
public:
    ZlibInflater()
    {
        const int rc = inflateInit(&m_z);
        if (rc != Z_OK)
            throw EZDecompressionError(QStringLiteral("zlib 出错（%1 %2）").arg(rc).arg(QString::fromLatin1(zError(rc))),
                                       rc);
    }
    ~ZlibInflater() override { inflateEnd(&m_z); }
    ZlibInflater(const ZlibInflater&) = delete;
    ZlibInflater& operator=(const ZlibInflater&) = delete;

    bool isFast() const override { return false; }
    void reset() override
    {
        inflateReset(&m_z);
        m_z.next_in = nullptr;
        m_z.avail_in = 0;
    }
    void feed(const char* data, qint64 n) override
    {
        m_z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        m_z.avail_in = clampLength(n);
    }
    qint64 pending() const override { return m_z.avail_in; }
    int inflate(char* out, qint64 n, qint64& given) override
    {
        m_z.next_out = reinterpret_cast<Bytef*>(out);
        m_z.avail_out = clampLength(n);
        const uInt room = m_z.avail_out;
        const int rc = ::inflate(&m_z, Z_NO_FLUSH);
        given = qint64(room - m_z.avail_out);
        return rc == Z_BUF_ERROR ? Z_OK : rc;   // no progress possible: the caller sees nothing taken or given
    }

private:
    z_stream m_z{};
};

#ifdef ORVO_HAVE_ISAL
class IsalInflater final : public Inflater {
public:
    IsalInflater() : m_state(std::make_unique<inflate_state>()) { reset(); }

    bool isFast() const override { return true; }
    void reset() override
    {
        isal_inflate_init(m_state.get());
        m_state->crc_flag = ISAL_ZLIB;   // parses the header and checks the Adler-32 trailer
    }
    void feed(const char* data, qint64 n) override
    {
        m_state->next_in = reinterpret_cast<uint8_t*>(const_cast<char*>(data));
        m_state->avail_in = uint32_t(std::min<qint64>(n, UINT_MAX));
    }
    qint64 pending() const override { return m_state->avail_in; }
    int inflate(char* out, qint64 n, qint64& given) override
    {
        m_state->next_out = reinterpret_cast<uint8_t*>(out);
        m_state->avail_out = uint32_t(std::min<qint64>(n, UINT_MAX));
        const uint32_t room = m_state->avail_out;
        const int rc = isal_inflate(m_state.get());
        given = qint64(room - m_state->avail_out);
        switch (rc) {
        case ISAL_DECOMP_OK:
        case ISAL_END_INPUT:
        case ISAL_OUT_OVERFLOW:
            return m_state->block_state == ISAL_BLOCK_FINISH ? Z_STREAM_END : Z_OK;
        case ISAL_NEED_DICT:
            return Z_NEED_DICT;
        default:
            return Z_DATA_ERROR;
        }
    }

private:
    std::unique_ptr<inflate_state> m_state;   // large: kept off the stack
};
#endif

} // namespace

bool fastInflaterBuiltIn()
{
#ifdef ORVO_HAVE_ISAL
    return true;
#else
    return false;
#endif
}

quint32 adler32Of(quint32 adler, const char* data, qint64 n)
{
#ifdef ORVO_HAVE_ISAL
    return isal_adler32(adler, reinterpret_cast<const unsigned char*>(data), uint64_t(n));
#else
    return quint32(adler32_z(adler, reinterpret_cast<const Bytef*>(data), z_size_t(n)));
#endif
}

std::unique_ptr<Inflater> makeInflater(InflateEngine engine)
{
#ifdef ORVO_HAVE_ISAL
    if (engine == InflateEngine::Fastest)
        return std::make_unique<IsalInflater>();
#else
    Q_UNUSED(engine);
#endif
    return std::make_unique<ZlibInflater>();
}

} // namespace zak
