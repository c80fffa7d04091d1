#pragma once

#include "event.h"
#include "task.h"

#include <QJsonObject>
#include <QString>

// Records as flat JSON objects with one text form per field, so that expected
// values can be written by hand or by another program and compared key by key.
// Date-times are UTC "yyyyMMddTHHmmssZ" (all-day values "yyyyMMdd"), a missing
// optional is null.
namespace IcalFields {

QJsonObject eventFields(const Event &event);
QJsonObject taskFields(const Task &task);

// The keys of `expected` whose values differ in `actual`, as readable lines.
QStringList differences(const QJsonObject &expected, const QJsonObject &actual);

} // namespace IcalFields
