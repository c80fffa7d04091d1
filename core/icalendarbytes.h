#pragma once

#include <QByteArrayView>
#include <QString>

// iCalendar bytes as text. Files and feeds do not always say their encoding,
// and some mix one stray byte into otherwise good UTF-8: decoding a content
// line at a time keeps every good line and repairs only the bad ones.
namespace ICalendar {

struct DecodedText
{
    QString text; // unfolded content lines, each ended by CR LF
    // Lines that were not UTF-8 and were read as Windows-1252, in a text
    // that holds UTF-8 elsewhere; a text in Windows-1252 throughout has none.
    int repaired = 0;
};

enum class LineEncoding { Ascii, Utf8, Windows1252 };

// A byte-order mark decides first (UTF-8, UTF-16); then `charset` (a
// Content-Type's), when it names an encoding other than UTF-8; without
// either, each unfolded line is UTF-8 when valid, else Windows-1252. Folded
// lines are joined before decoding, since producers fold at 75 octets and
// may split a character.
DecodedText decodeText(QByteArrayView bytes, QByteArrayView charset = {});

// Appends one unfolded content line (without its line end) as UTF-8 when it
// is valid UTF-8, else as Windows-1252, and says which.
LineEncoding appendContentLine(QString &out, QByteArrayView line);

// Counts the lines of a text by how they were read.
struct LineTally
{
    int utf8 = 0; // non-ASCII lines that were UTF-8
    int windows1252 = 0;

    void add(LineEncoding encoding)
    {
        utf8 += encoding == LineEncoding::Utf8 ? 1 : 0;
        windows1252 += encoding == LineEncoding::Windows1252 ? 1 : 0;
    }
    int repaired() const { return utf8 > 0 ? windows1252 : 0; }
};

// Windows-1252 at 0x80-0x9F, Latin-1 elsewhere.
void appendWindows1252(QString &out, QByteArrayView bytes);

} // namespace ICalendar
