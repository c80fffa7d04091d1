#pragma once

#include <QString>

// Preparing server-written event descriptions for display as rich text.

// Strips the boilerplate of a Microsoft Teams invitation (heading, rules of
// underscores, help line, organizer footer) and turns its join line into one
// link; with a non-empty `joinUrl` (the event's own conference link, shown
// elsewhere) the join line is dropped. Text without "Microsoft Teams" comes
// back unchanged.
QString cleanMeetingDescription(const QString &description, const QString &joinUrl);

// Turns bare http(s) addresses into anchors, styled with `linkColor` ("#rrggbb")
// when it is not empty. Addresses already inside a link are left alone;
// trailing sentence punctuation stays outside the anchor.
QString linkifyUrls(const QString &text, const QString &linkColor);

// The description as the event card shows it, as rich text: cleaned of the
// invitation's boilerplate, with its http(s) addresses as links in
// `linkColor`. Whether it is HTML is decided on the text as it arrives: plain
// text is escaped and keeps its line feeds, and only then gets its join link.
QString meetingDescriptionHtml(const QString &description, const QString &joinUrl, const QString &linkColor);

// True for an address with the http or https scheme: the only ones made links.
bool isWebUrl(const QString &url);

// True when the text holds an html, body, div, p, br, table, style, meta or a
// tag (any letter case), so that it is shown as rich text as it stands.
bool looksLikeHtml(const QString &text);
