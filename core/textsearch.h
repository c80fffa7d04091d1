#pragma once

#include "event.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QUtf8StringView>

// Finding events by a piece of their text as it is typed: letter case is
// ignored in every script (Unicode case folding), everything else counts.
namespace TextSearch {

// What is looked for, folded once.
struct Needle
{
    explicit Needle(const QString &text);

    QString folded;
    // The folded text when it is ASCII, else empty: an ASCII haystack is
    // compared byte by byte, without building a string.
    QByteArray ascii;
    bool isAscii = false;
};

bool contains(QUtf8StringView haystack, const Needle &needle);
bool contains(const QString &haystack, const Needle &needle);
// In the title, the location or the description.
bool matches(const Event &event, const Needle &needle);

// The matching occurrences in [from, to) of `rows`: one-off rows a range
// query chose for the window (returned when they match), repeating masters
// and override rows. A series matching by its own text is listed once, at
// its first occurrence at or after `near` (else its last one before); an
// override matching by its own text is listed apart when its span meets the
// window. Of more than max(limit, 1) the nearest to `near` are kept; the
// list runs by start.
QList<Event> occurrences(const QList<Event> &rows, const Needle &needle, const QDateTime &from, const QDateTime &to,
                         const QDateTime &near, int limit);

} // namespace TextSearch
