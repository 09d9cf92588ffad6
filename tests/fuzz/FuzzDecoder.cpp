// libFuzzer target for one decoder (ORVO_FUZZ_FORMAT): any input decodes to a picture or fails with a
// reason and no picture; the sanitizers catch every read or write out of bounds.
#include "imaging/Picture.h"
#include <cstddef>
#include <cstdint>

namespace {

constexpr imaging::Format kFormat = imaging::Format::ORVO_FUZZ_FORMAT;

void check(const imaging::LoadResult& r)
{
    if (r.ok() ? r.image.isNull() : (!r.image.isNull() || r.reason.isEmpty()))
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    check(imaging::decodeAs(kFormat, bytes));
    if constexpr (kFormat == imaging::Format::Cut) {   // the input's second half as its PAL file
        const qsizetype half = bytes.size() / 2;
        check(imaging::decodeAs(kFormat, bytes.first(half), {}, bytes.sliced(half)));
    }
    if constexpr (kFormat == imaging::Format::Jpeg)   // the scaled decoding too
        check(imaging::decodeAs(kFormat, bytes, {.maxSize = 40}));
    return 0;
}
