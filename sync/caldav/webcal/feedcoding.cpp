#include "feedcoding.h"

#include <zlib.h>

#include <algorithm>
#include <limits>

namespace Webcal {

namespace {

using Outcome = FeedContent::Outcome;

// Inflates every gzip member or zlib stream of `raw` (windowBits 15 + 32
// reads either header), or a raw deflate stream for a server that sends
// "deflate" without the zlib wrapper. Only a stream that reached its end
// counts.
Outcome inflateAll(const QByteArray &raw, int windowBits, qint64 limitBytes, QByteArray &out)
{
    z_stream stream{};
    if (inflateInit2(&stream, windowBits) != Z_OK)
        return Outcome::CutShort;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(raw.constData()));
    stream.avail_in = uInt(raw.size());
    char chunk[64 * 1024];
    Outcome outcome = Outcome::CutShort;
    for (;;) {
        stream.next_out = reinterpret_cast<Bytef *>(chunk);
        stream.avail_out = sizeof chunk;
        const int status = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, qsizetype(sizeof chunk - stream.avail_out));
        if (out.size() > limitBytes) {
            outcome = Outcome::TooLarge;
            break;
        }
        if (status == Z_STREAM_END) {
            // Another gzip member may follow; trailing zero bytes are padding.
            const char *rest = reinterpret_cast<const char *>(stream.next_in);
            const bool padding = std::all_of(rest, rest + stream.avail_in, [](char c) { return c == '\0'; });
            if (stream.avail_in == 0 || padding) {
                outcome = Outcome::Whole;
                break;
            }
            if (inflateReset(&stream) != Z_OK)
                break;
            continue;
        }
        // Out of input before the end, or a broken stream.
        if (status != Z_OK || (stream.avail_in == 0 && stream.avail_out != 0))
            break;
    }
    inflateEnd(&stream);
    return outcome;
}

} // namespace

FeedContent decodeFeedContent(const QByteArray &raw, const QByteArray &coding, qint64 limitBytes)
{
    FeedContent content;
    const QByteArray name = coding.trimmed().toLower();
    if (name.isEmpty() || name == "identity") {
        content.bytes = raw;
        return content;
    }
    // zlib counts its input in 32 bits; a body past that is past every bound.
    if (raw.size() > qsizetype(std::numeric_limits<uInt>::max())) {
        content.outcome = Outcome::TooLarge;
        return content;
    }
    if (name == "gzip" || name == "x-gzip" || name == "deflate") {
        content.outcome = inflateAll(raw, 15 + 32, limitBytes, content.bytes);
        if (content.outcome == Outcome::CutShort && name == "deflate" && content.bytes.isEmpty())
            content.outcome = inflateAll(raw, -15, limitBytes, content.bytes);
    } else {
        content.outcome = Outcome::UnknownCoding;
    }
    if (content.outcome != Outcome::Whole)
        content.bytes.clear();
    return content;
}

} // namespace Webcal
