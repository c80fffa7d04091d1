#pragma once

#include <QLatin1StringView>

// Namespace URIs of the CalDAV vocabulary. The parsers match these, never
// prefixes; CalendarServer and Apple iCal are the published extension
// namespaces for getctag and calendar-color.
namespace CalDavNs {
inline constexpr QLatin1StringView dav("DAV:");
inline constexpr QLatin1StringView caldav("urn:ietf:params:xml:ns:caldav");
inline constexpr QLatin1StringView calendarServer("http://calendarserver.org/ns/");
inline constexpr QLatin1StringView appleIcal("http://apple.com/ns/ical/");
} // namespace CalDavNs
