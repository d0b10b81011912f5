#include "WarningRequest.h"

#include <cstring>

namespace WarningRequest {

std::optional<QString> text(quint32 requestTag, const char* data, qsizetype count)
{
    if (requestTag != tag || count < 0 || (count > 0 && !data))
        return std::nullopt;
    const void* zero = count > 0 ? std::memchr(data, 0, size_t(count)) : nullptr;
    const qsizetype length = zero ? static_cast<const char*>(zero) - data : count;
    const QString result = QString::fromUtf8(data, length);
    // Invalid UTF-8 decodes to replacement characters whose encoding is longer
    // than the bytes they replace, so such a block fails this test too.
    if (result.toUtf8().size() != count)
        return std::nullopt;
    return result;
}

} // namespace WarningRequest
