#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <optional>

// Another program asks for a warning box by sending a tag and a block of
// bytes: tag 0x250F, UTF-8 text, the byte count being the text's length
// without its terminating zero.
namespace WarningRequest {

constexpr quint32 tag = 0x250F;

// The text to show for a request, or nothing. data/count are the request's
// block; nothing past count is ever read, so a block without a terminating
// zero is safe. The text ends at the first zero byte within count; it is
// shown only when its UTF-8 length equals count.
std::optional<QString> text(quint32 requestTag, const char* data, qsizetype count);

inline std::optional<QString> text(quint32 requestTag, const QByteArray& data)
{
    return text(requestTag, data.constData(), data.size());
}

} // namespace WarningRequest
