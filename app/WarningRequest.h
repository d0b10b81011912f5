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

// Larger blocks are refused before they are decoded: no warning needs a
// megabyte, and a flood of such requests must not cost more than that each.
constexpr qsizetype maxRequestBytes = 1 << 20;

// The most UTF-8 bytes of a request's text that the warning box shows.
constexpr qsizetype maxShownBytes = 4096;

// The text to show for a request, or nothing. data/count are the request's
// block; nothing past count is ever read, so a block without a terminating
// zero is safe. The text is shown only when its UTF-8 encoding is exactly the
// count bytes: a zero byte within count, invalid or cut UTF-8, or a block over
// maxRequestBytes gives nothing.
std::optional<QString> text(quint32 requestTag, const char* data, qsizetype count);

inline std::optional<QString> text(quint32 requestTag, const QByteArray& data)
{
    return text(requestTag, data.constData(), data.size());
}

// text itself when its UTF-8 encoding fits in maxBytes; otherwise the longest
// start of it that fits together with a trailing "…" (never splitting a
// character or a surrogate pair).
QString elided(const QString& text, qsizetype maxBytes = maxShownBytes);

} // namespace WarningRequest
