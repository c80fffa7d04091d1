#pragma once

#include <QByteArray>

namespace Webcal {

// A feed's body as it was coded for the transfer (its Content-Encoding),
// made plain again. The client asks for gzip itself, so that it sees whether
// the compressed stream ended: a stream cut in half inflates to a calendar
// cut short, which must not pass for the whole feed.
struct FeedContent
{
    enum class Outcome {
        Whole, // `bytes` holds the whole body
        CutShort, // the compressed stream did not end, or is broken
        UnknownCoding, // a coding this client did not ask for
        TooLarge, // the plain body passes the size limit
    };
    Outcome outcome = Outcome::Whole;
    QByteArray bytes;
};

// `coding`: the Content-Encoding value ("gzip", "x-gzip", "deflate",
// "identity" or none); `limitBytes`: the most the plain body may hold.
FeedContent decodeFeedContent(const QByteArray &raw, const QByteArray &coding, qint64 limitBytes);

} // namespace Webcal
