#pragma once

#include <QByteArray>

#include <optional>

namespace CalDavPropstat {

// The status of the first property a PROPPATCH multistatus answer refused
// (a propstat or response status outside 2xx); none when every property was
// set. A body that cannot be read counts as no refusal: the server's 207
// then stands.
std::optional<int> firstRefusedStatus(const QByteArray &body);

} // namespace CalDavPropstat
