// The warning-request handler: a tag (the first four bytes, little-endian)
// and a block of bytes. A text is shown only when it is the block's bytes,
// exactly.

#include "FuzzSupport.h"
#include "WarningRequest.h"

#include <QtEndian>

#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    quint32 tag = 0;
    std::memcpy(&tag, data, 4);
    tag = qFromLittleEndian(tag);
    // The block is copied to its own allocation of exactly its size, so a
    // read past the count is caught by the address sanitizer.
    const size_t count = size - 4;
    char* block = static_cast<char*>(std::malloc(count ? count : 1));
    std::memcpy(block, data + 4, count);
    const std::optional<QString> text = WarningRequest::text(tag, block, qsizetype(count));
    if (text) {
        FUZZ_CHECK(tag == WarningRequest::tag);
        FUZZ_CHECK(text->toUtf8() == QByteArray(block, qsizetype(count)));
    }
    std::free(block);
    return 0;
}
