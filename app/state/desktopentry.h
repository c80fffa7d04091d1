#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The little of the freedesktop.org desktop entry format that start at login
// and the file association need.
namespace DesktopEntry {

// The value of an Exec key that runs `arguments` (the program first), each
// quoted and escaped as the format asks. Field codes such as %f are not
// arguments: append them to the result.
QString execValue(const QStringList &arguments);

// The value of `key` in the [Desktop Entry] group of `text`, unescaped; nothing
// when the key is absent.
std::optional<QString> value(const QString &text, const QString &key);

} // namespace DesktopEntry
