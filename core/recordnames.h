#pragma once

#include <QString>

// The fixed texts that records store in their text fields and that travel on
// the wire: one name per value, so that a typo is a compile error instead of a
// row no query finds. The texts themselves never change: they are in every
// database and on every server already.
//
// Each is a QString on static data, so copying one into a record, comparing
// against it or binding it to a statement costs no allocation.

// `sync_status` of the rows that sync to a server.
namespace SyncStatus {
// A local change that no server has confirmed yet.
inline const QString Pending = QStringLiteral("pending");
// Matches the server.
inline const QString Synced = QStringLiteral("synced");
} // namespace SyncStatus

// `Event::status`: the iCalendar STATUS of a VEVENT in lower case.
namespace EventStatus {
inline const QString Confirmed = QStringLiteral("confirmed");
inline const QString Tentative = QStringLiteral("tentative");
inline const QString Cancelled = QStringLiteral("cancelled");
} // namespace EventStatus

// `Task::status`: the iCalendar STATUS of a VTODO in lower case.
namespace TaskStatus {
inline const QString NeedsAction = QStringLiteral("needs-action");
inline const QString InProcess = QStringLiteral("in-process");
inline const QString Completed = QStringLiteral("completed");
inline const QString Cancelled = QStringLiteral("cancelled");
} // namespace TaskStatus

// `Task::repeat_mode`: where the next due date of a repeating task counts from.
namespace RepeatMode {
inline const QString FromDueDate = QStringLiteral("fromDueDate");
inline const QString FromCompletionDate = QStringLiteral("fromCompletionDate");
} // namespace RepeatMode

// `Attendee::status`: the participation status (PARTSTAT) in lower case.
namespace ParticipationStatus {
inline const QString NeedsAction = QStringLiteral("needs-action");
inline const QString Accepted = QStringLiteral("accepted");
inline const QString Declined = QStringLiteral("declined");
inline const QString Tentative = QStringLiteral("tentative");
inline const QString Delegated = QStringLiteral("delegated");
} // namespace ParticipationStatus

// `Attendee::role`: the participation role (ROLE) in lower case.
namespace AttendeeRole {
inline const QString Required = QStringLiteral("required");
inline const QString Optional = QStringLiteral("optional");
inline const QString Chair = QStringLiteral("chair");
} // namespace AttendeeRole

// `Reminder::action`: the iCalendar alarm ACTION in lower case.
namespace ReminderAction {
inline const QString Display = QStringLiteral("display");
} // namespace ReminderAction

// `Account::type`: who serves an account's calendars.
namespace AccountType {
inline const QString CalDav = QStringLiteral("caldav");
// CalDAV presets: the same protocol at a known server.
inline const QString ICloud = QStringLiteral("icloud");
inline const QString Zoho = QStringLiteral("zoho");
inline const QString Google = QStringLiteral("google");
inline const QString Microsoft = QStringLiteral("microsoft");
// The maker's own calendar service.
inline const QString Quillmarten = QStringLiteral("quillmarten");
// A read-only subscription to a published feed.
inline const QString Webcal = QStringLiteral("webcal");
} // namespace AccountType

// `FilterRule::type`: what a filter rule matches.
namespace FilterType {
inline const QString Pattern = QStringLiteral("pattern");
inline const QString Time = QStringLiteral("time");
inline const QString Specific = QStringLiteral("specific");
inline const QString AllDay = QStringLiteral("all_day");
} // namespace FilterType

// `FilterRule::action`: what happens to the events a rule matches.
namespace FilterAction {
inline const QString Hide = QStringLiteral("hide");
inline const QString Dim = QStringLiteral("dim");
} // namespace FilterAction
