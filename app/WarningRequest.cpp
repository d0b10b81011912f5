#include "WarningRequest.h"

#include <cstring>

namespace WarningRequest {

std::optional<QString> text(quint32 requestTag, const char* data, qsizetype count)
{
    if (requestTag != tag || count < 0 || count > maxRequestBytes || (count > 0 && !data))
        return std::nullopt;
    // The text ends at a terminating zero, which the count must not include.
    if (count > 0 && std::memchr(data, 0, size_t(count)))
        return std::nullopt;
    const QByteArray block = QByteArray::fromRawData(data, count);
    const QString result = QString::fromUtf8(block);
    // Compare the bytes, not only their number: what the decoder substitutes
    // or drops (replacement characters, a leading byte-order mark) is then
    // refused whatever its length, and only clean text is shown.
    if (result.toUtf8() != block)
        return std::nullopt;
    return result;
}

QString elided(const QString& text, qsizetype maxBytes)
{
    if (text.size() * 3 <= maxBytes || text.toUtf8().size() <= maxBytes)
        return text;
    const QString ellipsis(QChar(0x2026));
    const qsizetype budget = maxBytes - ellipsis.toUtf8().size();
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const char32_t c = text.at(end).unicode();
        qsizetype units = 1;
        qsizetype need = 0;
        if (c < 0x80)
            need = 1;
        else if (c < 0x800)
            need = 2;
        else if (text.at(end).isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate())
            need = 4, units = 2;
        else
            need = 3;
        if (bytes + need > budget)
            break;
        bytes += need;
        end += units;
    }
    return text.left(end) + ellipsis;
}

} // namespace WarningRequest
