#pragma once

#include <QString>

#include <optional>

// The key by which configuration sync recognises one calendar on every
// device: the lower-case hex SHA-256 (64 digits) of the UTF-8 text
// "<family>:<normalised URL>". It is stored and compared across devices, so
// the rules below must never change.
//
// Family, from the account type (trimmed, any letter case):
//   "caldav", "icloud", "zoho" -> "caldav" (presets of one protocol: the same
//                                 collection set up either way is one calendar)
//   "google", "microsoft", "quillmarten", "webcal" -> the type itself
//   anything else -> no key
//
// Normalised URL, from the calendar's url trimmed (an empty one has no key):
//   caldav, webcal: an absolute URL with a host becomes
//       "//" host [":" port] path ["?" query]
//     - the scheme is dropped (http, https, webcal and webcals reach the same
//       resource), as are user info (never part of a key) and the fragment;
//     - the host is lower case and in ACE form, without a trailing dot;
//     - the port is kept unless it is the scheme's default (80 for http and
//       webcal, 443 for https and webcals);
//     - the path has "." and ".." segments resolved and is fully
//       percent-encoded (upper-case hex, unreserved characters decoded);
//       an empty path is "/"; a caldav collection path ends in "/";
//     - the query is kept, fully encoded.
//     Anything else (a bare href, an unreadable URL) is used as it stands.
//   google: lower case (calendar ids are e-mail-like).
//   microsoft, quillmarten: as it stands (these ids are case-sensitive).
std::optional<QString> canonicalCalendarKey(const QString &accountType, const QString &calendarUrl);
