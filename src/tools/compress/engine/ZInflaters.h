#pragma once
#include <QtGlobal>
#include <memory>

// The inflaters of the ".zak" decoder: zlib's, and ISA-L's where the build has it (two to three times faster).
namespace zak {

// Which inflater decodes: the fastest one built in, or zlib's in any build.
enum class InflateEngine { Fastest, Zlib };

// Whether the build has the fast inflater; without it InflateEngine::Fastest is zlib's.
bool fastInflaterBuiltIn();

// Adler-32 of n bytes continuing `adler` (1 to start), as zlib computes it; ISA-L's vector code where built in.
quint32 adler32Of(quint32 adler, const char* data, qint64 n);

// The decoder state of one zlib stream (RFC 1950: header, deflate data, Adler-32 trailer, checked), fed by the
// caller. Statuses are zlib's: Z_OK (went on, or needs more input or room), Z_STREAM_END (the check value
// matched), Z_NEED_DICT, Z_DATA_ERROR, or another negative status.
class Inflater {
public:
    virtual ~Inflater() = default;
    virtual bool isFast() const = 0;
    // Back to the start of a stream; pending input is dropped.
    virtual void reset() = 0;
    // Makes n bytes at data the pending input; they must stay valid until taken.
    virtual void feed(const char* data, qint64 n) = 0;
    virtual qint64 pending() const = 0;
    // Decodes into out (up to n bytes); `given` is what was written.
    virtual int inflate(char* out, qint64 n, qint64& given) = 0;
};

// A new inflater, at the start of a stream. Throws EZDecompressionError when zlib cannot start one.
std::unique_ptr<Inflater> makeInflater(InflateEngine engine);

} // namespace zak
