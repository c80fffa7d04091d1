#pragma once

#include <QString>

#include <optional>

namespace TolmUpdate {

// Versions are dotted non-negative numbers ("1.3.0", "2", "1.10"); missing
// trailing components count as zero, so "1.3" equals "1.3.0".
bool isValidVersion(const QString &version);

// Negative, zero or positive as a is older than, equal to or newer than b,
// comparing component by component as numbers ("1.10.0" is newer than "1.9.3").
// Empty when either is not a valid version.
std::optional<int> compareVersions(const QString &a, const QString &b);

} // namespace TolmUpdate
