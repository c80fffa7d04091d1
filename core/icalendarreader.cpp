#include "icalendar.h"

#include "exceptionkey.h"
#include "icalendar_p.h"
#include "recordnames.h"
#include "timeutil.h"

#include <QSet>

#include <array>

namespace ICalendar {

using namespace Detail;

namespace {

enum class Prop {
    Other,
    Uid,
    Summary,
    Description,
    Location,
    DtStart,
    DtEnd,
    Duration,
    RRule,
    RecurrenceId,
    Status,
    Sequence,
    Url,
    Organizer,
    Created,
    LastModified,
    ExDate,
    RDate,
    Attendee,
    Due,
    Completed,
    Priority,
    PercentComplete,
    Categories,
    RelatedTo,
    RepeatMode,
    SortOrder,
    Action,
    Trigger,
};

struct PropName
{
    QLatin1String name;
    Prop id;
};

// Looked up for every line of large feeds: a flat table with a length check
// first is cheaper than upper-casing each name for a hash.
const PropName kProps[] = {
    {QLatin1String("UID"), Prop::Uid},
    {QLatin1String("SUMMARY"), Prop::Summary},
    {QLatin1String("DESCRIPTION"), Prop::Description},
    {QLatin1String("LOCATION"), Prop::Location},
    {QLatin1String("DTSTART"), Prop::DtStart},
    {QLatin1String("DTEND"), Prop::DtEnd},
    {QLatin1String("DURATION"), Prop::Duration},
    {QLatin1String("RRULE"), Prop::RRule},
    {QLatin1String("RECURRENCE-ID"), Prop::RecurrenceId},
    {QLatin1String("STATUS"), Prop::Status},
    {QLatin1String("SEQUENCE"), Prop::Sequence},
    {QLatin1String("URL"), Prop::Url},
    {QLatin1String("ORGANIZER"), Prop::Organizer},
    {QLatin1String("CREATED"), Prop::Created},
    {QLatin1String("LAST-MODIFIED"), Prop::LastModified},
    {QLatin1String("EXDATE"), Prop::ExDate},
    {QLatin1String("RDATE"), Prop::RDate},
    {QLatin1String("ATTENDEE"), Prop::Attendee},
    {QLatin1String("DUE"), Prop::Due},
    {QLatin1String("COMPLETED"), Prop::Completed},
    {QLatin1String("PRIORITY"), Prop::Priority},
    {QLatin1String("PERCENT-COMPLETE"), Prop::PercentComplete},
    {QLatin1String("CATEGORIES"), Prop::Categories},
    {QLatin1String("RELATED-TO"), Prop::RelatedTo},
    {QLatin1String("X-QUILLMARTEN-REPEAT-MODE"), Prop::RepeatMode},
    {QLatin1String("X-QUILLMARTEN-SORT-ORDER"), Prop::SortOrder},
    {QLatin1String("ACTION"), Prop::Action},
    {QLatin1String("TRIGGER"), Prop::Trigger},
};

Prop propOf(const PropertyView &prop)
{
    if (prop.name.isEmpty())
        return Prop::Other;
    // The names by their first letter, so that a line is compared with a
    // few of them at most.
    struct ByLetter
    {
        QVarLengthArray<const PropName *, 4> names[26];
    };
    static const ByLetter byLetter = [] {
        ByLetter table;
        for (const PropName &p : kProps)
            table.names[p.name.front().toLatin1() - 'A'].append(&p);
        return table;
    }();
    const char16_t first = prop.name.front().unicode();
    const char16_t upper = first >= u'a' && first <= u'z' ? char16_t(first - 0x20) : first;
    if (upper >= u'A' && upper <= u'Z') {
        for (const PropName *p : byLetter.names[upper - u'A']) {
            if (prop.is(p->name))
                return p->id;
        }
        return Prop::Other;
    }
    // Case folding maps two other characters to ASCII letters (long s,
    // Kelvin sign): such a name is compared with every one.
    if (first >= 0x80) {
        for (const PropName &p : kProps) {
            if (prop.is(p.name))
                return p.id;
        }
    }
    return Prop::Other;
}

int readInt(QStringView value)
{
    bool ok = false;
    const int v = value.trimmed().toInt(&ok);
    return ok ? v : 0;
}

QString stripMailto(QStringView value)
{
    if (equalsUpper(value.left(7), QLatin1String("MAILTO:")))
        value = value.mid(7);
    return value.toString();
}

} // namespace

void Detail::collectDates(const PropertyView &prop, ZoneCache &zones, DateList *list)
{
    QStringList *out = &list->values;
    QSet<QString> *seen = &list->seen;
    const QStringView tzid = prop.param(QLatin1String("TZID"));
    const QStringView value = prop.value;
    qsizetype start = 0;
    while (start <= value.size()) {
        qsizetype comma = value.indexOf(QLatin1Char(','), start);
        if (comma < 0)
            comma = value.size();
        QStringView piece = value.mid(start, comma - start).trimmed();
        start = comma + 1;
        const qsizetype slash = piece.indexOf(QLatin1Char('/'));
        if (slash >= 0)
            piece = piece.left(slash); // a PERIOD counts by its start
        if (piece.isEmpty())
            continue;
        const DateValue d = readDateValue(piece, tzid, &zones);
        if (!d.dateTime.isValid())
            continue;
        QString text;
        if (d.isDate)
            text = TimeUtil::toIcalDate(d.dateTime.date());
        else if (d.isFloating)
            text = piece.toString();
        else
            text = TimeUtil::toIcalUtc(d.dateTime);
        if (!seen->contains(text)) {
            seen->insert(text);
            out->append(text);
            list->allDayValues.append(d.isDate || d.isFloating || d.isUtc ? text : piece.left(8).toString());
        }
    }
}

namespace {

QString jsonStringArray(const QStringList &values)
{
    if (values.isEmpty())
        return QString();
    // The values are digits, "T" and "Z" only: nothing to escape.
    QString json;
    json.reserve(values.size() * 20 + 2);
    json.append(QLatin1Char('['));
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            json.append(QLatin1Char(','));
        json.append(QLatin1Char('"')).append(values.at(i)).append(QLatin1Char('"'));
    }
    json.append(QLatin1Char(']'));
    return json;
}

// SUMMARY is optional, but a record's title is text, never null: the store's
// column refuses null, and every caller would have to remember that.
void untitledIsEmpty(QString &title)
{
    if (title.isNull())
        title = QLatin1String("");
}

DateValue dateOf(const PropertyView &prop, ZoneCache &zones)
{
    return readDateValue(prop.value, prop.param(QLatin1String("TZID")), &zones);
}

// Values that thousands of records repeat (attendees, organizers,
// PARTSTAT, STATUS ...), made once from what is written and then shared. A
// direct-mapped table: bounded, and one look a value.
template<typename Value, size_t kSlots>
class Recent
{
public:
    // `kind` tells what `make` gives, for tables that keep several.
    template<typename Make>
    Value get(int kind, QStringView written, Make make)
    {
        if (written.isEmpty() || written.size() > kLongest)
            return make(written); // null stays null: the store tells them apart
        Slot &slot = m_slots[(spread(written) + size_t(kind)) % kSlots];
        if (slot.kind != kind || slot.written != written) {
            slot.kind = kind;
            slot.written = written.toString();
            slot.made = make(written);
        }
        return slot.made;
    }

private:
    static constexpr qsizetype kLongest = 256;

    // A table index, cheaper than a hash fit for a QHash.
    static size_t spread(QStringView text)
    {
        size_t h = size_t(text.size());
        for (const QChar c : text)
            h = h * 31 + c.unicode();
        return h ^ (h >> 7);
    }

    struct Slot
    {
        int kind = -1;
        QString written;
        Value made;
    };
    std::array<Slot, kSlots> m_slots;
};

class SharedTexts : public Recent<QString, 256>
{
public:
    enum Kind { Address, Name, Word };
    QString lower(QStringView word)
    {
        return get(Word, word, [](QStringView w) { return w.toString().toLower(); });
    }
};

QString lowerRole(QStringView role, SharedTexts &texts)
{
    if (equalsUpper(role, QLatin1String("REQ-PARTICIPANT")))
        return AttendeeRole::Required;
    if (equalsUpper(role, QLatin1String("OPT-PARTICIPANT")))
        return AttendeeRole::Optional;
    return texts.lower(role);
}

Attendee readAttendee(const PropertyView &prop, SharedTexts &texts)
{
    Attendee a;
    a.email = texts.get(SharedTexts::Address, prop.value, stripMailto);
    a.name = texts.get(SharedTexts::Name, prop.param(QLatin1String("CN")), unescapeParam);
    const QStringView role = prop.param(QLatin1String("ROLE"));
    if (!role.isEmpty())
        a.role = lowerRole(role, texts);
    const QStringView partstat = prop.param(QLatin1String("PARTSTAT"));
    if (!partstat.isEmpty())
        a.status = texts.lower(partstat);
    a.type = texts.lower(prop.param(QLatin1String("CUTYPE")));
    a.rsvp = equalsUpper(prop.param(QLatin1String("RSVP")), QLatin1String("TRUE"));
    return a;
}

// The text of one item as the reader keeps it: its unfolded lines, each
// ended by CR LF. Lines that are so already in the text being read are
// copied from there in runs, once, into the record's own string.
class RawItem
{
public:
    explicit RawItem(QStringView text)
        : m_text(text)
    {
    }

    // The item's first line.
    template<typename Lines>
    void begin(const Lines &reader, QStringView line)
    {
        m_runs.clear();
        m_unfolded.resize(0);
        add(reader, line);
    }
    void end() { }

    template<typename Lines>
    void add(const Lines &reader, QStringView line)
    {
        if (reader.lineIsVerbatim()) {
            append(false, reader.lineStart(), reader.position());
            return;
        }
        const qsizetype from = m_unfolded.size();
        m_unfolded.append(line).append(kCrlf);
        append(true, from, m_unfolded.size());
    }

    // `header`, `definition`, the item's lines and `footer` in one string.
    QString wrapped(QLatin1String header, const QString &definition, QLatin1String footer)
    {
        qsizetype size = header.size() + definition.size() + footer.size();
        for (const Run &run : m_runs)
            size += run.end - run.from;
        QString out;
        out.reserve(size);
        out.append(header).append(definition);
        for (const Run &run : m_runs)
            out.append((run.unfolded ? QStringView(m_unfolded) : m_text).mid(run.from, run.end - run.from));
        out.append(footer);
        return out;
    }

private:
    struct Run
    {
        bool unfolded; // from m_unfolded rather than the text
        qsizetype from;
        qsizetype end;
    };

    void append(bool unfolded, qsizetype from, qsizetype end)
    {
        if (!m_runs.isEmpty() && m_runs.last().unfolded == unfolded && m_runs.last().end == from)
            m_runs.last().end = end;
        else
            m_runs.append({unfolded, from, end});
    }

    QStringView m_text;
    QVarLengthArray<Run, 16> m_runs;
    QString m_unfolded;
};

// The text of one item read from bytes: kept by the reader as it decodes.
class KeptItem
{
public:
    explicit KeptItem(ByteLineReader &reader, QLatin1String header)
        : m_reader(reader)
        , m_header(header)
    {
    }
    void begin(const ByteLineReader &, QStringView) { m_reader.startKeeping(m_header); }
    void add(const ByteLineReader &, QStringView) { }
    void end() { m_reader.stopKeeping(); }
    // `header` is the one given when the item began.
    QString wrapped(QLatin1String, const QString &definition, QLatin1String footer)
    {
        return m_reader.takeKept(definition, footer);
    }

private:
    ByteLineReader &m_reader;
    QLatin1String m_header;
};

// Walks the items of one kind ("BEGIN:VEVENT" ... "END:VEVENT"), tracking
// nested components, and hands each property to the builder:
//   reset(), property(prop, id), beginComponent(name), componentProperty(prop,
//   id), endComponent(), finish(raw).
template<typename Lines, typename Raw, typename Builder>
void walkItems(Lines &reader, Raw &raw, QLatin1String beginLine, QLatin1String endLine, Builder &builder)
{
    QStringView line;
    bool inside = false;
    int depth = 0;
    while (reader.next(&line)) {
        if (equalsUpper(line, beginLine)) {
            builder.reset();
            inside = true;
            depth = 0;
            raw.begin(reader, line);
            continue;
        }
        if (!inside)
            continue;
        raw.add(reader, line);
        if (equalsUpper(line, endLine)) {
            builder.finish(raw);
            raw.end();
            inside = false;
            continue;
        }
        const PropertyView prop = splitLine(line);
        if (prop.is(QLatin1String("BEGIN"))) {
            if (++depth == 1)
                builder.beginComponent(prop.value);
            continue;
        }
        if (prop.is(QLatin1String("END"))) {
            if (depth == 1)
                builder.endComponent();
            depth = std::max(0, depth - 1);
            continue;
        }
        if (depth == 0)
            builder.property(prop, propOf(prop));
        else if (depth == 1)
            builder.componentProperty(prop, propOf(prop));
    }
}


class EventBuilder
{
public:
    ZoneCache &zones() { return m_zones; }

    // The events read, an item left open at the end of the text dropped.
    QList<Event> take()
    {
        if (m_event)
            m_events.removeLast();
        m_event = nullptr;
        // A timed item moved out of an all-day series names its occurrence
        // by the date written too, not by that midnight's instant.
        if (!m_timedWrittenDays.isEmpty()) {
            QSet<QString> allDaySeries;
            for (const Event &e : std::as_const(m_events)) {
                if (e.recurrence_id.isEmpty() && e.is_all_day)
                    allDaySeries.insert(e.uid);
            }
            for (auto it = m_timedWrittenDays.cbegin(); it != m_timedWrittenDays.cend(); ++it) {
                Event &row = m_events[it.key()];
                if (allDaySeries.contains(row.master_event_uid))
                    row.recurrence_id = it.value();
            }
        }
        ExceptionKey::normalizeOverrides(m_events);
        return std::move(m_events);
    }

    void reset()
    {
        // Each record is made where the list keeps it.
        if (m_event)
            *m_event = Event();
        else
            m_event = &m_events.emplaceBack();
        m_sawEnd = false;
        m_duration = 0;
        m_exdates.clear();
        m_rdates.clear();
        m_writtenRecurrenceDay.clear();
    }

    void property(const PropertyView &prop, Prop id)
    {
        switch (id) {
        case Prop::Uid: m_event->uid = unescape(prop.value); break;
        case Prop::Summary: m_event->title = unescape(prop.value); break;
        case Prop::Description: m_event->description = unescape(prop.value); break;
        case Prop::Location: m_event->location = unescape(prop.value); break;
        case Prop::DtStart: {
            const QStringView tzid = prop.param(QLatin1String("TZID"));
            const DateValue d = readDateValue(prop.value, tzid, &m_zones);
            m_event->start_time = d.dateTime;
            if (d.isDate)
                m_event->is_all_day = true;
            else if (!tzid.isEmpty())
                m_event->timezone = m_zones.lookup(tzid).id;
            break;
        }
        case Prop::DtEnd: {
            const DateValue d = dateOf(prop, m_zones);
            // An unreadable DTEND counts as none, so that a DURATION can still apply.
            if (d.dateTime.isValid()) {
                m_event->end_time = d.dateTime;
                m_sawEnd = true;
            }
            break;
        }
        case Prop::Duration: m_duration = readDuration(prop.value, false).value_or(0); break;
        case Prop::RRule: m_event->recurrence_rule = prop.value.toString(); break;
        case Prop::RecurrenceId: {
            // A date stays a date and a floating value floating: the series
            // they name decides how they are read.
            const DateValue d = dateOf(prop, m_zones);
            if (!d.dateTime.isValid())
                m_event->recurrence_id = prop.value.toString();
            else if (d.isDate)
                m_event->recurrence_id = TimeUtil::toIcalDate(d.dateTime.date());
            else if (d.isFloating)
                m_event->recurrence_id = prop.value.trimmed().left(15).toString();
            else
                m_event->recurrence_id = TimeUtil::toIcalUtc(d.dateTime);
            // A midnight (or date) in whatever zone names that date.
            const QStringView written = prop.value.trimmed();
            const bool atMidnight = d.isDate || written.mid(8, 7) == QLatin1String("T000000");
            m_writtenRecurrenceDay = d.dateTime.isValid() && atMidnight ? written.left(8).toString() : QString();
            break;
        }
        case Prop::Status: m_event->status = m_texts.lower(prop.value); break;
        case Prop::Sequence: m_event->sequence = readInt(prop.value); break;
        case Prop::Url: m_event->event_url = prop.value.toString(); break;
        case Prop::Organizer:
            m_event->organizer_email = m_texts.get(SharedTexts::Address, prop.value, stripMailto);
            if (prop.hasParam(QLatin1String("CN")))
                m_event->organizer_name = m_texts.get(SharedTexts::Name, prop.param(QLatin1String("CN")), unescapeParam);
            break;
        case Prop::Created: m_event->created = dateOf(prop, m_zones).dateTime; break;
        case Prop::LastModified: m_event->last_modified = dateOf(prop, m_zones).dateTime; break;
        case Prop::ExDate: collectDates(prop, m_zones, &m_exdates); break;
        case Prop::RDate: collectDates(prop, m_zones, &m_rdates); break;
        case Prop::Attendee: {
            if (m_event->attendees.isEmpty())
                m_event->attendees.reserve(4); // most meetings have a few: one allocation for them
            // The same people come back line for line, in series and teams.
            const QStringView line(prop.name.data(), prop.value.data() + prop.value.size());
            m_event->attendees.append(
                m_attendees.get(0, line, [&](QStringView) { return readAttendee(prop, m_texts); }));
            break;
        }
        default: break;
        }
    }

    void beginComponent(QStringView name)
    {
        m_inAlarm = equalsUpper(name, QLatin1String("VALARM"));
        m_alarmAction.clear();
        m_alarmMinutes.reset();
    }

    void componentProperty(const PropertyView &prop, Prop id)
    {
        if (!m_inAlarm)
            return;
        if (id == Prop::Action) {
            m_alarmAction = m_texts.lower(prop.value.trimmed());
        } else if (id == Prop::Trigger) {
            // Absolute and end-related alarms stay in the text alone.
            m_alarmMinutes = reminderMinutes(prop);
        }
    }

    void endComponent()
    {
        if (m_inAlarm && m_alarmMinutes) {
            Reminder r;
            r.minutes_before = *m_alarmMinutes;
            if (!m_alarmAction.isEmpty())
                r.action = m_alarmAction;
            m_event->reminders.append(r);
        }
        m_inAlarm = false;
        m_alarmMinutes.reset();
    }

    template<typename Raw>
    void finish(Raw &raw)
    {
        if (m_event->uid.isEmpty()) {
            m_events.removeLast();
            m_event = nullptr;
            return;
        }
        untitledIsEmpty(m_event->title);
        if (!m_sawEnd && m_duration >= 1 && m_event->start_time.isValid())
            m_event->end_time = m_event->start_time.addSecs(m_duration);
        if (!m_event->recurrence_id.isEmpty() && m_event->master_event_uid.isEmpty())
            m_event->master_event_uid = m_event->uid;
        // An all-day item names occurrences by the dates written, whatever
        // zone a value was written in.
        if (m_event->is_all_day && !m_writtenRecurrenceDay.isEmpty())
            m_event->recurrence_id = m_writtenRecurrenceDay;
        else if (!m_writtenRecurrenceDay.isEmpty())
            m_timedWrittenDays.insert(m_events.size() - 1, m_writtenRecurrenceDay);
        m_event->exception_dates = jsonStringArray(m_exdates.forSeries(m_event->is_all_day));
        m_event->recurrence_dates = jsonStringArray(m_rdates.forSeries(m_event->is_all_day));
        // A zone only this text defines goes along with the event: the
        // expansion and the writers read its rules from there.
        QString definition;
        if (!m_event->timezone.isEmpty() && !m_event->is_all_day)
            definition = m_zones.lookup(m_event->timezone).definition;
        m_event->raw_icalendar = raw.wrapped(kCalendarHeader, definition, kCalendarFooter);
        m_event = nullptr;
    }

private:
    ZoneCache m_zones;
    QList<Event> m_events;
    Event *m_event = nullptr; // the last of m_events while an item is read
    bool m_sawEnd = false;
    qint64 m_duration = 0;
    DateList m_exdates;
    DateList m_rdates;
    QString m_writtenRecurrenceDay;
    QHash<qsizetype, QString> m_timedWrittenDays; // index in m_events -> date written
    SharedTexts m_texts;
    Recent<Attendee, 256> m_attendees;
    bool m_inAlarm = false;
    QString m_alarmAction;
    std::optional<int> m_alarmMinutes;
};

class TaskBuilder
{
public:
    QList<Task> tasks;

    ZoneCache &zones() { return m_zones; }

    void reset() { m_task = Task(); }

    void property(const PropertyView &prop, Prop id)
    {
        switch (id) {
        case Prop::Uid: m_task.uid = unescape(prop.value); break;
        case Prop::Summary: m_task.title = unescape(prop.value); break;
        case Prop::Description: m_task.description = unescape(prop.value); break;
        case Prop::DtStart: {
            const DateValue d = dateOf(prop, m_zones);
            m_task.start_date = d.dateTime;
            m_task.start_is_date_only = d.isDate;
            break;
        }
        case Prop::Due: {
            const DateValue d = dateOf(prop, m_zones);
            m_task.due_date = d.dateTime;
            m_task.due_is_date_only = d.isDate;
            break;
        }
        case Prop::Completed: m_task.completed_date = dateOf(prop, m_zones).dateTime; break;
        case Prop::Status: m_task.status = prop.value.toString().toLower(); break;
        case Prop::Priority: m_task.priority = readInt(prop.value); break;
        case Prop::PercentComplete: m_task.percent_complete = readInt(prop.value); break;
        case Prop::RRule: m_task.recurrence_rule = prop.value.toString(); break;
        case Prop::Categories: {
            // Several CATEGORIES lines add up; the writer replaces them all by
            // one line, so dropping earlier lines here would lose them.
            const QStringView value = prop.value;
            qsizetype start = 0;
            while (start <= value.size()) {
                qsizetype comma = indexOfUnescapedComma(value, start);
                if (comma < 0)
                    comma = value.size();
                const QStringView piece = value.mid(start, comma - start).trimmed();
                start = comma + 1;
                if (!piece.isEmpty())
                    m_task.categories.append(unescape(piece));
            }
            break;
        }
        case Prop::RelatedTo: {
            const QStringView type = prop.param(QLatin1String("RELTYPE"));
            if (type.isEmpty() || type.compare(QLatin1String("PARENT"), Qt::CaseInsensitive) == 0)
                m_task.parent_task_uid = unescape(prop.value);
            break;
        }
        case Prop::Sequence: m_task.sequence = readInt(prop.value); break;
        case Prop::Created: m_task.created = dateOf(prop, m_zones).dateTime; break;
        case Prop::LastModified: m_task.last_modified = dateOf(prop, m_zones).dateTime; break;
        case Prop::RepeatMode:
            if (prop.value.trimmed() == RepeatMode::FromCompletionDate)
                m_task.repeat_mode = RepeatMode::FromCompletionDate;
            break;
        case Prop::SortOrder: {
            bool ok = false;
            const int v = prop.value.trimmed().toInt(&ok);
            if (ok && v > 0)
                m_task.sort_order = v;
            break;
        }
        default: break;
        }
    }

    void beginComponent(QStringView) { }
    void componentProperty(const PropertyView &, Prop) { }
    void endComponent() { }

    template<typename Raw>
    void finish(Raw &raw)
    {
        if (m_task.uid.isEmpty())
            return;
        untitledIsEmpty(m_task.title);
        m_task.raw_icalendar = raw.wrapped(QLatin1String(), QString(), QLatin1String());
        tasks.append(std::move(m_task));
    }

private:
    ZoneCache m_zones;
    Task m_task;
};

} // namespace

QList<Event> parseEvents(const QString &text)
{
    EventBuilder builder;
    const QString clean = withoutControls(text);
    builder.zones().defineLater([clean] { return clean; });
    LineReader lines(clean);
    RawItem raw(clean);
    walkItems(lines, raw, QLatin1String("BEGIN:VEVENT"), QLatin1String("END:VEVENT"), builder);
    return builder.take();
}

QList<Event> parseEventBytes(QByteArrayView bytes, int *repaired)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        if (repaired)
            *repaired = 0;
        return parseEvents(decodeText(bytes).text);
    }
    EventBuilder builder;
    // Only a zone no database knows needs the text's VTIMEZONEs: rare
    // enough to decode the whole text for.
    builder.zones().defineLater([bytes] { return withoutControls(decodeText(bytes).text); });
    ByteLineReader lines(bytes);
    KeptItem raw(lines, kCalendarHeader);
    walkItems(lines, raw, QLatin1String("BEGIN:VEVENT"), QLatin1String("END:VEVENT"), builder);
    if (repaired)
        *repaired = lines.tally().repaired();
    return builder.take();
}

QList<Task> parseTasks(const QString &text)
{
    TaskBuilder builder;
    const QString clean = withoutControls(text);
    builder.zones().defineFrom(clean);
    LineReader lines(clean);
    RawItem raw(clean);
    walkItems(lines, raw, QLatin1String("BEGIN:VTODO"), QLatin1String("END:VTODO"), builder);
    return std::move(builder.tasks);
}

} // namespace ICalendar
