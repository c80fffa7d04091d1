#include "textsearch.h"

#include "recurrence.h"

#include <QHash>

#include <algorithm>

namespace {

char asciiFolded(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool isAscii(QUtf8StringView text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return (uchar(c) & 0x80) == 0; });
}

bool asciiContains(QUtf8StringView haystack, const QByteArray &needle)
{
    const qsizetype n = needle.size();
    if (n == 0)
        return true;
    const char *data = haystack.data();
    for (qsizetype i = 0; i + n <= haystack.size(); ++i) {
        qsizetype j = 0;
        while (j < n && asciiFolded(data[i + j]) == needle.at(j))
            ++j;
        if (j == n)
            return true;
    }
    return false;
}

// An occurrence of a series answers for its series; a one-off for itself.
QString seriesKey(const Event &occurrence)
{
    if (occurrence.isOverride())
        return occurrence.calendar_id + QLatin1Char('|') + occurrence.master_event_uid;
    if (!occurrence.recurrence_id.isEmpty())
        return occurrence.calendar_id + QLatin1Char('|') + occurrence.uid;
    return QLatin1Char('#') + occurrence.id;
}

} // namespace

namespace TextSearch {

Needle::Needle(const QString &text)
    : folded(text.toCaseFolded())
{
    const QByteArray utf8 = folded.toUtf8();
    isAscii = ::isAscii(QUtf8StringView(utf8));
    if (isAscii)
        ascii = utf8;
}

bool contains(QUtf8StringView haystack, const Needle &needle)
{
    // Folding keeps ASCII in ASCII, so an ASCII text holds no folded
    // non-ASCII needle.
    if (isAscii(haystack))
        return needle.isAscii && asciiContains(haystack, needle.ascii);
    return QString::fromUtf8(haystack).toCaseFolded().contains(needle.folded);
}

bool contains(const QString &haystack, const Needle &needle)
{
    return haystack.toCaseFolded().contains(needle.folded);
}

bool matches(const Event &event, const Needle &needle)
{
    return contains(event.title, needle) || contains(event.location, needle) || contains(event.description, needle);
}

QList<Event> occurrences(const QList<Event> &rows, const Needle &needle, const QDateTime &from, const QDateTime &to,
                         const QDateTime &near, int limit)
{
    const qint64 nearMs = near.toMSecsSinceEpoch();
    // Upcoming before past; the sooner upcoming, the later past one.
    const auto better = [nearMs](const Event &a, const Event &b) {
        const qint64 am = a.start_time.toMSecsSinceEpoch();
        const qint64 bm = b.start_time.toMSecsSinceEpoch();
        if ((am >= nearMs) != (bm >= nearMs))
            return am >= nearMs;
        return am >= nearMs ? am < bm : am > bm;
    };
    QList<Event> picked;
    QHash<QString, qsizetype> bySeries;
    for (Event &occurrence : Recurrence::expandEvents(rows, from, to)) {
        if (!occurrence.start_time.isValid() || !matches(occurrence, needle))
            continue;
        const QString key = seriesKey(occurrence);
        const auto it = bySeries.constFind(key);
        if (it == bySeries.constEnd()) {
            bySeries.insert(key, picked.size());
            picked.append(std::move(occurrence));
        } else if (better(occurrence, picked.at(*it))) {
            picked[*it] = std::move(occurrence);
        }
    }
    // The limit keeps the nearest; the list runs by start.
    const qsizetype wanted = std::max(limit, 1);
    if (picked.size() > wanted) {
        const auto distance = [nearMs](const Event &e) { return qAbs(e.start_time.toMSecsSinceEpoch() - nearMs); };
        std::stable_sort(picked.begin(), picked.end(),
                         [&](const Event &a, const Event &b) { return distance(a) < distance(b); });
        picked.resize(wanted);
    }
    std::stable_sort(picked.begin(), picked.end(), [](const Event &a, const Event &b) {
        return a.start_time != b.start_time ? a.start_time < b.start_time : a.id < b.id;
    });
    return picked;
}

} // namespace TextSearch
