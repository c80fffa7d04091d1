#include "taskrepository.h"

#include "calendarfilter.h"
#include "changecoalescer.h"
#include "database.h"
#include "event.h"
#include "exceptionkey.h"
#include "icalendar.h"
#include "recordnames.h"
#include "recurrence.h"
#include "storesql.h"
#include "timeutil.h"
#include "timewindow.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <vector>

using namespace StoreSql;

namespace {

const QLatin1String
    kColumns("id, calendar_id, uid, etag, href, title, description, status, priority, percent_complete, "
             "due_date, start_date, completed_date, categories, parent_task_uid, sort_order, color, "
             "recurrence_rule, sequence, raw_icalendar, created, last_modified, sync_status, deleted_at, "
             "due_is_date_only, start_is_date_only, repeat_mode");
constexpr int kDueColumn = 10;
constexpr int kStartColumn = 11;

QStringList parseCategories(const QString &text)
{
    QStringList categories;
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isArray())
        return categories;
    const QJsonArray array = doc.array();
    for (const QJsonValue &value : array)
        categories.append(value.toString());
    return categories;
}

QString serializeCategories(const QStringList &categories)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(categories)).toJson(QJsonDocument::Compact));
}

Task rowToTask(const QSqlQuery &q)
{
    Task t;
    t.id = readText(q.value(0));
    t.calendar_id = readText(q.value(1));
    t.uid = readText(q.value(2));
    t.etag = readText(q.value(3));
    t.href = readText(q.value(4));
    t.title = readText(q.value(5));
    t.description = readText(q.value(6));
    t.status = readText(q.value(7));
    t.priority = q.value(8).toInt();
    t.percent_complete = q.value(9).toInt();
    t.due_date = readOptionalTime(q.value(kDueColumn));
    t.start_date = readOptionalTime(q.value(kStartColumn));
    t.completed_date = readOptionalTime(q.value(12));
    t.categories = parseCategories(q.value(13).toString());
    t.parent_task_uid = readText(q.value(14));
    t.sort_order = q.value(15).toInt();
    t.color = readText(q.value(16));
    t.recurrence_rule = readText(q.value(17));
    t.sequence = q.value(18).toInt();
    t.raw_icalendar = readText(q.value(19));
    t.created = readTime(q.value(20));
    t.last_modified = readTime(q.value(21));
    t.sync_status = readText(q.value(22));
    t.deleted_at = readOptionalTime(q.value(23));
    t.due_is_date_only = q.value(24).toInt() != 0;
    t.start_is_date_only = q.value(25).toInt() != 0;
    const QString mode = readText(q.value(26));
    t.repeat_mode = mode.isEmpty() ? RepeatMode::FromDueDate : mode;
    return t;
}

// A due or start with a time of day is stored as an instant, one without
// as the date it names.
QVariant dateValue(const std::optional<QDateTime> &value, bool dateOnly)
{
    return time(value && !dateOnly ? std::optional(TimeUtil::zoned(*value)) : value);
}

// The columns from calendar_id to raw_icalendar, shared by insert and update.
QVariantList contentValues(const Task &t)
{
    return {text(t.calendar_id),
            text(t.uid),
            text(t.etag),
            text(t.href),
            text(t.title),
            text(t.description),
            text(t.status),
            t.priority,
            t.percent_complete,
            dateValue(t.due_date, t.due_is_date_only),
            dateValue(t.start_date, t.start_is_date_only),
            time(t.completed_date),
            serializeCategories(t.categories),
            text(t.parent_task_uid),
            t.sort_order,
            text(t.color),
            text(t.recurrence_rule),
            t.sequence,
            text(t.raw_icalendar)};
}

QString orDefault(const QString &value, const QString &fallback)
{
    return value.isEmpty() ? fallback : value;
}

bool inWindow(const TimeWindow &window, const std::optional<QDateTime> &value, bool dateOnly, const QString &stored)
{
    if (!value)
        return false;
    return dateOnly ? window.containsDay(TimeUtil::storedDate(stored)) : window.contains(*value);
}

// The first date of a repeating task's series, kept in its stored text as
// the wall clock (or date) of the zone its dates repeat in.
const QLatin1String kSeriesStartProperty("X-QUILLMARTEN-SERIES-START");
const QString kWallClockText = QStringLiteral("yyyyMMdd'T'HHmmss");
const QString kDateText = QStringLiteral("yyyyMMdd");
// How many occurrences of a series counted from the completion are done:
// each completion starts the rule anew, so only this count lets COUNT end it.
const QLatin1String kSeriesDoneProperty("X-QUILLMARTEN-SERIES-DONE");

// The series' first date in the representation of `base`; invalid when the
// text keeps none.
QDateTime seriesStart(const Task &task, const QDateTime &base, bool dateOnly)
{
    const QString kept = ICalendar::taskProperty(task.raw_icalendar, kSeriesStartProperty);
    if (kept.isEmpty())
        return {};
    const QDateTime wall = dateOnly ? QDateTime(QDate::fromString(kept, kDateText), QTime(0, 0))
                                    : QDateTime::fromString(kept, kWallClockText);
    if (!wall.isValid())
        return {};
    QDateTime first = base;
    first.setDate(wall.date());
    first.setTime(dateOnly ? base.time() : wall.time());
    return first;
}

// Midnight of the value's own date in its own representation.
QDateTime startOfDay(const QDateTime &dt)
{
    QDateTime midnight = dt;
    midnight.setTime(QTime(0, 0));
    return midnight;
}

// The zone the task's timed dates live in. The row keeps only their offset;
// its stored text names the zone (DUE;TZID=...), and a floating value there
// means the system zone. Invalid when neither says one.
QTimeZone storedTaskZone(const Task &task)
{
    const QList<Task> parsed = ICalendar::parseTasks(task.raw_icalendar);
    if (parsed.isEmpty())
        return QTimeZone();
    const Task &stored = parsed.first();
    const std::optional<QDateTime> &value = stored.due_date ? stored.due_date : stored.start_date;
    if (!value || (stored.due_date ? stored.due_is_date_only : stored.start_is_date_only))
        return QTimeZone();
    if (value->timeSpec() == Qt::TimeZone)
        return value->timeZone();
    return value->timeSpec() == Qt::LocalTime ? QTimeZone::systemTimeZone() : QTimeZone();
}

// A timed value moved into `zone` (same instant); date-only values and an
// invalid zone leave it as it is.
void moveToZone(std::optional<QDateTime> &value, bool dateOnly, const QTimeZone &zone)
{
    if (value && !dateOnly && zone.isValid() && value->isValid())
        value = value->toTimeZone(zone);
}

// By the instant each is due (stored with different offsets, their texts do
// not sort so), a date-only due at the start of its day here (its 00:00 UTC
// is the evening before west of UTC), then by manual position; tasks without
// a due date first or last.
void sortByDue(QList<Task> &tasks, bool undatedFirst)
{
    // Each key once: a day's start asks the system zone.
    struct Keyed
    {
        qint64 dueMs;
        Task task;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(tasks.size()));
    for (Task &t : tasks) {
        const qint64 ms = t.due_date ? TimeUtil::placedStart(*t.due_date, t.due_is_date_only).toMSecsSinceEpoch() : 0;
        keyed.push_back({ms, std::move(t)});
    }
    std::stable_sort(keyed.begin(), keyed.end(), [undatedFirst](const Keyed &a, const Keyed &b) {
        if (a.task.due_date.has_value() != b.task.due_date.has_value())
            return a.task.due_date.has_value() != undatedFirst;
        if (a.dueMs != b.dueMs)
            return a.dueMs < b.dueMs;
        return a.task.sort_order < b.task.sort_order;
    });
    for (qsizetype i = 0; i < tasks.size(); ++i)
        tasks[i] = std::move(keyed[size_t(i)].task);
}

} // namespace

TaskRepository::TaskRepository(Database *database, QObject *parent)
    : QObject(parent)
    , m_database(database)
    , m_changes(new ChangeCoalescer(this))
{
    connect(m_changes, &ChangeCoalescer::fired, this, &TaskRepository::tasksChanged);
}

QList<Task> TaskRepository::getByCalendar(const QString &calendarId) const
{
    QList<Task> tasks = selectRows(m_database->database(),
                                   QStringLiteral("SELECT %1 FROM tasks WHERE calendar_id = ? AND deleted_at IS "
                                                  "NULL ORDER BY due_date IS NULL, due_date, sort_order")
                                       .arg(kColumns),
                                   {calendarId}, rowToTask);
    sortByDue(tasks, false);
    return tasks;
}

std::optional<Task> TaskRepository::getById(const QString &id) const
{
    return selectFirst(m_database->database(), QStringLiteral("SELECT %1 FROM tasks WHERE id = ?").arg(kColumns), {id},
                       rowToTask);
}

std::optional<Task> TaskRepository::getByUid(const QString &uid, const QString &calendarId) const
{
    return selectFirst(m_database->database(),
                       QStringLiteral("SELECT %1 FROM tasks WHERE uid = ? AND calendar_id = ?").arg(kColumns),
                       {uid, calendarId}, rowToTask);
}

QList<Task> TaskRepository::getInRange(const QDateTime &from, const QDateTime &to, const QStringList &calendarIds) const
{
    const TimeWindow window(from, to);
    if (!window.isValid())
        return {};
    const CalendarFilter calendars(calendarIds);
    const QString lower = window.lowerBoundText();
    const QString upper = window.upperBoundText();
    const QString sql = QStringLiteral("SELECT %1 FROM tasks WHERE deleted_at IS NULL AND ((due_date IS NOT NULL "
                                       "AND due_date >= ? AND due_date < ?) OR (start_date IS NOT NULL AND "
                                       "start_date >= ? AND start_date < ?))")
                            .arg(kColumns)
        + calendars.sqlClause() + QStringLiteral(" ORDER BY due_date, sort_order");

    QList<Task> tasks;
    QSqlQuery query(m_database->database());
    query.setForwardOnly(true);
    if (!run(query, sql, QVariantList{lower, upper, lower, upper} + calendars.values()))
        return tasks;
    while (query.next()) {
        Task t = rowToTask(query);
        if (!calendars.accepts(t.calendar_id))
            continue;
        if (inWindow(window, t.due_date, t.due_is_date_only, query.value(kDueColumn).toString())
            || inWindow(window, t.start_date, t.start_is_date_only, query.value(kStartColumn).toString()))
            tasks.append(std::move(t));
    }
    // Tasks found by their start alone come first, as SQLite sorts NULL first.
    sortByDue(tasks, true);
    return tasks;
}

QList<Task> TaskRepository::getPending(const QString &calendarId) const
{
    static const QString sql =
        QStringLiteral("SELECT %1 FROM tasks WHERE calendar_id = ? AND sync_status = '%2' ORDER BY last_modified")
            .arg(kColumns, SyncStatus::Pending);
    return selectRows(m_database->database(), sql, {calendarId}, rowToTask);
}

bool TaskRepository::insert(const Task &t)
{
    QVariantList values{text(t.id)};
    values += contentValues(t);
    values += {time(t.created),
               time(t.last_modified),
               orDefault(t.sync_status, SyncStatus::Synced),
               time(t.deleted_at),
               flag(t.due_is_date_only),
               flag(t.start_is_date_only),
               orDefault(t.repeat_mode, RepeatMode::FromDueDate)};
    if (!write(m_database->database(), "TaskRepository::insert",
               QStringLiteral("INSERT INTO tasks (%1) VALUES (%2)").arg(kColumns, placeholders(27)), values))
        return false;
    m_changes->schedule(t.calendar_id);
    return true;
}

bool TaskRepository::update(const Task &t)
{
    QVariantList values = contentValues(t);
    values += {nowText(),
               orDefault(t.sync_status, SyncStatus::Pending),
               time(t.deleted_at),
               flag(t.due_is_date_only),
               flag(t.start_is_date_only),
               orDefault(t.repeat_mode, RepeatMode::FromDueDate),
               text(t.id)};
    QSqlQuery query(m_database->database());
    if (!run(query,
             QStringLiteral("UPDATE tasks SET calendar_id = ?, uid = ?, etag = ?, href = ?, title = ?, "
                            "description = ?, status = ?, priority = ?, percent_complete = ?, due_date = ?, "
                            "start_date = ?, completed_date = ?, categories = ?, parent_task_uid = ?, "
                            "sort_order = ?, color = ?, recurrence_rule = ?, sequence = ?, raw_icalendar = ?, "
                            "last_modified = ?, sync_status = ?, deleted_at = ?, due_is_date_only = ?, "
                            "start_is_date_only = ?, repeat_mode = ? WHERE id = ?"),
             values)) {
        logFailure("TaskRepository::update", query);
        return false;
    }
    if (!matchedRow(query, "TaskRepository::update", t.id))
        return false;
    m_changes->schedule(t.calendar_id);
    return true;
}

bool TaskRepository::remove(const QString &id)
{
    QSqlDatabase &db = m_database->database();
    const QString calendarId = calendarIdOf(db, QLatin1String("tasks"), id);
    const QString now = nowText();
    static const QString sql =
        QStringLiteral("UPDATE tasks SET deleted_at = ?, sync_status = '%1', last_modified = ? WHERE id = ?")
            .arg(SyncStatus::Pending);
    if (!write(db, "TaskRepository::remove", sql, {now, now, id}))
        return false;
    m_changes->schedule(calendarId);
    return true;
}

bool TaskRepository::hardDelete(const QString &id)
{
    QSqlDatabase &db = m_database->database();
    const QString calendarId = calendarIdOf(db, QLatin1String("tasks"), id);
    if (!write(db, "TaskRepository::hardDelete", QStringLiteral("DELETE FROM tasks WHERE id = ?"), {id}))
        return false;
    m_changes->schedule(calendarId);
    return true;
}

bool TaskRepository::markSynced(const QString &id, const QString &href, const QString &etag)
{
    QSqlQuery query(m_database->database());
    static const QString sql =
        QStringLiteral("UPDATE tasks SET href = ?, etag = ?, sync_status = '%1' WHERE id = ?").arg(SyncStatus::Synced);
    return run(query, sql, {text(href), text(etag), id});
}

bool TaskRepository::setCompleted(const QString &id, bool completed)
{
    std::optional<Task> found = getById(id);
    if (!found)
        return false;
    Task task = *found;
    // In their own zone, so that a repeating task keeps its wall clock across
    // DST and its text keeps naming the zone.
    const QTimeZone zone = storedTaskZone(task);
    moveToZone(task.due_date, task.due_is_date_only, zone);
    moveToZone(task.start_date, task.start_is_date_only, zone);
    QString seriesFirst;
    QString seriesDone;
    const bool advanced = completed && task.status != TaskStatus::Completed && !task.recurrence_rule.isEmpty()
        && advanceRepeating(task, seriesFirst, seriesDone);
    if (advanced || !completed) {
        task.status = TaskStatus::NeedsAction;
        task.completed_date.reset();
        task.percent_complete = 0;
    } else {
        task.status = TaskStatus::Completed;
        task.completed_date = QDateTime::currentDateTimeUtc();
        task.percent_complete = 100;
    }
    task.sequence += 1;
    task.sync_status = SyncStatus::Pending;
    task.raw_icalendar = ICalendar::serializeTask(task);
    if (!seriesFirst.isEmpty())
        task.raw_icalendar = ICalendar::withTaskProperty(task.raw_icalendar, kSeriesStartProperty, seriesFirst);
    if (!seriesDone.isEmpty())
        task.raw_icalendar = ICalendar::withTaskProperty(task.raw_icalendar, kSeriesDoneProperty, seriesDone);
    return update(task);
}

QString TaskRepository::withSeriesCountersOf(const QString &text, const QString &from)
{
    QString out = text;
    for (const QLatin1String name : {kSeriesStartProperty, kSeriesDoneProperty})
        out = ICalendar::withTaskProperty(out, name, ICalendar::taskProperty(from, name));
    return out;
}

// Moves the task's date to the next occurrence of its rule; false when the
// series is over or there is nothing to count from.
bool TaskRepository::advanceRepeating(Task &task, QString &seriesFirst, QString &done) const
{
    const bool fromCompletion = task.repeat_mode == RepeatMode::FromCompletionDate;
    QDateTime base;
    if (fromCompletion)
        base = QDateTime::currentDateTime();
    else if (task.due_date)
        base = *task.due_date;
    else if (task.start_date)
        base = *task.start_date;
    if (!base.isValid())
        return false;
    // A timed value held in UTC or at a fixed offset (pulled so, or read
    // back so) names no zone: the task repeats at its local wall clock,
    // across DST. A value in a named zone repeats in that zone.
    const bool dateOnly = task.due_date ? task.due_is_date_only : task.start_is_date_only;
    if (!dateOnly && (base.timeSpec() == Qt::UTC || base.timeSpec() == Qt::OffsetFromUTC))
        base = base.toLocalTime();

    // Counted from the series' first date, so that COUNT ends it and a date
    // a DST gap moved does not move the ones after it; a completion date
    // starts a series of its own.
    // A date-only task repeats on dates: a UTC end names one.
    const RecurrenceRule rule = Recurrence::parseRule(ExceptionKey::datedRule(task));
    if (fromCompletion && rule.count > 0) {
        const int doneBefore = qMax(0, ICalendar::taskProperty(task.raw_icalendar, kSeriesDoneProperty).toInt());
        if (doneBefore + 1 >= rule.count)
            return false;
        done = QString::number(doneBefore + 1);
    }
    const QDateTime windowEnd = base.addYears(5);
    QDateTime first = fromCompletion ? QDateTime() : seriesStart(task, base, dateOnly);
    QList<QDateTime> starts;
    if (first.isValid())
        starts = Recurrence::occurrenceStarts(rule, first, windowEnd);
    if (!starts.contains(base)) {
        // Not on the remembered series (its rule or date changed since, or
        // none is kept): a series starts here.
        first = base;
        starts = Recurrence::occurrenceStarts(rule, first, windowEnd);
    }
    const auto after = std::find_if(starts.cbegin(), starts.cend(), [&](const QDateTime &s) { return s > base; });
    // The series is over (COUNT, UNTIL, or nothing within five years).
    if (after == starts.cend())
        return false;
    const QDateTime next = *after;

    if (task.due_date) {
        task.due_date = task.due_is_date_only ? startOfDay(next) : next;
    } else if (task.start_date) {
        task.start_date = task.start_is_date_only ? startOfDay(next) : next;
    }
    // A task with neither date keeps having none: it opens again.
    if (!fromCompletion)
        seriesFirst = first.toString(dateOnly ? kDateText : kWallClockText);
    return true;
}

void TaskRepository::scheduleChanged(const QString &calendarId)
{
    m_changes->schedule(calendarId);
}
