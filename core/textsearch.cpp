#include "textsearch.h"

#include "recurrence.h"
#include "seriesexpander_p.h"
#include "timeutil.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace {

// The first window a series is expanded over; each next one is eight times
// as long.
constexpr qint64 kFirstWindowDays = 32;

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

// Unicode case folding with what the simple one leaves apart: "ß" and "SS",
// "İ" and "i", and a letter typed whole or as a base with an accent.
QString folded(const QString &text)
{
    QString out = text.normalized(QString::NormalizationForm_C).toCaseFolded();
    out.replace(QChar(0x00DF), QLatin1String("ss"));
    out.replace(QChar(0x0130), QLatin1Char('i'));
    return out;
}

// A series with its overrides, an override without its series, a one-off.
QString groupKey(const Event &row)
{
    if (row.isOverride())
        return row.calendar_id + QLatin1Char('|') + row.master_event_uid;
    if (SeriesExpander::repeats(row))
        return row.calendar_id + QLatin1Char('|') + row.uid;
    return QLatin1Char('#') + row.id;
}

// Where an occurrence stands among others.
qint64 placeMs(const Event &e)
{
    return TimeUtil::placedStart(e.start_time, e.is_all_day).toMSecsSinceEpoch();
}

// The occurrence of the series `seriesId` in [from, to) nearest after `near`,
// else the latest before it. The series is expanded in windows growing away
// from `pivot`, forward first, until its pick is certain: a daily series of
// ten years is otherwise thousands of copies for one entry. `group` holds
// the overrides that move or replace its occurrences.
std::optional<Event> nearestOccurrence(const QList<Event> &group, const QString &seriesId, const QDateTime &from,
                                       const QDateTime &to, const QDateTime &pivot, const QDateTime &near)
{
    const qint64 nearMs = near.toMSecsSinceEpoch();
    // Upcoming before past; the sooner upcoming, the later past one.
    const auto better = [nearMs](const Event &a, const Event &b) {
        const qint64 am = placeMs(a);
        const qint64 bm = placeMs(b);
        if ((am >= nearMs) != (bm >= nearMs))
            return am >= nearMs;
        return am >= nearMs ? am < bm : am > bm;
    };
    std::optional<Event> best;
    const auto consider = [&](const QDateTime &a, const QDateTime &b) {
        for (Event &occurrence : Recurrence::expandEvents(group, a, b)) {
            if (occurrence.id == seriesId && occurrence.start_time.isValid() && (!best || better(occurrence, *best)))
                best = std::move(occurrence);
        }
    };
    qint64 days = kFirstWindowDays;
    for (QDateTime a = pivot; a < to && !(best && placeMs(*best) >= nearMs); days *= 8) {
        const QDateTime b = std::min(to, a.addDays(days));
        consider(a, b);
        a = b;
    }
    days = kFirstWindowDays;
    // Back in time, an occurrence that started in a later window is later
    // than any that starts in an earlier one.
    for (QDateTime b = pivot; from < b && !(best && placeMs(*best) >= b.toMSecsSinceEpoch()); days *= 8) {
        const QDateTime a = std::max(from, b.addDays(-days));
        consider(a, b);
        b = a;
    }
    return best;
}

} // namespace

namespace TextSearch {

Needle::Needle(const QString &text)
    : folded(::folded(text))
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
    return ::folded(QString::fromUtf8(haystack)).contains(needle.folded);
}

bool contains(const QString &haystack, const Needle &needle)
{
    return ::folded(haystack).contains(needle.folded);
}

bool matches(const Event &event, const Needle &needle)
{
    return contains(event.title, needle) || contains(event.location, needle) || contains(event.description, needle);
}

QList<Event> occurrences(const QList<Event> &rows, const Needle &needle, const QDateTime &fromTime,
                         const QDateTime &toTime, const QDateTime &nearTime, int limit)
{
    if (!fromTime.isValid() || !toTime.isValid() || !nearTime.isValid() || fromTime >= toTime)
        return {};
    // In UTC: a local time asks the C library for its offset at every use.
    const QDateTime from = fromTime.toUTC();
    const QDateTime to = toTime.toUTC();
    const QDateTime near = nearTime.toUTC();
    const qint64 nearMs = near.toMSecsSinceEpoch();
    // A series with the overrides of its occurrences; a one-off alone.
    QList<QList<Event>> groups;
    QHash<QString, qsizetype> groupOf;
    for (const Event &row : rows) {
        const QString key = groupKey(row);
        const auto it = groupOf.constFind(key);
        if (it != groupOf.constEnd()) {
            groups[*it].append(row);
        } else {
            groupOf.insert(key, groups.size());
            groups.append({row});
        }
    }

    // A series is found by its own text and an override by its own: a
    // renamed series must not hide behind an occurrence that kept the old
    // title, nor a moved occurrence behind its series.
    const QDateTime pivot = std::clamp(near, from, to);
    const SeriesExpander window(from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch());
    QList<Event> picked;
    for (const QList<Event> &group : std::as_const(groups)) {
        for (const Event &row : group) {
            if (!row.start_time.isValid() || !matches(row, needle))
                continue;
            // A one-off the range query chose, or an override whose own span
            // meets the range (where the expansion places it), is its own entry.
            if (row.isOverride() || !SeriesExpander::repeats(row)) {
                if (!row.isOverride() || window.overlaps(row.start_time.toMSecsSinceEpoch(),
                                                         SeriesExpander::durationOf(row)))
                    picked.append(row);
                continue;
            }
            if (std::optional<Event> best = nearestOccurrence(group, row.id, from, to, pivot, near))
                picked.append(std::move(*best));
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
        const qint64 am = placeMs(a);
        const qint64 bm = placeMs(b);
        return am != bm ? am < bm : a.id < b.id;
    });
    return picked;
}

} // namespace TextSearch
